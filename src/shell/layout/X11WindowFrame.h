#pragma once

#include "WindowFrame.h"

namespace glintbox {

// The frame around a window on an X display, as the window manager tells it
// in the window's _NET_FRAME_EXTENTS; null when the program does not run on X.
std::unique_ptr<WindowFrame> x11WindowFrame(QWidget &window);

} // namespace glintbox
