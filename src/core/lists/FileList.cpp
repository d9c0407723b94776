#include "FileList.h"

#include "NameOrder.h"
#include "core/FileNameBytes.h"
#include "core/FileSystem.h"
#include "core/RunTimeError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace glintbox {

void FileListModel::setNames(QStringList names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return displayableFileName(m_names[index.row()]);
    if (role == Qt::DecorationRole) {
        static const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        return icon;
    }
    return {};
}

QStringList listMatchingFiles(FileSystem &fs, const QString &folder, const WildcardPattern &pattern,
                              const QString &admitted)
{
    const std::vector<FolderEntry> entries = fs.list(folder);
    QStringList names;
    for (const FolderEntry &entry : entries) {
        const bool listed =
            entry.name == admitted || (!entry.name.startsWith(u'.') && pattern.matches(entry.name));
        if (!entry.isFolder && listed)
            names.append(entry.name);
    }
    return sortedByName(std::move(names));
}

FileList::FileList(FileSystem &fs, QWidget *parent)
    : QListView(parent)
    , m_fs(fs)
{
    setObjectName(QStringLiteral("File1"));
    setModel(&m_model);
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection, not the current row, names the file: a mouse press moves
    // the current row before it selects, the keys select before they move it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) { onSelectionChanged(selected); });
}

void FileList::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_admitted.clear();
    reload(path);
}

void FileList::setPattern(const QString &pattern)
{
    m_admitted.clear();
    m_pattern = WildcardPattern(pattern);
    if (!m_path.isEmpty())
        reload(m_path);
}

void FileList::admit(const QString &name)
{
    m_admitted = name;
    reload(m_path);
}

void FileList::refresh()
{
    reload(m_path);
}

void FileList::reload(const QString &path)
{
    QStringList names = listMatchingFiles(m_fs, path, m_pattern, m_admitted);
    m_path = path;
    const QSignalBlocker blocker(selectionModel());
    m_model.setNames(std::move(names));
    scrollToTop();
}

int FileList::listIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void FileList::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        throw RunTimeError(InvalidPropertyValue);
    m_selectingFromCode = true;
    if (index == -1) {
        clearSelection();
        setCurrentIndex({});
        m_selectingFromCode = false;
        return;
    }
    setCurrentIndex(m_model.index(index));
    scrollTo(currentIndex());
    m_selectingFromCode = false;
    emit click();
}

QString FileList::fileName() const
{
    const int index = listIndex();
    return index >= 0 ? entry(index) : QString();
}

void FileList::onSelectionChanged(const QItemSelection &selected)
{
    if (!m_selectingFromCode && !selected.isEmpty())
        emit click();
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    // The key reaches the viewer's key handler and still moves the list.
    if (!event->text().isEmpty())
        emit keyPressed(event->text().at(0).unicode());
    QListView::keyPressEvent(event);
}

void FileList::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex hit = indexAt(event->position().toPoint());
    const bool wasSelected = hit.isValid() && selectionModel()->isSelected(hit);
    QListView::mousePressEvent(event);
    // A click on the entry already selected changes no selection, yet shows
    // the file again.
    if (wasSelected && selectionModel()->isSelected(hit))
        emit click();
}

} // namespace glintbox
