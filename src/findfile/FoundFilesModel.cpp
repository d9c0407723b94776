#include "FoundFilesModel.h"

#include "DirDiver.h"
#include "core/FileNameBytes.h"

namespace glintbox {

void FoundFilesModel::append(const FoundFiles &found)
{
    for (const QString &name : found.names)
        m_pending.append({name, found.folderText});
}

void FoundFilesModel::showPending()
{
    if (m_pending.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(m_pending.size()) - 1);
    m_rows.append(std::move(m_pending));
    m_pending.clear();
    endInsertRows();
}

void FoundFilesModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_pending.clear();
    endResetModel();
}

int FoundFilesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FoundFilesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant FoundFilesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const Row &row = m_rows[index.row()];
    return displayableFileName(index.column() == 0 ? row.name : row.folderText);
}

QVariant FoundFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Name") : QStringLiteral("In Folder");
}

} // namespace glintbox
