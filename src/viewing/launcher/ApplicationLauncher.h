#pragma once

namespace glintbox {

struct GlintboxState;
class DisplayHost;
class ProgramStarter;

// The launch of the selected program file (Image3_DblClick, also run by the
// Enter key and the Launch Application menu item) and the launcher panel's
// hand-back of the focus to the file list.
class ApplicationLauncher {
public:
    ApplicationLauncher(GlintboxState &state, DisplayHost &host, ProgramStarter &starter);

    // Starts the file selected in File1 from File1's folder; a failure ends
    // with the shared error report and leaves the focus where it was.
    void Image3_DblClick();
    void picLaunchWindow_Click();

private:
    GlintboxState &m_state;
    DisplayHost &m_host;
    ProgramStarter &m_starter;
};

} // namespace glintbox
