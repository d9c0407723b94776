#include "PreviewPicture.h"

#include <QPaintEvent>
#include <QPainter>

namespace glintbox {

PreviewPicture::PreviewPicture(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ImagePreview"));
}

void PreviewPicture::setPicture(Picture picture)
{
    m_picture = std::move(picture);
    update();
}

void PreviewPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_picture.paint(painter, rect(), event->rect());
}

} // namespace glintbox
