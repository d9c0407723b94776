#pragma once

#include "LayoutGeometry.h"

#include <QObject>

class QMainWindow;
class QWidget;

namespace glintbox {

struct GlintboxState;
class Prompts;
class WindowPlacement;
struct MainControls;
struct ViewerControls;

// Lays the main window out in the arrangement of the "Controls" setting: the
// View menu's layout items and the resize of the window. The rule works on the
// designed window; this class maps it onto the real client area.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    // client: the central widget that holds the lists and views, below the
    // real menu bar and toolbar.
    WindowLayout(QMainWindow &window, QWidget &client, const WindowPlacement &placement,
                 GlintboxState &state, MainControls &controls, ViewerControls &viewer,
                 Prompts &prompts);

    void mnuControl_Click(int index);
    void Form_Resize();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double logicalDpi() const;
    QRect toClientPixels(const QRectF &twips) const;
    void applyLayout(const LayoutGeometry &geometry);
    void panBack();

    QMainWindow &m_window;
    QWidget &m_client;
    const WindowPlacement &m_placement;
    GlintboxState &m_state;
    MainControls &m_controls;
    ViewerControls &m_viewer;
    Prompts &m_prompts;
};

} // namespace glintbox
