#pragma once

// Included by the fuzz targets whose readers draw: it gives them the Qt
// application they need for fonts and pictures, offscreen, before the first
// input, and the input as a QByteArray.

#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// The application is never destroyed: tearing Qt down in exit handlers crashes
// after the fuzzing ends. What fontconfig keeps of the fonts it matches is
// never freed either; scripts/leak-suppressions names it.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    return 0;
}

namespace glintbox {

inline QByteArray fuzzInput(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace glintbox
