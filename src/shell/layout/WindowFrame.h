#pragma once

#include <QMargins>
#include <QObject>

#include <memory>
#include <optional>

class QWidget;

namespace glintbox {

// The frame that the window manager draws around one top-level window, as
// the window manager itself tells it. Tests give a window a frame of their
// own through this seam.
class WindowFrame : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The frame's widths in the window's pixels; none while the window
    // manager has not told them yet. Where nothing frames the window (no
    // window manager, or a platform that places windows itself) the frame is
    // zero from the start.
    virtual std::optional<QMargins> margins() = 0;

    // The frame of the platform the program runs on, around window.
    static std::unique_ptr<WindowFrame> of(QWidget &window);

signals:
    // The window manager has told the frame, changed or not.
    void changed();
};

} // namespace glintbox
