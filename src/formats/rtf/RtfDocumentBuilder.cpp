#include "RtfDocumentBuilder.h"

#include "RtfTableWriter.h"

#include <QPainter>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace glintbox::rtf {

namespace {

// RTF's tab stops lie every half inch unless the document says otherwise.
constexpr int DefaultTabStopTwips = 720;

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
    addParagraph(std::move(rule), 0);
    for (RtfParagraph &note : notes)
        addParagraph(std::move(note), 0);
}

void RtfDocumentBuilder::addParagraph(RtfParagraph &&paragraph, int depth)
{
    depth = std::clamp(depth, 0, MaxTableDepth);
    closeLevelsBelow(depth);
    if (depth > 0) {
        levelAt(depth).cell.push_back({std::move(paragraph), nullptr});
        return;
    }
    writeParagraph(paragraph, m_cursor, m_blockFresh);
    m_blockFresh = false;
}

RtfDocumentBuilder::Level &RtfDocumentBuilder::levelAt(int depth)
{
    while (int(m_levels.size()) < depth)
        m_levels.emplace_back();
    return m_levels[size_t(depth) - 1];
}

void RtfDocumentBuilder::endCell(int depth)
{
    depth = std::clamp(depth, 1, MaxTableDepth);
    closeLevelsBelow(depth);
    Level &level = levelAt(depth);
    if (level.cell.empty())
        level.cell.emplace_back();
    level.row.cells.push_back(std::move(level.cell));
    level.cell.clear();
    for (Level &enclosing : m_levels)
        ++enclosing.table.cellCount;
}

void RtfDocumentBuilder::endRow(const RtfRowDefinition &definition, int depth)
{
    depth = std::clamp(depth, 1, MaxTableDepth);
    closeLevelsBelow(depth);
    if (int(m_levels.size()) < depth)
        return;
    Level &level = m_levels[size_t(depth) - 1];
    if (!level.cell.empty())
        endCell(depth);
    if (level.row.cells.empty())
        return;
    level.row.definition = definition;
    // Definitions beyond the cells the row has are never used; keeping them would let a long
    // row definition repeated on many short rows cost far more than its bytes.
    if (level.row.definition.cells.size() > level.row.cells.size())
        level.row.definition.cells.resize(level.row.cells.size());
    level.table.rows.push_back(std::move(level.row));
    level.row = {};
}

void RtfDocumentBuilder::closeLevelsBelow(int depth)
{
    while (int(m_levels.size()) > depth) {
        const int deepest = int(m_levels.size());
        if (!m_levels.back().cell.empty() || !m_levels.back().row.cells.empty())
            endRow(m_levels.back().row.definition, deepest);
        RtfTable table = std::move(m_levels.back().table);
        m_levels.pop_back();
        if (table.rows.empty())
            continue;
        if (!m_levels.empty()) {
            m_levels.back().cell.push_back({{}, std::make_unique<RtfTable>(std::move(table))});
            continue;
        }
        RtfTableWriter(&m_warnings).write(table, m_cursor, m_blockFresh);
    }
}

void RtfDocumentBuilder::finish()
{
    closeLevelsBelow(0);
    m_cursor.endEditBlock();
}

void writeParagraph(const RtfParagraph &paragraph, QTextCursor &cursor, bool fresh)
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
