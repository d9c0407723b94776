#pragma once

#include <QAbstractTableModel>
#include <QList>

namespace glintbox {

struct FoundFiles;

// The rows of the results list ListResults: the file name, then the folder
// text ending in the separator. Names are kept as the file system gave them;
// what is shown turns bytes that are not UTF-8 into U+FFFD. Rows wait until
// showPending(): a view lays out all its rows again after each insertion, so
// a walk adds its finds in batches.
class FoundFilesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QString name;
        QString folderText;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void append(const FoundFiles &found);
    void showPending();
    void clear();
    const Row &row(int index) const { return m_rows[index]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<Row> m_rows;
    QList<Row> m_pending;
};

} // namespace glintbox
