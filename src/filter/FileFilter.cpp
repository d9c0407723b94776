#include "FileFilter.h"

#include "FilterHost.h"
#include "core/ErrorTrap.h"
#include "frmFileFilter.h"

#include <QCheckBox>

namespace glintbox {

FileFilter::FileFilter(FilterHost &host)
    : m_host(host)
{
}

void FileFilter::mnuFilter_Click()
{
    runTrapped(m_host.prompts(), [this] {
        frmFileFilter dialog(m_host, m_state, m_host.dialogParent());
        // In key order, so each tick's check rule sees the ticks before it.
        for (int entry = 0; entry < FilterEntryCount; ++entry) {
            if (m_state.model.isOn(entry))
                dialog.box(entry)->setChecked(true);
        }
        dialog.exec();
        m_host.showFirstFileOrClear();
    });
}

void FileFilter::restoreAtStartup(const std::array<int, FilterEntryCount> &stored)
{
    frmFileFilter dialog(m_host, m_state, m_host.dialogParent());
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        dialog.box(entry)->setChecked(stored[entry] != 0);
    dialog.btnOK_Click();
}

} // namespace glintbox
