#include "Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sys/stat.h>

namespace glintbox {

namespace {

// File systems that are no drives: kernel views, memory and container layers.
const QSet<QString> &pseudoFileSystems()
{
    static const QSet<QString> types = {
        QStringLiteral("proc"),
        QStringLiteral("sysfs"),
        QStringLiteral("tmpfs"),
        QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),
        QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),
        QStringLiteral("overlay"),
        QStringLiteral("squashfs"),
        QStringLiteral("securityfs"),
        QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),
        QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),
        QStringLiteral("pstore"),
        QStringLiteral("bpf"),
        QStringLiteral("configfs"),
        QStringLiteral("fusectl"),
        QStringLiteral("autofs"),
        QStringLiteral("binfmt_misc"),
        QStringLiteral("efivarfs"),
        QStringLiteral("ramfs"),
        QStringLiteral("nsfs"),
        QStringLiteral("rpc_pipefs"),
        QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.lxcfs"),
    };
    return types;
}

bool isNetworkFileSystem(const QString &type)
{
    return type.startsWith(u"nfs") || type == u"cifs" || type == u"smb3" || type == u"smbfs" ||
           type == u"fuse.sshfs" || type == u"9p";
}

// Mount tables escape blanks and a few other characters as octal.
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

QHash<QString, QString> labelsByDevice()
{
    QHash<QString, QString> labels;
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    const QFileInfoList links = byLabel.entryInfoList(QDir::System | QDir::Files);
    for (const QFileInfo &link : links) {
        // Labels are escaped as \x20 for blanks.
        QString label = link.fileName();
        label.replace(QStringLiteral("\\x20"), QStringLiteral(" "));
        labels.insert(link.canonicalFilePath(), label);
    }
    return labels;
}

} // namespace

QString Drive::text() const
{
    return label.isEmpty() ? mountPoint : mountPoint + QStringLiteral(" [") + label + u']';
}

QString Drive::root() const
{
    return mountPoint.endsWith(u'/') ? mountPoint : mountPoint + u'/';
}

std::optional<Drive> driveContaining(const QList<Drive> &drives, const QString &path)
{
    std::optional<Drive> best;
    for (const Drive &drive : drives) {
        const bool inside = path == drive.mountPoint || path.startsWith(drive.root());
        if (inside && (!best || drive.mountPoint.size() > best->mountPoint.size()))
            best = drive;
    }
    return best;
}

QString mountPointOfDriveText(const QString &driveText)
{
    const QString text = driveText.trimmed();
    if (text.isEmpty() || text.compare(u"C", Qt::CaseInsensitive) == 0 ||
        text.compare(u"C:", Qt::CaseInsensitive) == 0)
        return QStringLiteral("/");
    const qsizetype bracket = text.indexOf(QStringLiteral(" ["));
    QString mountPoint = bracket >= 0 ? text.left(bracket) : text;
    while (mountPoint.size() > 1 && mountPoint.endsWith(u'/'))
        mountPoint.chop(1);
    return mountPoint;
}

QList<Drive> MountedDrives::drivesFromMountTable(const QByteArray &mountTable,
                                                 const QHash<QString, QString> &labels)
{
    QList<Drive> drives{Drive{QStringLiteral("/"), {}}};
    QSet<QString> seen{QStringLiteral("/")};
    const QList<QByteArray> lines = mountTable.split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QString device = unescapeMountField(fields[0]);
        const QString mountPoint = unescapeMountField(fields[1]);
        const QString type = QString::fromLatin1(fields[2]);
        if (mountPoint == u"/") {
            drives.first().label = labels.value(QFileInfo(device).canonicalFilePath());
            continue;
        }
        if (seen.contains(mountPoint) || pseudoFileSystems().contains(type))
            continue;
        if (!device.startsWith(u"/dev/") && !isNetworkFileSystem(type))
            continue;
        seen.insert(mountPoint);
        drives.append(Drive{mountPoint, labels.value(QFileInfo(device).canonicalFilePath())});
    }
    return drives;
}

QList<Drive> MountedDrives::drives()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    QByteArray table;
    if (mounts.open(QIODevice::ReadOnly))
        table = mounts.readAll();
    QList<Drive> all = drivesFromMountTable(table, labelsByDevice());
    // Single files bind-mounted into containers (/etc/hosts) are no drives.
    all.removeIf([](const Drive &drive) { return !QFileInfo(drive.mountPoint).isDir(); });
    return all;
}

bool MountedDrives::isReady(const Drive &drive)
{
    struct stat st {};
    return ::stat(QFile::encodeName(drive.mountPoint).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace glintbox
