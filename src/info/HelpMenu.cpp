#include "HelpMenu.h"

#include "frmAbout.h"
#include "frmBugBusters.h"
#include "frmHelp.h"

namespace glintbox {

HelpMenu::HelpMenu(QWidget &owner, Prompts &prompts, FileSystem &fs, QString helpFolder)
    : m_owner(owner)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_helpFolder(std::move(helpFolder))
{
}

void HelpMenu::mnuHelp_Click()
{
    if (!m_help) {
        m_help = new frmHelp(m_helpFolder, m_prompts, m_fs, &m_owner);
        // Closing destroys it; the next command starts afresh on the first tab.
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        m_help->Form_Load();
    }
    m_help->setWindowState(m_help->windowState() & ~Qt::WindowMinimized);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

frmHelp *HelpMenu::helpWindow() const
{
    return m_help;
}

void HelpMenu::mnuBug_Click()
{
    frmBugBusters credits(&m_owner);
    credits.exec();
}

void HelpMenu::mnuGlintbox_Click()
{
    frmAbout about(&m_owner);
    about.exec();
}

} // namespace glintbox
