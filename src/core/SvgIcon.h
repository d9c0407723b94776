#pragma once

#include <QByteArray>
#include <QIcon>

namespace glintbox {

// An icon drawn from SVG data ahead at the sizes toolbars and task bars ask for
// (16 and 24 pixels, also at a device pixel ratio of 2), so that each gets a
// picture drawn for its size rather than a scaled one.
// Rendered here rather than through the SVG icon engine plugin, so that an
// icon never depends on a plugin being installed.
QIcon renderSvgIcon(const QByteArray &svg);

} // namespace glintbox
