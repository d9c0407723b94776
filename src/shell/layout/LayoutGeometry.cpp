#include "LayoutGeometry.h"

#include <QString>

#include <algorithm>

namespace glintbox {

namespace {

// Designed places of the fixed elements.
const QRectF Drive1Designed(0, 360, 2400, 315);
const QRectF chkAutoModeDesigned(0, 1440, 2400, 375);
constexpr double Label1Height = 255;
constexpr double Picture4Height = 255;

} // namespace

QSizeF designedOuterSize(const QSizeF &clientBelowToolbar)
{
    return {clientBelowToolbar.width() + DesignedNonClientWidth,
            clientBelowToolbar.height() + DesignedToolbarHeight + DesignedNonClientHeight};
}

QSizeF withMinimumSize(const QSizeF &outer)
{
    return {std::max(outer.width(), MinimumWindowWidth),
            std::max(outer.height(), MinimumWindowHeight)};
}

QRectF keptAbove(const QRectF &list, const QRectF &below)
{
    constexpr double gap = 50;
    const bool sideBySide = list.right() <= below.left() || below.right() <= list.left();
    if (sideBySide || list.top() >= below.top() || list.bottom() <= below.top() - gap)
        return list;
    QRectF kept = list;
    kept.setBottom(std::max(list.top(), below.top() - gap));
    return kept;
}

Arrangement arrangementOf(const QString &controlsSetting)
{
    return controlsSetting == u"Top" ? Arrangement::Top : Arrangement::Side;
}

LayoutGeometry computeLayout(Arrangement arrangement, double W, double H)
{
    LayoutGeometry g;
    g.Drive1 = Drive1Designed;
    g.chkAutoMode = chkAutoModeDesigned;
    g.VScroll1 = QRectF(0, 0, ScrollBarThickness, 0);
    g.HScroll1 = QRectF(0, 0, 0, ScrollBarThickness);
    g.Picture1 = QRectF(0, 0, CornerSquareSize, CornerSquareSize);
    g.StatusBar = QRectF(0, 0, 0, StatusBarHeight);
    g.InputFileProperties = QRectF(0, 0, 0, StatusBarHeight);

    if (arrangement == Arrangement::Top) {
        g.chkAutoMode.setWidth(2400);
        g.Drive1.setWidth(2400);
        g.Dir1 = QRectF(2500, g.Drive1.top(), (W - 2500) / 2, 1600);
        g.File1 = QRectF(g.Dir1.width() + 2500 + 50, g.Drive1.top(), (W - 2500) / 2 - 170, 1600);
        g.viewer = QRectF(g.Drive1.left(), g.chkAutoMode.top() + g.chkAutoMode.height() + 50,
                          W - 110, H - 2840);
        g.VScroll1 = QRectF(W - g.VScroll1.width() - 160, g.VScroll1.top(), g.VScroll1.width(),
                            g.viewer.height() - 210);
        g.HScroll1 = QRectF(g.HScroll1.left(), g.viewer.height() - 240, g.viewer.width() - 220,
                            g.HScroll1.height());
        g.StatusBar = QRectF(g.Drive1.left(), H - 980, W - 140, g.StatusBar.height());
        g.InputFileProperties.setWidth(g.StatusBar.width());
        g.Picture1.moveTo(g.viewer.width() - 260, g.viewer.height() - 240);
    } else {
        const double S = Label1Height + g.Drive1.height() + Picture4Height + g.chkAutoMode.height();
        g.Drive1.setWidth(2400);
        g.chkAutoMode.setWidth(2400);
        g.Dir1 = QRectF(g.chkAutoMode.left(), g.chkAutoMode.top() + 380, 2400, (H - 1100 - S) / 2);
        g.File1 = QRectF(g.chkAutoMode.left(), g.Dir1.top() + g.Dir1.height() + 30, 2400,
                         (H - 1320 - S) / 2);
        g.viewer = QRectF(g.Drive1.left() + 2450, g.Drive1.top(), W - 2550, H - 1340);
        g.VScroll1 = QRectF(W - g.VScroll1.width() - 2600, g.VScroll1.top(), g.VScroll1.width(),
                            g.viewer.height() - 220);
        g.HScroll1 = QRectF(g.HScroll1.left(), g.viewer.height() - 235, g.viewer.width() - 200,
                            g.HScroll1.height());
        // The status line runs along the whole bottom edge, below the lists
        // too: beside them it could not hold the name, size and date.
        g.StatusBar = QRectF(g.Drive1.left(), H - 980, W - 140, g.StatusBar.height());
        g.InputFileProperties.setWidth(g.StatusBar.width() - 40);
        g.Picture1.moveTo(g.viewer.width() - 220, g.viewer.height() - 260);
    }
    return g;
}

LayoutGeometry placedLayout(Arrangement arrangement, double W, double H)
{
    LayoutGeometry g = computeLayout(arrangement, W, H);
    g.viewer.setBottom(std::min(g.viewer.bottom(), g.StatusBar.top()));
    for (QRectF *list : {&g.Dir1, &g.File1})
        *list = keptAbove(keptAbove(*list, g.viewer), g.StatusBar);
    const QRectF client(0, 0, W - DesignedNonClientWidth, H - DesignedNonClientHeight);
    for (QRectF *placed : {&g.Drive1, &g.chkAutoMode, &g.Dir1, &g.File1, &g.viewer, &g.StatusBar})
        *placed = placed->intersected(client);
    return g;
}

} // namespace glintbox
