#include "FolderList.h"

#include "Drives.h"
#include "NameOrder.h"
#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

#include <algorithm>

namespace glintbox {

void FolderListModel::setRows(QList<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        // Indentation by leading blanks keeps the view a plain list.
        return QString(row.depth * 2, u' ') + row.label;
    case Qt::ToolTipRole:
        return row.path;
    case Qt::DecorationRole: {
        static const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
        static const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
        return row.isOpen ? open : closed;
    }
    }
    return {};
}

FolderList::FolderList(FileSystem &fs, DriveSource &drives, QWidget *parent)
    : QListView(parent)
    , m_fs(fs)
    , m_drives(drives)
{
    setObjectName(QStringLiteral("Dir1"));
    setModel(&m_model);
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListView::activated, this, [this](const QModelIndex &index) {
        emit folderChosen(m_model.rows().value(index.row()).path);
    });
}

QString FolderList::normalised(const QString &path) const
{
    QString clean = QDir::cleanPath(path);
    if (clean.isEmpty())
        return clean;
    const QList<Drive> all = m_drives.drives();
    for (const Drive &drive : all) {
        if (clean == drive.mountPoint)
            return drive.root();
    }
    return clean;
}

void FolderList::setPath(const QString &requested)
{
    QString path = requested;
    // A drive text stands for that drive's root.
    const QList<Drive> all = m_drives.drives();
    for (const Drive &drive : all) {
        if (requested == drive.text())
            path = drive.root();
    }
    path = normalised(path);
    if (path.isEmpty() || !path.startsWith(PathSeparator))
        throw RunTimeError(PathNotFound, requested);
    const std::optional<Drive> drive = driveContaining(m_drives.drives(), path);
    if (!drive || !m_drives.isReady(*drive))
        throw RunTimeError(DeviceUnavailable, requested);
    if (path == m_path)
        return;
    reload(path);
    emit changed();
}

void FolderList::refresh()
{
    reload(m_path);
}

void FolderList::reload(const QString &path)
{
    const std::vector<FolderEntry> entries = m_fs.list(path);
    const std::optional<Drive> drive = driveContaining(m_drives.drives(), path);
    const QString root = drive ? drive->root() : QStringLiteral("/");

    QList<FolderListModel::Row> rows;
    rows.append({root, drive ? drive->text() : root, 0, true});
    const QStringList parts = path.size() > root.size()
                                  ? path.mid(root.size()).split(PathSeparator, Qt::SkipEmptyParts)
                                  : QStringList();
    QString walked = folderWithoutSeparator(root);
    for (const QString &part : parts) {
        walked += PathSeparator + part;
        rows.append({walked, part, int(rows.size()), true});
    }
    const int childDepth = int(rows.size());

    QStringList names;
    for (const FolderEntry &entry : entries) {
        if (entry.isFolder && !entry.name.startsWith(u'.'))
            names.append(entry.name);
    }
    QStringList subfolders;
    for (const QString &name : sortedByName(std::move(names))) {
        const QString full = fullPath(path, name);
        subfolders.append(full);
        rows.append({full, name, childDepth, false});
    }

    m_path = path;
    m_subfolders = std::move(subfolders);
    m_model.setRows(std::move(rows));
    setCurrentIndex(m_model.index(childDepth - 1));
}

} // namespace glintbox
