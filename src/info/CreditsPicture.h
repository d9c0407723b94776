#pragma once

#include <QPixmap>

class QFont;
class QPalette;

namespace glintbox {

// The credits drawn from text onto a picture of the given size: the
// open-source projects Glintbox is built on and those whose public test files
// check its readers, a heading before each group. The lines are spread evenly
// from top to bottom, so the whole list rises through the window before it
// starts over.
QPixmap drawCreditsPicture(const QSize &size, qreal devicePixelRatio, const QFont &font,
                           const QPalette &palette);

} // namespace glintbox
