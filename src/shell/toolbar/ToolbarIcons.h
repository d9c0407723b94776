#pragma once

#include <QIcon>

class QPalette;

namespace glintbox {

// Our own toolbar picture `name` (":/icons/toolbar/<name>.svg"), drawn with
// the palette's text colour for its lines and its base colour for paper, so
// that it reads on light and dark desktops alike.
QIcon toolbarIcon(const QString &name, const QPalette &palette);

} // namespace glintbox
