#pragma once

#include <QtGlobal>

namespace glintbox {

// The four ways the viewer shows a file. The numbers are those shown to the
// user and compared by the tools.
enum class ViewMode : qint16 { Text = 0, Image = 1, Movie = 2, Launcher = 3 };

} // namespace glintbox
