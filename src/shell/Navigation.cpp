#include "Navigation.h"

#include "MainControls.h"
#include "core/ErrorTrap.h"
#include "core/FileNameBytes.h"
#include "core/GlintboxState.h"
#include "core/PlainToolTip.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "core/lists/DriveList.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"

#include <QLabel>

namespace glintbox {

Navigation::Navigation(GlintboxState &state, MainControls &controls, Prompts &prompts,
                       std::function<void()> clearViewer)
    : m_state(state)
    , m_controls(controls)
    , m_prompts(prompts)
    , m_clearViewer(std::move(clearViewer))
{
}

void Navigation::showFirstFileOrClear()
{
    if (m_controls.File1->listCount() > 0)
        m_controls.File1->setListIndex(0);
    else
        m_clearViewer();
}

bool Navigation::showNamedFile(const QString &name)
{
    FileList &file1 = *m_controls.File1;
    file1.admit(name);
    showCounts();
    const int index = file1.indexOf(name);
    if (index < 0)
        return false;
    file1.setListIndex(index);
    return true;
}

void Navigation::Drive1_Change()
{
    DriveList &drive1 = *m_controls.Drive1;
    try {
        m_controls.Dir1->setDrive(drive1.currentDrive());
        m_state.previousDrive = drive1.drive();
        m_controls.Dir1->refresh();
        m_controls.File1->refresh();
        if (m_driveChangeShowsFile)
            showFirstFileOrClear();
    } catch (const RunTimeError &error) {
        if (error.number() == DeviceUnavailable) {
            m_prompts.message(QStringLiteral("Sorry, but this drive is unavailable"),
                              QStringLiteral("Glintbox - Drive Error"), PromptIcon::None,
                              PromptButtons::Ok);
            // With no drive shown yet there is nothing to go back to: the
            // caller (start-up) gets the failure.
            if (m_state.previousDrive.isEmpty())
                throw RunTimeError(DeviceUnavailable);
            drive1.setDrive(m_state.previousDrive);
        } else {
            showErrorReport(m_prompts, error);
            drive1.setDrive(QStringLiteral("/"));
        }
    }
}

void Navigation::Dir1_Change()
{
    runTrapped(m_prompts, [this] {
        m_controls.File1->setPath(m_controls.Dir1->path());
        showCounts();
        m_controls.Dir1->setToolTip(plainToolTip(displayableFileName(m_controls.Dir1->path())));
        // Into another mount, the drive list follows, so that the drive left
        // (which the folder tree no longer shows) stays one pick away. Its
        // folder was just read, so a later drive error comes back to it.
        if (m_controls.Drive1->showDriveOf(m_controls.Dir1->path()))
            m_state.previousDrive = m_controls.Drive1->drive();
    });
}

void Navigation::mnuRefresh_Click()
{
    runTrapped(m_prompts, [this] {
        m_controls.Dir1->setDrive(m_controls.Drive1->currentDrive());
        m_controls.Dir1->refresh();
        m_controls.File1->refresh();
        // Re-reading may change the counts even when the folder stays.
        showCounts();
        showFirstFileOrClear();
    });
}

void Navigation::showCounts()
{
    m_controls.Label2->setText(QString::number(m_controls.File1->listCount()));
    m_controls.Label5->setText(QString::number(m_controls.Dir1->listCount()));
}

} // namespace glintbox
