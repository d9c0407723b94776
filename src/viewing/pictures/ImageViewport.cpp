#include "ImageViewport.h"

#include "core/Colours.h"
#include "core/Twips.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace glintbox {

namespace {

QScrollBar *panBar(Qt::Orientation orientation, const QString &name, QWidget *parent)
{
    auto *bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setSingleStep(5);
    bar->setPageStep(20);
    return bar;
}

} // namespace

ImageViewport::ImageViewport(QWidget *parent)
    : QWidget(parent)
    , m_hScroll1(panBar(Qt::Horizontal, QStringLiteral("HScroll1"), this))
    , m_vScroll1(panBar(Qt::Vertical, QStringLiteral("VScroll1"), this))
    , m_picture1(new QWidget(this))
{
    setObjectName(QStringLiteral("Picture2"));
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setAutoFillBackground(true);
    m_picture1->setBackgroundRole(QPalette::Button);
    // The picture is painted straight onto the viewport; nothing behind it
    // needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageViewport::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_hScroll1->setValue(0);
    m_vScroll1->setValue(0);
    setImageRectTwips(QRectF(QPointF(0, 0), picture.naturalSizeTwips(logicalDpi())));
}

void ImageViewport::clearPicture()
{
    m_picture = Picture();
    update();
}

void ImageViewport::setImageRectTwips(const QRectF &rect)
{
    m_imageRect = rect;
    update();
}

double ImageViewport::logicalDpi() const
{
    return logicalDpiX();
}

QSizeF ImageViewport::sizeTwips() const
{
    return {pixelsToTwips(width(), logicalDpi()), pixelsToTwips(height(), logicalDpi())};
}

void ImageViewport::setBackColour(quint32 colour)
{
    m_backColour = colour;
    update();
}

void ImageViewport::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), resolveColour(m_backColour, palette()));
    if (m_picture.isNull())
        return;
    const double pixelsPerTwip = logicalDpi() / TwipsPerInch;
    const QRectF target(m_imageRect.left() * pixelsPerTwip, m_imageRect.top() * pixelsPerTwip,
                        m_imageRect.width() * pixelsPerTwip, m_imageRect.height() * pixelsPerTwip);
    m_picture.paint(painter, target, QRectF(event->rect()) & target);
}

void ImageViewport::resizeEvent(QResizeEvent *)
{
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int right = width() - barWidth;
    const int bottom = height() - barWidth;
    m_hScroll1->setGeometry(0, bottom, right, barWidth);
    m_vScroll1->setGeometry(right, 0, barWidth, bottom);
    m_picture1->setGeometry(right, bottom, barWidth, barWidth);
}

} // namespace glintbox
