#pragma once

#include "viewing/modes/ViewMode.h"

#include <functional>

namespace glintbox {

struct GlintboxState;
struct ViewerControls;
class DisplayHost;

// The view modes: which view shows the file and which commands it allows, the
// four display switches, the empty viewer and the animated window icon.
class ViewModes {
public:
    ViewModes(GlintboxState &state, ViewerControls &controls, DisplayHost &host);

    // Re-shows the selected file; set by the window to its File1_Click.
    void setShowFile(std::function<void()> showFile) { m_showFile = std::move(showFile); }

    void SetViewMode();
    void ClearViewer();
    ViewMode viewMode() const;

    void chkAutoMode_Click();
    void chkHTMLmode_Click();
    void mnuWebMode_Click();
    void mnuWordWrap_Click();
    // Word wrap follows the check mark of "&Word Wrap Off".
    void applyWordWrap();
    void timIconSwitch_Timer();

private:
    void enableCommandsFor(ViewMode mode);

    GlintboxState &m_state;
    ViewerControls &m_controls;
    DisplayHost &m_host;
    std::function<void()> m_showFile;
};

} // namespace glintbox
