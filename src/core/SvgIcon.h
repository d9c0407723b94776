#pragma once

#include <QByteArray>
#include <QIcon>

namespace glintbox {

// An icon drawn from SVG data at each size it is asked for, when first asked
// for, and kept: each size gets a picture drawn for it rather than a scaled
// one, and a window that shows a few icons small does not pay for drawing all
// of them at every size. It offers the sizes toolbars and task bars ask for
// (16 to 64 pixels) and draws a larger one no larger than 64 pixels, as a set
// of pictures drawn ahead would. Drawn here rather than through the SVG icon
// engine plugin, so that an icon never depends on a plugin being installed.
QIcon renderSvgIcon(const QByteArray &svg);

} // namespace glintbox
