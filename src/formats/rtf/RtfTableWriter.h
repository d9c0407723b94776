#pragma once

#include "RtfContent.h"

#include <QStringList>

class QTextTable;

namespace glintbox::rtf {

// Lays one RTF table out as a QTextTable: a column grid shared by rows whose cells have
// different edges, merged cells, each cell's lines and fill, row heights, and the tables nested
// in cells.
class RtfTableWriter {
public:
    explicit RtfTableWriter(QStringList *warnings)
        : m_warnings(warnings)
    {
    }

    // Inserts the table at the cursor and leaves the cursor on the fresh block after it.
    void write(const RtfTable &table, QTextCursor &cursor, bool &fresh);

private:
    struct Placed;
    void writeAsText(const RtfTable &table, QTextCursor &cursor, bool &fresh);
    void writeCell(const std::vector<const RtfCell *> &parts, QTextCursor cursor);
    void formatCell(QTextTable *table, const Placed &cell, const RtfTable &source, int rows,
                    int columns);

    QStringList *m_warnings;
};

} // namespace glintbox::rtf
