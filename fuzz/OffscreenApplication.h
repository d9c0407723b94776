#pragma once

// Included by the fuzz targets whose readers draw: it gives them the Qt
// application they need for fonts and pictures, offscreen, before the first
// input, and the input as a QByteArray.

#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// The application is never destroyed: tearing Qt down in exit handlers crashes
// after the fuzzing ends. The font list is loaded here because fontconfig
// keeps memory it never frees when the list first loads, which the leak
// checker would otherwise blame on the first input that draws text.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    QFontDatabase::families();
    return 0;
}

namespace glintbox {

inline QByteArray fuzzInput(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace glintbox
