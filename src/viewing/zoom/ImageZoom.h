#pragma once

#include <QObject>
#include <functional>

namespace glintbox {

struct GlintboxState;
struct ViewerControls;
class DisplayHost;

// Image zoom and panning: the zoom presets btnZoom, the zoom bar Zoom with its
// label Text2, the pan bars HScroll1 and VScroll1 of the viewport Picture2,
// and the zoom step of the '+' and '-' keys. In Movie view mode the presets
// 100% to 400% size the player's movie window instead.
class ImageZoom : public QObject {
    Q_OBJECT
public:
    // Connects itself to the controls' notifications.
    ImageZoom(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
              QObject *parent = nullptr);

    // Index 0..8 chooses a preset; any other index applies the current zoom.
    void btnZoom_Click(int index);
    void Zoom_Change();
    void Zoom_Scroll();
    void HScroll1_Change();
    void VScroll1_Change();
    void Image2_Click();
    void Picture2_Click();
    // The zoom step of the keys '+'/'=' (in) and '-'/'_' (out), also used by
    // the View menu's Zoom In and Zoom Out; other keys are ignored.
    void zoomStep(int keyAscii);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void trapped(const std::function<void()> &handler);
    bool zoomRefused() const;
    void showRefusal();
    void resetToNormal();
    void applyZoomInFull();
    void pan(Qt::Orientation orientation);

    GlintboxState &m_state;
    ViewerControls &m_controls;
    DisplayHost &m_host;
};

} // namespace glintbox
