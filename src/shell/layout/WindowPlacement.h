#pragma once

#include "WindowFrame.h"

#include <QRectF>

class QWidget;

namespace glintbox {

// Puts a top-level window where its stored outer rectangle (twips, frame
// included) says, and measures it back the same way, so that a window closed
// and opened again comes back where it was, at its size. The frame is the
// one the window manager tells; while it is not told the window is placed as
// if it had none, and placed again, once, when it is.
class WindowPlacement : public QObject {
    Q_OBJECT
public:
    WindowPlacement(QWidget &window, std::unique_ptr<WindowFrame> frame);

    // The window's outer size in pixels, with the frame as far as it is known.
    QSize outerSize() const;
    // The window's outer rectangle in twips, with the frame as far as known.
    QRectF outerTwips() const;
    void place(const QRectF &outerTwips);

    // Tests give the window a frame of their own.
    void setFrame(std::unique_ptr<WindowFrame> frame);

private:
    QMargins knownMargins() const;
    void placeOnceFramed();

    QWidget &m_window;
    std::unique_ptr<WindowFrame> m_frame;
    std::optional<QRectF> m_waiting;
};

} // namespace glintbox
