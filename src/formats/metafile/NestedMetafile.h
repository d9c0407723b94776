#pragma once

#include <QByteArray>

class QPainter;
class QRectF;

namespace glintbox {

class RenderBudget;

// Draws a metafile held inside another onto `target` of the painter, within the running
// budget. A picture nested too deep, one left without time, or one that is no metafile
// draws nothing.
void drawNestedMetafile(const QByteArray &bytes, QPainter &painter, const QRectF &target,
                        RenderBudget &budget);

} // namespace glintbox
