#pragma once

#include "LayoutGeometry.h"

#include <QObject>
#include <QSize>

#include <optional>

class QMainWindow;
class QWidget;

namespace glintbox {

struct GlintboxState;
class Prompts;
struct MainControls;
struct ViewerControls;

// The window manager's frame around a window, once it is known.
std::optional<QSize> knownFrameExtra(const QWidget &window);
// A window's size with its frame, or without while the frame is not known.
QSize outerSizeOf(const QWidget &window);

// Lays the main window out in the arrangement of the "Controls" setting: the
// View menu's layout items and the resize of the window. The rule works on the
// designed window; this class maps it onto the real client area.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    // client: the central widget that holds the lists and views, below the
    // real menu bar and toolbar.
    WindowLayout(QMainWindow &window, QWidget &client, GlintboxState &state, MainControls &controls,
                 ViewerControls &viewer, Prompts &prompts);

    void mnuControl_Click(int index);
    void Form_Resize();

    // The window's outer size in twips, frame included.
    QSizeF outerSizeTwips() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double logicalDpi() const;
    QRect toClientPixels(const QRectF &twips) const;
    void applyLayout(const LayoutGeometry &geometry);
    void panBack();

    QMainWindow &m_window;
    QWidget &m_client;
    GlintboxState &m_state;
    MainControls &m_controls;
    ViewerControls &m_viewer;
    Prompts &m_prompts;
};

} // namespace glintbox
