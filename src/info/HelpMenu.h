#pragma once

#include <QPointer>
#include <QString>

class QWidget;

namespace glintbox {

class FileSystem;
class Prompts;
class frmHelp;

// The commands of the main window's Help menu (the menus run them under the
// error trap): the Help window, which stays open beside the main window, and
// the About and credits windows, which the main window waits for.
class HelpMenu {
public:
    // owner: the main window; the Help window is its child, so it goes with it.
    // helpFolder: where the help files lie (the program's own folder).
    HelpMenu(QWidget &owner, Prompts &prompts, FileSystem &fs, QString helpFolder);

    void setHelpFolder(const QString &folder) { m_helpFolder = folder; }

    // Opens the Help window on its first tab, or brings up the open one as it is.
    void mnuHelp_Click();
    void mnuBug_Click();
    void mnuGlintbox_Click();

    // The open Help window, or null.
    frmHelp *helpWindow() const;

private:
    QWidget &m_owner;
    Prompts &m_prompts;
    FileSystem &m_fs;
    QString m_helpFolder;
    QPointer<frmHelp> m_help;
};

} // namespace glintbox
