#pragma once

#include <QImage>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextImageFormat>

#include <vector>

class QTextDocument;

namespace glintbox::rtf {

// Document units are pixels at 96 DPI; RTF measures in twips.
constexpr double TwipsPerPixel = 15.0;

// A stretch of text in one format, or one inline picture.
struct RtfRun {
    QString text;
    QTextCharFormat format; // a QTextImageFormat for a picture
    bool isImage = false;
};

// One paragraph as the reader assembled it.
struct RtfParagraph {
    QTextBlockFormat format;
    std::vector<RtfRun> runs;
};

// Assembles paragraphs, table rows and pictures into a QTextDocument. Table rows are gathered
// until the table ends, because RTF states a table's shape only row by row.
class RtfDocumentBuilder {
public:
    explicit RtfDocumentBuilder(QTextDocument *document);

    void addParagraph(RtfParagraph &&paragraph, bool inTable);
    void endCell();
    // cellRightEdges: the row's \cellx positions in twips, left edge first.
    void endRow(const std::vector<int> &cellRightEdges, int rowLeft);
    bool rowPending() const { return !m_cell.empty() || !m_row.cells.empty(); }
    // Footnotes go after the text, below a short rule.
    void addNotes(std::vector<RtfParagraph> &&notes);
    void setDefaultTabStop(double pixels);
    void finish();

    // Registers a picture with the document and returns the name to refer to it by.
    QString addImage(const QImage &image);
    // One shared small box stands for every picture that cannot be shown.
    QString placeholderImage();

    const QStringList &warnings() const { return m_warnings; }

private:
    using Cell = std::vector<RtfParagraph>;
    struct Row {
        std::vector<Cell> cells;
        std::vector<int> widths; // twips
    };

    void flushTable();
    void writeTable();
    void writeParagraph(const RtfParagraph &paragraph, QTextCursor &cursor, bool fresh);

    QTextDocument *m_document;
    QTextCursor m_cursor;
    bool m_blockFresh = true; // the cursor's block is empty and still unused
    Cell m_cell;
    Row m_row;
    std::vector<Row> m_rows;
    qsizetype m_cellCount = 0;
    int m_imageCount = 0;
    bool m_placeholderAdded = false;
    QStringList m_warnings;
};

} // namespace glintbox::rtf
