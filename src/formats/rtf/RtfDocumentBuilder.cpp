#include "RtfDocumentBuilder.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace glintbox::rtf {

namespace {

// RTF's tab stops lie every half inch unless the document says otherwise.
constexpr int DefaultTabStopTwips = 720;

// A grid may hold a few empty cells per cell the input names, not a square of them.
bool gridIsReasonable(qsizetype rows, qsizetype columns, qsizetype cellsGiven)
{
    return rows * columns <= 8 * cellsGiven + 64;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument *document)
    : m_document(document)
    , m_cursor(document)
{
    m_cursor.movePosition(QTextCursor::End);
    // One edit for the whole build: the document rescans its frames and tells its layout once,
    // not after every insertion.
    m_cursor.beginEditBlock();
    setDefaultTabStop(DefaultTabStopTwips / TwipsPerPixel);
}

void RtfDocumentBuilder::setDefaultTabStop(double pixels)
{
    QTextOption option = m_document->defaultTextOption();
    option.setTabStopDistance(qBound(1.0, pixels, 2000.0));
    m_document->setDefaultTextOption(option);
}

void RtfDocumentBuilder::addNotes(std::vector<RtfParagraph> &&notes)
{
    if (notes.empty())
        return;
    RtfParagraph rule;
    rule.format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                            QTextLength(QTextLength::PercentageLength, 30));
    addParagraph(std::move(rule), false);
    for (RtfParagraph &note : notes)
        addParagraph(std::move(note), false);
}

void RtfDocumentBuilder::addParagraph(RtfParagraph &&paragraph, bool inTable)
{
    if (inTable) {
        m_cell.push_back(std::move(paragraph));
        return;
    }
    flushTable();
    writeParagraph(paragraph, m_cursor, m_blockFresh);
    m_blockFresh = false;
}

void RtfDocumentBuilder::endCell()
{
    if (m_cell.empty())
        m_cell.emplace_back();
    m_row.cells.push_back(std::move(m_cell));
    m_cell.clear();
    ++m_cellCount;
}

void RtfDocumentBuilder::endRow(const std::vector<int> &cellRightEdges, int rowLeft)
{
    if (!m_cell.empty())
        endCell();
    if (m_row.cells.empty())
        return;
    // Widths beyond the cells the row has are never used; keeping them would let a long row
    // definition repeated on many short rows cost far more than its bytes.
    int left = rowLeft;
    const size_t widths = std::min(cellRightEdges.size(), m_row.cells.size());
    for (size_t i = 0; i < widths; ++i) {
        m_row.widths.push_back(std::max(cellRightEdges[i] - left, 0));
        left = cellRightEdges[i];
    }
    m_rows.push_back(std::move(m_row));
    m_row = {};
}

void RtfDocumentBuilder::finish()
{
    flushTable();
    m_cursor.endEditBlock();
}

void RtfDocumentBuilder::flushTable()
{
    if (rowPending())
        endRow({}, 0);
    if (m_rows.empty())
        return;
    writeTable();
    m_rows.clear();
    m_cellCount = 0;
}

void RtfDocumentBuilder::writeTable()
{
    qsizetype columns = 0;
    const Row *widest = &m_rows.front();
    for (const Row &row : m_rows) {
        if (qsizetype(row.cells.size()) > columns) {
            columns = qsizetype(row.cells.size());
            widest = &row;
        }
    }
    if (!gridIsReasonable(qsizetype(m_rows.size()), columns, m_cellCount)) {
        m_warnings << QStringLiteral(
            "A table with rows of very different lengths is shown as text.");
        for (const Row &row : m_rows) {
            for (const Cell &cell : row.cells) {
                for (const RtfParagraph &paragraph : cell) {
                    writeParagraph(paragraph, m_cursor, m_blockFresh);
                    m_blockFresh = false;
                }
            }
        }
        return;
    }

    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    if (qsizetype(widest->widths.size()) >= columns) {
        QList<QTextLength> constraints;
        for (qsizetype c = 0; c < columns; ++c)
            constraints << QTextLength(QTextLength::FixedLength, widest->widths[c] / TwipsPerPixel);
        format.setColumnWidthConstraints(constraints);
    }
    QTextTable *table = m_cursor.insertTable(int(m_rows.size()), int(columns), format);
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const Row &row = m_rows[r];
        for (int c = 0; c < int(row.cells.size()); ++c) {
            QTextCursor cellCursor = table->cellAt(r, c).firstCursorPosition();
            bool fresh = true;
            for (const RtfParagraph &paragraph : row.cells[c]) {
                writeParagraph(paragraph, cellCursor, fresh);
                fresh = false;
            }
        }
    }
    m_cursor.movePosition(QTextCursor::End);
    m_blockFresh = true;
}

void RtfDocumentBuilder::writeParagraph(const RtfParagraph &paragraph, QTextCursor &cursor,
                                        bool fresh)
{
    if (fresh)
        cursor.setBlockFormat(paragraph.format);
    else
        cursor.insertBlock(paragraph.format);
    for (const RtfRun &run : paragraph.runs) {
        if (run.isImage)
            cursor.insertImage(run.format.toImageFormat());
        else
            cursor.insertText(run.text, run.format);
    }
}

QString RtfDocumentBuilder::addImage(const QImage &image)
{
    const QString name = QStringLiteral("rtf-picture-%1").arg(++m_imageCount);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    return name;
}

QString RtfDocumentBuilder::placeholderImage()
{
    const QString name = QStringLiteral("rtf-picture-placeholder");
    if (!m_placeholderAdded) {
        QImage box(32, 32, QImage::Format_ARGB32_Premultiplied);
        box.fill(QColor(0xE8, 0xE8, 0xE8));
        QPainter painter(&box);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(0, 0, 31, 31);
        painter.drawLine(0, 0, 31, 31);
        painter.drawLine(0, 31, 31, 0);
        painter.end();
        m_document->addResource(QTextDocument::ImageResource, QUrl(name), box);
        m_placeholderAdded = true;
    }
    return name;
}

} // namespace glintbox::rtf
