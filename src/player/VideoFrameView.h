#pragma once

#include <QVideoFrame>
#include <QWidget>

class QVideoSink;

namespace glintbox {

// Shows a movie's frames, drawn with QPainter like any other widget: it has no
// window of its own and no OpenGL context, so a movie and the browser can
// share the main window (a native video window beside the browser's context
// stopped the window repainting and crashed it on a later layout).
class VideoFrameView : public QWidget {
    Q_OBJECT
public:
    explicit VideoFrameView(QWidget *parent = nullptr);

    // Where the media player delivers its frames.
    QVideoSink *videoSink() const { return m_sink; }
    // Forgets the frame on show, so nothing of a finished movie stays.
    void clear();

signals:
    void frameShown(const QVideoFrame &frame);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showFrame(const QVideoFrame &frame);

    QVideoSink *m_sink;
    QVideoFrame m_frame;
};

} // namespace glintbox
