#pragma once

#include <QRectF>
#include <QSizeF>

namespace glintbox {

// Where the placed elements of the main window go, in twips from the top left
// of the client area (the toolbar takes its top 360 twips), for a window of
// outer size width x height. One pure rule for both arrangements.
struct LayoutGeometry {
    QRectF Drive1;
    QRectF chkAutoMode;
    QRectF Dir1;
    QRectF File1;
    QRectF viewer; // Text1, Picture2, WebBrowser1, picLaunchWindow, ActiveMovie1
    QRectF VScroll1;
    QRectF HScroll1;
    QRectF Picture1;
    QRectF StatusBar;
    QRectF InputFileProperties;
};

constexpr double MinimumWindowWidth = 8000;
constexpr double MinimumWindowHeight = 6000;

// Designed sizes of the elements that the resize does not size.
constexpr double ScrollBarThickness = 255;
constexpr double StatusBarHeight = 300;
constexpr double CornerSquareSize = 255;

// The designed window around its client area, against which the rules'
// outer-size constants were measured: the client area starts with the
// toolbar's 360 twips; border, caption and menu bar add the rest.
constexpr double DesignedToolbarHeight = 360;
constexpr double DesignedNonClientWidth = 110;
constexpr double DesignedNonClientHeight = 680;

// The outer size of the designed window whose client area below the toolbar
// has this size. Laying out for it makes the views fill a real client area
// whatever the real frame, menu bar and toolbar measure.
QSizeF designedOuterSize(const QSizeF &clientBelowToolbar);

// The window's outer size once the minimum of 8000 x 6000 twips is applied.
QSizeF withMinimumSize(const QSizeF &outer);

// A list that runs into an element below it (the viewer, the status line),
// ended the designed gap above that element. The designed lists showed whole
// lines only and so stopped short of what lay below their nominal bottom.
QRectF keptAbove(const QRectF &list, const QRectF &below);

enum class Arrangement { Top, Side };

// "Top" exactly (case-sensitive) is the top arrangement, anything else the side.
Arrangement arrangementOf(const QString &controlsSetting);

LayoutGeometry computeLayout(Arrangement arrangement, double width, double height);

// The layout as the window shows it: the lists end above the viewer and the
// status line, and nothing reaches past the client area, whose edges the
// designed constants may pass by a few twips.
LayoutGeometry placedLayout(Arrangement arrangement, double width, double height);

} // namespace glintbox
