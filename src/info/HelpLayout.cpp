#include "HelpLayout.h"

#include <algorithm>

namespace glintbox {

QSizeF withHelpMinimumSize(const QSizeF &outer)
{
    return {std::max(outer.width(), HelpMinimumWidth), std::max(outer.height(), HelpMinimumHeight)};
}

HelpLayout computeHelpLayout(double width, double height)
{
    HelpLayout layout;
    layout.TabStrip1 = QRectF(0, 0, width - HelpNonClientWidth, height - HelpNonClientHeight);
    layout.frame =
        QRectF(120, 360, layout.TabStrip1.width() - 260, layout.TabStrip1.height() - 500);
    layout.content = QRectF(120, 240, layout.frame.width() - 240, layout.frame.height() - 360);
    return layout;
}

} // namespace glintbox
