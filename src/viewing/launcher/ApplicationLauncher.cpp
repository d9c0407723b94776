#include "ApplicationLauncher.h"

#include "core/ErrorTrap.h"
#include "core/GlintboxState.h"
#include "core/Paths.h"
#include "core/ProgramStarter.h"
#include "viewing/display/DisplayHost.h"

namespace glintbox {

ApplicationLauncher::ApplicationLauncher(GlintboxState &state, DisplayHost &host,
                                         ProgramStarter &starter)
    : m_state(state)
    , m_host(host)
    , m_starter(starter)
{
}

void ApplicationLauncher::Image3_DblClick()
{
    const bool started = runTrapped(m_host.prompts(), [this] {
        m_state.currentFolder = folderWithoutSeparator(m_host.fileListPath());
        m_starter.start(fullPath(m_state.currentFolder, m_host.fileListFileName()));
    });
    if (started)
        m_host.focusFileList();
}

void ApplicationLauncher::picLaunchWindow_Click()
{
    m_host.focusFileList();
}

} // namespace glintbox
