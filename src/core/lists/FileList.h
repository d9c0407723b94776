#pragma once

#include "WildcardPattern.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

namespace glintbox {

class FileSystem;

// The names of one folder's files, as the file list shows them.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(QStringList names);
    const QStringList &names() const { return m_names; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_names;
};

// The names of a folder's files that match the pattern, hidden files left out,
// sorted by name without regard to case; the admitted name is listed whatever
// its name. Pure apart from the one listing.
QStringList listMatchingFiles(FileSystem &fs, const QString &folder, const WildcardPattern &pattern,
                              const QString &admitted = {});

// The file list control File1: the files of one folder that match a pattern.
// Selecting an entry, by the user or by setting the list index from code,
// raises click() at once.
class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(FileSystem &fs, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Re-reads the list unless it already shows this folder. Throws
    // RunTimeError when the folder cannot be read; the list is then unchanged.
    void setPath(const QString &path);

    QString pattern() const { return m_pattern.text(); }
    void setPattern(const QString &pattern);
    // Lists this file of the current folder even where the pattern or the
    // hidden-name rule leaves it out: the file the user asked to open. The
    // exception ends when the list takes another folder or pattern.
    void admit(const QString &name);

    int listCount() const { return int(m_model.names().size()); }
    QString entry(int index) const { return m_model.names().value(index); }
    int indexOf(const QString &name) const { return int(m_model.names().indexOf(name)); }
    int listIndex() const;
    void setListIndex(int index);
    // The bare name of the selected entry, empty when none is selected.
    QString fileName() const;

    void refresh();

signals:
    void click();
    void keyPressed(int keyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void reload(const QString &path);
    void onSelectionChanged(const QItemSelection &selected);

    FileSystem &m_fs;
    FileListModel m_model;
    QString m_path;
    WildcardPattern m_pattern;
    QString m_admitted;
    bool m_selectingFromCode = false;
};

} // namespace glintbox
