#pragma once

#include "Drives.h"

#include <QComboBox>

namespace glintbox {

// The drive list control Drive1. Setting another drive from code raises
// changed() at once; a drive the user picks arrives as drivePicked() for the
// window to set under its error trap.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(DriveSource &drives, QWidget *parent = nullptr);

    QString drive() const { return m_current.text(); }
    const Drive &currentDrive() const { return m_current; }
    // Accepts a drive text, a mount point, or "C"/"C:" for the system drive.
    // Throws RunTimeError(68) for a drive that is not mounted.
    void setDrive(const QString &driveText);
    // Shows the drive containing this folder without raising changed().
    void showDriveOf(const QString &folder);

    void reloadDrives();

signals:
    void changed();
    void drivePicked(const QString &driveText);

protected:
    void showPopup() override;

private:
    void showCurrent();

    DriveSource &m_drives;
    QList<Drive> m_list;
    Drive m_current;
};

} // namespace glintbox
