#include "VideoFrameView.h"

#include <QPainter>
#include <QVideoSink>

namespace glintbox {

VideoFrameView::VideoFrameView(QWidget *parent)
    : QWidget(parent)
    , m_sink(new QVideoSink(this))
{
    setObjectName(QStringLiteral("movieFrames"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The back end may deliver from its own thread; the frame is taken up here.
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &VideoFrameView::showFrame);
}

void VideoFrameView::clear()
{
    m_frame = QVideoFrame();
    update();
}

void VideoFrameView::showFrame(const QVideoFrame &frame)
{
    m_frame = frame;
    update();
    emit frameShown(frame);
}

void VideoFrameView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_frame.isValid()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    QVideoFrame::PaintOptions options;
    options.backgroundColor = Qt::black;
    options.aspectRatioMode = Qt::KeepAspectRatio;
    m_frame.paint(&painter, rect(), options);
}

} // namespace glintbox
