#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace glintbox {

// A mounted file system a person would call a drive.
struct Drive {
    QString mountPoint; // "/" or "/media/usb"
    QString label;      // volume label, may be empty

    // The drive as the drive list shows it: the mount point, then the label in
    // square brackets when there is one.
    QString text() const;
    // The drive's root folder: its mount point with a trailing separator.
    QString root() const;
    bool operator==(const Drive &other) const = default;
};

// The drives of the machine and whether each is ready. The program reads the
// mounted file systems; tests present drives that are not ready.
class DriveSource {
public:
    virtual ~DriveSource() = default;
    virtual QList<Drive> drives() = 0;
    virtual bool isReady(const Drive &drive) = 0;
};

// Drives from the mount table: "/" first, always, then the file systems on
// real devices and network shares; pseudo file systems left out.
class MountedDrives : public DriveSource {
public:
    QList<Drive> drives() override;
    bool isReady(const Drive &drive) override;

    // The rule, on the lines of a mount table (fields: device, mount point,
    // type), with the volume labels by device.
    static QList<Drive> drivesFromMountTable(const QByteArray &mountTable,
                                             const QHash<QString, QString> &labelsByDevice);
};

// The drive that holds a path: the one with the longest mount point that the
// path lies in.
std::optional<Drive> driveContaining(const QList<Drive> &drives, const QString &path);

// The mount point named by a drive text or by the system drive's old name:
// "C", "c:" and "" mean "/"; "/media/usb [STICK]" means "/media/usb".
QString mountPointOfDriveText(const QString &driveText);

} // namespace glintbox
