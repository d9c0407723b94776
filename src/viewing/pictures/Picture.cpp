#include "Picture.h"

#include "core/Twips.h"

#include <QPainter>

namespace glintbox {

namespace {

QImage paintableImage(QImage image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        // Indexed, mono and grey images would otherwise be converted whole on
        // every paint.
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
        return image;
    }
}

} // namespace

RasterPicture::RasterPicture(QImage image)
    : m_image(paintableImage(std::move(image)))
{
}

QSizeF RasterPicture::naturalSizeTwips(double logicalDpi) const
{
    return {pixelsToTwips(m_image.width(), logicalDpi),
            pixelsToTwips(m_image.height(), logicalDpi)};
}

void RasterPicture::paint(QPainter &painter, const QRectF &target,
                          const QRectF &visibleTargetPart) const
{
    const QRectF part = visibleTargetPart & target;
    if (part.isEmpty() || m_image.isNull())
        return;
    const double scaleX = m_image.width() / target.width();
    const double scaleY = m_image.height() / target.height();
    const QRectF source((part.left() - target.left()) * scaleX,
                        (part.top() - target.top()) * scaleY, part.width() * scaleX,
                        part.height() * scaleY);
    // Smooth both ways: a reduced picture keeps its detail, an enlarged one
    // shows no blocks. Only the visible part is scaled, so it stays cheap.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(part, m_image, source);
    painter.restore();
}

Picture::Picture(std::shared_ptr<const PictureContent> content)
    : m_content(std::move(content))
{
}

Picture Picture::fromImage(QImage image)
{
    return Picture(std::make_shared<const RasterPicture>(std::move(image)));
}

QSizeF Picture::naturalSizeTwips(double logicalDpi) const
{
    return m_content ? m_content->naturalSizeTwips(logicalDpi) : QSizeF();
}

void Picture::paint(QPainter &painter, const QRectF &target, const QRectF &visibleTargetPart) const
{
    if (m_content)
        m_content->paint(painter, target, visibleTargetPart);
}

} // namespace glintbox
