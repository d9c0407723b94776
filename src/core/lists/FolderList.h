#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

namespace glintbox {

class DriveSource;
class FileSystem;

// The rows of the folder list: the folders from the drive root down to the
// current folder, then the current folder's subfolders one level deeper.
class FolderListModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QString path;
        QString label;
        int depth = 0;
        bool isOpen = false; // on the way from the root to the current folder
    };

    using QAbstractListModel::QAbstractListModel;
    void setRows(QList<Row> rows);
    const QList<Row> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<Row> m_rows;
};

// The folder list control Dir1: a drive root ends in the separator, every
// other folder does not. Changing the path raises changed() at once.
class FolderList : public QListView {
    Q_OBJECT
public:
    FolderList(FileSystem &fs, DriveSource &drives, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Accepts a folder or a drive text (which means the drive's root). Throws
    // RunTimeError: 68 when its drive is not ready, 76 when it is no folder.
    void setPath(const QString &path);

    // The subfolders of the current folder, as full paths.
    int listCount() const { return int(m_subfolders.size()); }
    QString entry(int index) const { return m_subfolders.value(index); }

    void refresh();

signals:
    void changed();
    // The user opened a folder (double click or Enter); the window sets it.
    void folderChosen(const QString &path);

private:
    QString normalised(const QString &path) const;
    void reload(const QString &path);

    FileSystem &m_fs;
    DriveSource &m_drives;
    FolderListModel m_model;
    QString m_path;
    QStringList m_subfolders;
};

} // namespace glintbox
