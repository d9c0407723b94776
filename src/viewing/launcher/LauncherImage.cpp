#include "LauncherImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace glintbox {

LauncherImage::LauncherImage(QWidget *parent)
    : QWidget(parent)
    , m_artwork(QStringLiteral(":/launcher/launcher.svg"))
{
    setObjectName(QStringLiteral("Image3"));
    setCursor(Qt::PointingHandCursor);
}

void LauncherImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_artwork.render(&painter, QRectF(rect()));
}

void LauncherImage::mousePressEvent(QMouseEvent *event)
{
    // A single click on the picture is the picture's own, not the panel's.
    event->accept();
}

void LauncherImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}

} // namespace glintbox
