// EMF+ images: bitmaps and whole metafiles drawn into a rectangle or a parallelogram.
#include "EmfPlusPlayer.h"

#include "GdiPainter.h"
#include "NestedMetafile.h"

#include <QPainter>

namespace glintbox {

using namespace emfplus;

void EmfPlusPlayer::drawImage(quint16 flags, ByteSpan data, bool parallelogram)
{
    const EmfPlusObjectData *image = objectAt(flags & ObjectIdMask, ObjectImage);
    const QRectF source = readEmfPlusRect(data, 8, false);
    if (!image || source.width() == 0 || source.height() == 0)
        return;
    QPolygonF corners; // where the source's top left, top right and bottom left land
    if (parallelogram) {
        if (data.u32(24) != 3)
            return;
        corners = readEmfPlusPoints(data, 28, 3, flags);
    } else {
        const QRectF dest = readEmfPlusRect(data, 24, flags & FlagCompressed);
        corners = {dest.topLeft(), dest.topRight(), dest.bottomLeft()};
    }
    if (corners.size() != 3)
        return;
    const QPointF across = corners[1] - corners[0], down = corners[2] - corners[0];
    const double m11 = across.x() / source.width(), m12 = across.y() / source.width();
    const double m21 = down.x() / source.height(), m22 = down.y() / source.height();
    const QTransform placement(m11, m12, m21, m22,
                               corners[0].x() - source.x() * m11 - source.y() * m21,
                               corners[0].y() - source.x() * m12 - source.y() * m22);
    QPainter *painter = beginDraw(placement.mapRect(source));
    if (!painter || !placement.isInvertible())
        return;
    painter->setTransform(placement * painter->transform());
    if (!image->image.bitmap.isNull()) {
        painter->drawImage(source, image->image.bitmap, source);
        return;
    }
    drawNestedMetafile(image->image.metafile, *painter, source, m_gdi.budget());
}

} // namespace glintbox
