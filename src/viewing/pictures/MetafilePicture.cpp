#include "MetafilePicture.h"

#include <QPainter>

namespace glintbox {

QSizeF MetafilePicture::naturalSizeTwips(double) const
{
    // A metafile states its own physical size; the screen does not change it.
    return m_metafile.naturalSizeTwips();
}

void MetafilePicture::paint(QPainter &painter, const QRectF &target,
                            const QRectF &visibleTargetPart) const
{
    painter.save();
    painter.setClipRect(visibleTargetPart, Qt::IntersectClip);
    m_metafile.render(painter, target);
    painter.restore();
}

} // namespace glintbox
