#include "RtfTableWriter.h"

#include <QTextTable>

#include <algorithm>

namespace glintbox::rtf {

namespace {

constexpr int MinCellTwips = 45;
constexpr int MissingCellTwips = 1440;
// Edges of different rows closer than this are one column edge: writers round them apart.
constexpr int SnapTwips = 30;
constexpr double PixelsPerPoint = 96.0 / 72.0;

// A grid may hold many empty cells per cell the input names, not a square of them.
bool gridIsReasonable(qsizetype rows, qsizetype columns, qsizetype cellsGiven)
{
    return rows * columns <= 32 * cellsGiven + 1024;
}

// The cell edges of a row in twips, left edge first; missing and reversed edges made good.
// Wide enough that a row of very many cells cannot overflow.
std::vector<qint64> rowEdges(const RtfRow &row)
{
    std::vector<qint64> edges{row.definition.left};
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const qint64 right = i < row.definition.cells.size() ? row.definition.cells[i].rightEdge
                                                             : edges.back() + MissingCellTwips;
        edges.push_back(std::max(right, edges.back() + MinCellTwips));
    }
    return edges;
}

// A rough height of a cell's content in pixels, one line per paragraph.
double contentHeight(const std::vector<const RtfCell *> &parts)
{
    double height = 0;
    for (const RtfCell *cell : parts) {
        for (const RtfCellItem &item : *cell) {
            if (item.table)
                return 1e9; // a nested table: the row grows with it anyway
            double points = 12;
            for (const RtfRun &run : item.paragraph.runs)
                points = std::max(points, run.format.fontPointSize());
            height += points * PixelsPerPoint * 1.17 + item.paragraph.format.topMargin() +
                      item.paragraph.format.bottomMargin();
        }
    }
    return height;
}

bool isEmpty(const RtfCell &cell)
{
    return std::all_of(cell.begin(), cell.end(), [](const RtfCellItem &item) {
        return !item.table && std::all_of(item.paragraph.runs.begin(), item.paragraph.runs.end(),
                                          [](const RtfRun &run) {
                                              return !run.isImage && run.text.trimmed().isEmpty();
                                          });
    });
}

} // namespace

struct RtfTableWriter::Placed {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    bool firstInRow = false;
    bool lastInRow = false;
    const RtfCellDefinition *definition = nullptr;
    std::vector<const RtfCell *> parts; // merged cells contribute their content in order
};

void RtfTableWriter::write(const RtfTable &table, QTextCursor &cursor, bool &fresh)
{
    const int rows = int(table.rows.size());
    std::vector<std::vector<qint64>> edges;
    std::vector<qint64> allEdges;
    for (const RtfRow &row : table.rows) {
        edges.push_back(rowEdges(row));
        allEdges.insert(allEdges.end(), edges.back().begin(), edges.back().end());
    }
    std::sort(allEdges.begin(), allEdges.end());
    std::vector<qint64> grid;
    for (const qint64 edge : allEdges) {
        if (grid.empty() || edge - grid.back() >= SnapTwips)
            grid.push_back(edge);
    }
    const int columns = std::max(int(grid.size()) - 1, 1);
    if (!gridIsReasonable(rows, columns, table.cellCount)) {
        *m_warnings << QStringLiteral(
            "A table with rows of very different lengths is shown as text.");
        writeAsText(table, cursor, fresh);
        return;
    }
    auto columnOf = [&](qint64 edge) {
        return int(std::upper_bound(grid.begin(), grid.end(), edge) - grid.begin()) - 1;
    };

    // Place every cell on the grid; merged cells join the cell they continue.
    static const RtfCellDefinition plainCell;
    std::vector<Placed> placed;
    std::vector<int> owner(size_t(rows) * size_t(columns), -1);
    auto ownerAt = [&](int r, int c) -> int & { return owner[size_t(r) * columns + c]; };
    auto isFree = [&](int r, int from, int to) {
        for (int c = from; c < to; ++c) {
            if (ownerAt(r, c) >= 0)
                return false;
        }
        return true;
    };
    auto claim = [&](int index, int r, int from, int to) {
        for (int c = from; c < to; ++c)
            ownerAt(r, c) = index;
    };
    std::vector<size_t> rowStarts; // the cells placed first in each row follow one another
    for (int r = 0; r < rows; ++r) {
        rowStarts.push_back(placed.size());
        const RtfRow &row = table.rows[r];
        int previous = -1;
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const RtfCellDefinition &definition =
                i < row.definition.cells.size() ? row.definition.cells[i] : plainCell;
            const int first = std::clamp(columnOf(edges[r][i]), 0, columns - 1);
            const int end = std::clamp(columnOf(edges[r][i + 1]), first + 1, columns);
            const RtfCell *content = &row.cells[i];
            using Merge = RtfCellDefinition::Merge;
            if (definition.horizontal == Merge::Continue && previous >= 0 &&
                placed[previous].rowSpan == 1 &&
                isFree(r, placed[previous].column + placed[previous].columnSpan, end)) {
                Placed &cell = placed[previous];
                claim(previous, r, cell.column + cell.columnSpan, end);
                cell.columnSpan = std::max(cell.columnSpan, end - cell.column);
                if (!isEmpty(*content))
                    cell.parts.push_back(content);
                cell.lastInRow = i + 1 == row.cells.size();
                continue;
            }
            if (definition.vertical == Merge::Continue && r > 0 && ownerAt(r - 1, first) >= 0) {
                const int above = ownerAt(r - 1, first);
                Placed &cell = placed[above];
                if (cell.column == first && cell.row + cell.rowSpan == r &&
                    isFree(r, first, first + cell.columnSpan)) {
                    claim(above, r, first, first + cell.columnSpan);
                    ++cell.rowSpan;
                    if (!isEmpty(*content))
                        cell.parts.push_back(content);
                    previous = above;
                    continue;
                }
            }
            int column = first;
            while (column < columns && ownerAt(r, column) >= 0)
                ++column;
            if (column == columns) {
                // No room left in the row (edges that run backwards): keep the text.
                if (previous >= 0)
                    placed[previous].parts.push_back(content);
                continue;
            }
            int span = 1;
            while (column + span < end && ownerAt(r, column + span) < 0)
                ++span;
            Placed cell;
            cell.row = r;
            cell.column = column;
            cell.columnSpan = span;
            cell.firstInRow = i == 0;
            cell.lastInRow = i + 1 == row.cells.size();
            cell.definition = &definition;
            cell.parts.push_back(content);
            previous = int(placed.size());
            claim(previous, r, column, column + span);
            placed.push_back(std::move(cell));
        }
    }

    QTextTableFormat format;
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setAlignment(table.rows.front().definition.alignment);
    if (grid.front() > 0 && format.alignment() == Qt::AlignLeft)
        format.setLeftMargin(grid.front() / TwipsPerPixel);
    QList<QTextLength> widths;
    for (int c = 0; c < columns; ++c) {
        const qint64 width =
            c + 1 < int(grid.size()) ? grid[c + 1] - grid[c] : qint64(MissingCellTwips);
        widths << QTextLength(QTextLength::FixedLength, width / TwipsPerPixel);
    }
    format.setColumnWidthConstraints(widths);
    QTextTable *textTable = cursor.insertTable(rows, columns, format);
    for (const Placed &cell : placed) {
        if (cell.rowSpan > 1 || cell.columnSpan > 1)
            textTable->mergeCells(cell.row, cell.column, cell.rowSpan, cell.columnSpan);
        formatCell(textTable, cell, table, rows, columns);
    }
    // A row height is met by padding the cell with the most content, so the others keep their
    // vertical alignment.
    for (int r = 0; r < rows; ++r) {
        const int height = std::abs(table.rows[r].definition.height);
        if (height == 0)
            continue;
        const Placed *tallest = nullptr;
        double tallestHeight = -1;
        const size_t end = r + 1 < rows ? rowStarts[size_t(r) + 1] : placed.size();
        for (size_t i = rowStarts[size_t(r)]; i < end; ++i) {
            const Placed &cell = placed[i];
            if (cell.rowSpan != 1)
                continue;
            const double content = contentHeight(cell.parts);
            if (content > tallestHeight)
                tallest = &cell, tallestHeight = content;
        }
        const double missing = height / TwipsPerPixel - tallestHeight;
        if (tallest && missing > 0) {
            QTextTableCell cell = textTable->cellAt(tallest->row, tallest->column);
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBottomPadding(cellFormat.bottomPadding() + missing);
            cell.setFormat(cellFormat);
        }
    }
    for (const Placed &cell : placed)
        writeCell(cell.parts, textTable->cellAt(cell.row, cell.column).firstCursorPosition());
    cursor.setPosition(textTable->lastPosition() + 1);
    fresh = true;
}

void RtfTableWriter::formatCell(QTextTable *table, const Placed &cell, const RtfTable &source,
                                int rows, int columns)
{
    const RtfCellDefinition &definition = *cell.definition;
    const RtfRowDefinition &row = source.rows[cell.row].definition;
    const RtfRowDefinition &lastRow = source.rows[cell.row + cell.rowSpan - 1].definition;
    // A side the cell does not name takes the row's line: outer on the table's edge, inner
    // between cells.
    auto border = [&](RtfSide side) -> RtfBorder {
        if (definition.borders[side].given)
            return definition.borders[side];
        switch (side) {
        case SideTop:
            return row.borders[cell.row == 0 ? SideTop : SideHorizontal];
        case SideBottom:
            return lastRow.borders[cell.row + cell.rowSpan == rows ? SideBottom : SideHorizontal];
        case SideLeft:
            return row.borders[cell.firstInRow || cell.column == 0 ? SideLeft : SideVertical];
        default:
            return row
                .borders[cell.lastInRow || cell.column + cell.columnSpan == columns ? SideRight
                                                                                    : SideVertical];
        }
    };
    QTextTableCellFormat format;
    for (const RtfSide side : {SideTop, SideLeft, SideBottom, SideRight}) {
        const RtfBorder line = border(side);
        format.setProperty(CellSides[side].width, line.width);
        format.setProperty(CellSides[side].style, int(line.style));
        format.setProperty(CellSides[side].brush, QBrush(line.colour));
    }
    const double gap = std::clamp(row.gap / TwipsPerPixel, 0.0, 50.0);
    format.setLeftPadding(gap);
    format.setRightPadding(gap);
    format.setTopPadding(1);
    format.setBottomPadding(1);
    if (definition.shading)
        format.setBackground(*definition.shading);
    if (definition.alignment != QTextCharFormat::AlignTop)
        format.setVerticalAlignment(definition.alignment);
    table->cellAt(cell.row, cell.column).setFormat(format);
}

void RtfTableWriter::writeCell(const std::vector<const RtfCell *> &parts, QTextCursor cursor)
{
    bool fresh = true;
    for (const RtfCell *cell : parts) {
        for (const RtfCellItem &item : *cell) {
            if (item.table) {
                write(*item.table, cursor, fresh);
            } else {
                writeParagraph(item.paragraph, cursor, fresh);
                fresh = false;
            }
        }
    }
}

void RtfTableWriter::writeAsText(const RtfTable &table, QTextCursor &cursor, bool &fresh)
{
    for (const RtfRow &row : table.rows) {
        for (const RtfCell &cell : row.cells) {
            for (const RtfCellItem &item : cell) {
                if (item.table) {
                    writeAsText(*item.table, cursor, fresh);
                } else {
                    writeParagraph(item.paragraph, cursor, fresh);
                    fresh = false;
                }
            }
        }
    }
}

} // namespace glintbox::rtf
