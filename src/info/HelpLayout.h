#pragma once

#include <QRectF>
#include <QSizeF>

namespace glintbox {

// Where the Help window's parts go, in twips, for a window of outer size
// width x height: the tab strip from the top left of the client area, the
// four frames (one place, stacked) and, inside its frame, each content view.
struct HelpLayout {
    QRectF TabStrip1;
    QRectF frame;
    QRectF content;
};

constexpr double HelpMinimumWidth = 7000;
constexpr double HelpMinimumHeight = 4000;

// The designed window around its client area, which the tab strip fills:
// border on both sides, caption and border above and below.
constexpr double HelpNonClientWidth = 120;
constexpr double HelpNonClientHeight = 420;

// The outer size once the minimum of 7000 x 4000 twips is applied.
QSizeF withHelpMinimumSize(const QSizeF &outer);

HelpLayout computeHelpLayout(double width, double height);

} // namespace glintbox
