#include "WindowPlacement.h"

#include "core/Twips.h"

#include <QWidget>

namespace glintbox {

WindowPlacement::WindowPlacement(QWidget &window, std::unique_ptr<WindowFrame> frame)
    : QObject(&window)
    , m_window(window)
{
    setFrame(std::move(frame));
}

void WindowPlacement::setFrame(std::unique_ptr<WindowFrame> frame)
{
    m_frame = std::move(frame);
    connect(m_frame.get(), &WindowFrame::changed, this, &WindowPlacement::placeOnceFramed);
}

QMargins WindowPlacement::knownMargins() const
{
    return m_frame->margins().value_or(QMargins());
}

QSize WindowPlacement::outerSize() const
{
    return m_window.size().grownBy(knownMargins());
}

QRectF WindowPlacement::outerTwips() const
{
    const QRect outer = m_window.geometry().marginsAdded(knownMargins());
    const double dpi = logicalDpiOf(m_window);
    return {pixelsToTwips(outer.x(), dpi), pixelsToTwips(outer.y(), dpi),
            pixelsToTwips(outer.width(), dpi), pixelsToTwips(outer.height(), dpi)};
}

void WindowPlacement::place(const QRectF &outerTwips)
{
    const std::optional<QMargins> margins = m_frame->margins();
    // The window's own rectangle, inside the frame: Qt's idea of the frame
    // lags behind the window manager's, and a position that includes it
    // would be shifted by what Qt believes.
    m_window.setGeometry(twipsToPixels(outerTwips, logicalDpiOf(m_window))
                             .marginsRemoved(margins.value_or(QMargins())));
    m_waiting.reset();
    if (!margins)
        m_waiting = outerTwips;
}

// A maximised window's frame is not the one of its normal place: that waits
// for the frame told after the restore.
void WindowPlacement::placeOnceFramed()
{
    if (m_waiting && m_frame->margins() && m_window.windowState() == Qt::WindowNoState)
        place(*m_waiting);
}

} // namespace glintbox
