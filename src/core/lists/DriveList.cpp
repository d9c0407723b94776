#include "DriveList.h"

#include "core/RunTimeError.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QStyle>

namespace glintbox {

DriveList::DriveList(DriveSource &drives, QWidget *parent)
    : QComboBox(parent)
    , m_drives(drives)
{
    setObjectName(QStringLiteral("Drive1"));
    reloadDrives();
    if (!m_list.isEmpty())
        m_current = m_list.first();
    showCurrent();
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_list.size())
            emit drivePicked(m_list[index].text());
    });
}

void DriveList::reloadDrives()
{
    m_list = m_drives.drives();
    const QSignalBlocker blocker(this);
    clear();
    static const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const Drive &drive : std::as_const(m_list))
        addItem(icon, drive.text());
    showCurrent();
}

void DriveList::showPopup()
{
    // Media come and go: read the mounts each time the list opens.
    reloadDrives();
    QComboBox::showPopup();
}

void DriveList::showCurrent()
{
    const QSignalBlocker blocker(this);
    const int index = int(m_list.indexOf(m_current));
    if (index >= 0) {
        setCurrentIndex(index);
    } else if (!m_current.mountPoint.isEmpty()) {
        addItem(m_current.text());
        setCurrentIndex(count() - 1);
    }
}

void DriveList::setDrive(const QString &driveText)
{
    const QString mountPoint = mountPointOfDriveText(driveText);
    m_list = m_drives.drives();
    const auto found = std::find_if(m_list.cbegin(), m_list.cend(), [&](const Drive &drive) {
        return drive.mountPoint == mountPoint;
    });
    if (found == m_list.cend())
        throw RunTimeError(DeviceUnavailable, driveText);
    if (*found == m_current)
        return;
    m_current = *found;
    reloadDrives();
    emit changed();
}

void DriveList::showDriveOf(const QString &folder)
{
    if (const std::optional<Drive> drive = driveContaining(m_list, folder))
        m_current = *drive;
    showCurrent();
}

} // namespace glintbox
