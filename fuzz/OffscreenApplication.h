#pragma once

#include <QFontDatabase>
#include <QGuiApplication>

namespace glintbox {

// The Qt application the readers need for fonts and pictures, offscreen. It is
// never destroyed: tearing Qt down in exit handlers crashes after the fuzzing
// ends. The font list is loaded here because fontconfig keeps memory it never
// frees when the list first loads, which the leak checker would otherwise
// blame on the first input that draws text.
inline void startOffscreenApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    QFontDatabase::families();
}

} // namespace glintbox
