#include "RtfReader.h"

#include "RtfCodePage.h"
#include "RtfDocumentBuilder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace glintbox {

namespace rtf {
namespace {

constexpr int DefaultTableWidth = 9000; // twips shared by columns of no fixed width
constexpr int HexLineLength = 128;

int toTwips(double pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

QString familyOf(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    QString family =
        families.isEmpty() ? format.stringProperty(QTextFormat::FontFamily) : families.first();
    return family.remove(u';'); // the font table ends each name with one
}

// Collects the blocks of a frame and of the frames inside it, in document order.
void collectBlocks(QTextFrame *frame, std::vector<QTextBlock> *blocks)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame())
            collectBlocks(child, blocks);
        else
            blocks->push_back(it.currentBlock());
    }
}

// Writes one document; fonts and colours are gathered first because RTF declares them up front.
class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument &document)
        : m_document(document)
    {
    }

    QByteArray write();

private:
    void gatherTables();
    void gatherCellColours(QTextTable *table);
    void writeHeader();
    void writeFlow();
    QByteArray rowDefinition(QTextTable *table, int row, const std::vector<int> &edges);
    void writeTable(QTextTable *table, int depth);
    void writeCell(const QTextTableCell &cell, int depth);
    void writeBlock(const QTextBlock &block, int tableDepth);
    void writeParagraphFormat(const QTextBlockFormat &format, int tableDepth);
    void writeFragment(const QTextFragment &fragment);
    void writeCharFormat(const QTextCharFormat &format);
    void writeImage(const QTextImageFormat &format);
    void writeText(QStringView text);
    int colourIndex(const QColor &colour);
    void word(const char *name, int value);

    const QTextDocument &m_document;
    QByteArray m_out;
    QStringList m_fonts;
    QList<QColor> m_colours; // entry 0, automatic, is implied
};

QByteArray RtfWriter::write()
{
    gatherTables();
    writeHeader();
    writeFlow();
    m_out += "}\n";
    return m_out;
}

void RtfWriter::gatherTables()
{
    QSet<QTextTable *> tables;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        QTextTable *table = QTextCursor(block).currentTable();
        if (table && !tables.contains(table)) {
            tables.insert(table);
            gatherCellColours(table);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString family = familyOf(format);
            if (!family.isEmpty() && !m_fonts.contains(family))
                m_fonts << family;
            if (format.foreground().style() != Qt::NoBrush)
                colourIndex(format.foreground().color());
            if (format.background().style() != Qt::NoBrush)
                colourIndex(format.background().color());
        }
    }
}

void RtfWriter::gatherCellColours(QTextTable *table)
{
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCellFormat format = table->cellAt(r, c).format().toTableCellFormat();
            if (format.background().style() != Qt::NoBrush)
                colourIndex(format.background().color());
            for (const RtfCellSide &side : CellSides) {
                const QBrush brush = format.brushProperty(side.brush);
                if (brush.style() != Qt::NoBrush)
                    colourIndex(brush.color());
            }
        }
    }
}

int RtfWriter::colourIndex(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    qsizetype index = m_colours.indexOf(rgb);
    if (index < 0) {
        m_colours << rgb;
        index = m_colours.size() - 1;
    }
    return int(index) + 1;
}

void RtfWriter::word(const char *name, int value)
{
    m_out += '\\';
    m_out += name;
    m_out += QByteArray::number(value);
}

void RtfWriter::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{";
        word("f", int(i));
        m_out += "\\fnil\\fcharset0 ";
        writeText(m_fonts.at(i));
        m_out += ";}";
    }
    m_out += "}\n{\\colortbl;";
    for (const QColor &colour : std::as_const(m_colours)) {
        word("red", colour.red());
        word("green", colour.green());
        word("blue", colour.blue());
        m_out += ';';
    }
    m_out += "}\n";
}

void RtfWriter::writeFlow()
{
    struct Item {
        QTextBlock block;
        QTextTable *table = nullptr;
    };
    std::vector<Item> items;
    QTextFrame *root = m_document.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame)) {
                items.push_back({{}, table});
            } else {
                std::vector<QTextBlock> blocks;
                collectBlocks(frame, &blocks);
                for (const QTextBlock &block : blocks)
                    items.push_back({block, nullptr});
            }
        } else {
            items.push_back({it.currentBlock(), nullptr});
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].table) {
            writeTable(items[i].table, 1);
            continue;
        }
        const QTextBlock &block = items[i].block;
        const bool last = i + 1 == items.size();
        const bool empty = block.length() <= 1;
        writeBlock(block, 0);
        if (!last) {
            const bool pageBreak =
                items[i + 1].block.isValid() && items[i + 1].block.blockFormat().pageBreakPolicy() &
                                                    QTextFormat::PageBreak_AlwaysBefore;
            m_out += pageBreak ? "\\page\n" : "\\par\n";
        } else if (empty) {
            // A closing empty paragraph needs its mark, or reading would drop it.
            m_out += "\\par\n";
        }
    }
}

QByteArray RtfWriter::rowDefinition(QTextTable *table, int row, const std::vector<int> &edges)
{
    const QByteArray saved = std::exchange(m_out, "\\trowd");
    const QTextTableFormat tableFormat = table->format();
    word("trgaph", toTwips(table->cellAt(row, 0).format().toTableCellFormat().leftPadding()));
    word("trleft", toTwips(tableFormat.leftMargin()));
    if (tableFormat.alignment() & Qt::AlignHCenter)
        m_out += "\\trqc";
    else if (tableFormat.alignment() & Qt::AlignRight)
        m_out += "\\trqr";
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.column() < c)
            m_out += "\\clmrg";
        else if (cell.columnSpan() > 1)
            m_out += "\\clmgf";
        if (cell.row() < row)
            m_out += "\\clvmrg";
        else if (cell.rowSpan() > 1)
            m_out += "\\clvmgf";
        const QTextTableCellFormat format = cell.format().toTableCellFormat();
        if (format.verticalAlignment() == QTextCharFormat::AlignMiddle)
            m_out += "\\clvertalc";
        else if (format.verticalAlignment() == QTextCharFormat::AlignBottom)
            m_out += "\\clvertalb";
        for (const RtfCellSide &side : CellSides) {
            // A cell that names no line of its own shows the table's.
            const double width = format.hasProperty(side.width) ? format.doubleProperty(side.width)
                                                                : tableFormat.border();
            if (toTwips(width) <= 0)
                continue;
            m_out += side.word;
            const auto style = format.hasProperty(side.style)
                                   ? QTextFrameFormat::BorderStyle(format.intProperty(side.style))
                                   : QTextFrameFormat::BorderStyle_Solid;
            m_out += style == QTextFrameFormat::BorderStyle_Double   ? "\\brdrdb"
                     : style == QTextFrameFormat::BorderStyle_Dotted ? "\\brdrdot"
                     : style == QTextFrameFormat::BorderStyle_Dashed ? "\\brdrdash"
                                                                     : "\\brdrs";
            word("brdrw", toTwips(width));
            const QBrush brush = format.brushProperty(side.brush);
            if (brush.style() != Qt::NoBrush)
                word("brdrcf", colourIndex(brush.color()));
        }
        if (format.background().style() != Qt::NoBrush)
            word("clcbpat", colourIndex(format.background().color()));
        word("cellx", edges[size_t(c)]);
    }
    return std::exchange(m_out, saved);
}

void RtfWriter::writeTable(QTextTable *table, int depth)
{
    const int columns = table->columns();
    const QList<QTextLength> constraints = table->format().columnWidthConstraints();
    std::vector<int> edges;
    int edge = toTwips(table->format().leftMargin());
    for (int c = 0; c < columns; ++c) {
        const bool fixed =
            c < constraints.size() && constraints[c].type() == QTextLength::FixedLength;
        edge += fixed ? toTwips(constraints[c].rawValue()) : DefaultTableWidth / columns;
        edges.push_back(edge);
    }
    const QByteArray nesting = depth > 1 ? "\\itap" + QByteArray::number(depth) : QByteArray();
    for (int r = 0; r < table->rows(); ++r) {
        const QByteArray definition = rowDefinition(table, r, edges);
        if (depth == 1)
            m_out += definition + '\n';
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            // A merged cell shows its content once, at its first position.
            if (cell.row() == r && cell.column() == c)
                writeCell(cell, depth);
            else
                m_out += "\\pard\\intbl" + nesting + ' ';
            m_out += depth == 1 ? "\\cell\n" : "\\nestcell\n";
        }
        if (depth == 1)
            m_out += "\\row\n";
        else
            m_out += "{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\n";
    }
}

void RtfWriter::writeCell(const QTextTableCell &cell, int depth)
{
    bool paragraphOpen = false;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        std::vector<QTextBlock> blocks;
        if (auto *nested = qobject_cast<QTextTable *>(it.currentFrame())) {
            if (paragraphOpen)
                m_out += "\\par\n";
            paragraphOpen = false;
            writeTable(nested, depth + 1);
            continue;
        }
        if (QTextFrame *frame = it.currentFrame())
            collectBlocks(frame, &blocks);
        else
            blocks.push_back(it.currentBlock());
        for (const QTextBlock &block : blocks) {
            if (paragraphOpen)
                m_out += "\\par\n";
            writeBlock(block, depth);
            paragraphOpen = true;
        }
    }
    if (!paragraphOpen) {
        m_out += "\\pard\\intbl";
        if (depth > 1)
            word("itap", depth);
        m_out += ' ';
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int tableDepth)
{
    writeParagraphFormat(block.blockFormat(), tableDepth);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        writeFragment(it.fragment());
}

void RtfWriter::writeParagraphFormat(const QTextBlockFormat &format, int tableDepth)
{
    m_out += "\\pard";
    if (tableDepth > 0)
        m_out += "\\intbl";
    if (tableDepth > 1)
        word("itap", tableDepth);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        m_out += "\\qc";
    else if (alignment & Qt::AlignRight)
        m_out += "\\qr";
    else if (alignment & Qt::AlignJustify)
        m_out += "\\qj";
    auto twips = [this](const char *name, double pixels) {
        if (const int value = toTwips(pixels))
            word(name, value);
    };
    twips("li", format.leftMargin());
    twips("ri", format.rightMargin());
    twips("fi", format.textIndent());
    twips("sb", format.topMargin());
    twips("sa", format.bottomMargin());
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        word("sl", int(std::lround(format.lineHeight() * 240.0 / 100.0)));
        m_out += "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        word("sl", toTwips(format.lineHeight()));
        m_out += "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        word("sl", -toTwips(format.lineHeight()));
        m_out += "\\slmult0";
        break;
    default:
        break;
    }
    // The layout measures tab stops from where the first line starts, RTF from the left edge.
    const int lineStart = toTwips(format.leftMargin() + format.textIndent());
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            m_out += "\\tqr";
        else if (tab.type == QTextOption::CenterTab)
            m_out += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab)
            m_out += "\\tqdec";
        word("tx", toTwips(tab.position) + lineStart);
    }
    m_out += ' ';
}

void RtfWriter::writeFragment(const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        for (int i = 0; i < fragment.length(); ++i)
            writeImage(format.toImageFormat());
        return;
    }
    const QString href = format.isAnchor() ? format.anchorHref() : QString();
    if (!href.isEmpty()) {
        m_out += "{\\field{\\*\\fldinst HYPERLINK \"";
        QString target = href;
        writeText(target.replace(u'"', QLatin1String("%22")));
        m_out += "\"}{\\fldrslt ";
    }
    m_out += '{';
    writeCharFormat(format);
    m_out += ' ';
    writeText(fragment.text());
    m_out += '}';
    if (!href.isEmpty())
        m_out += "}}";
}

void RtfWriter::writeCharFormat(const QTextCharFormat &format)
{
    m_out += "\\plain";
    const QString family = familyOf(format);
    if (!family.isEmpty())
        word("f", int(m_fonts.indexOf(family)));
    if (format.fontPointSize() > 0)
        word("fs", int(std::lround(format.fontPointSize() * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        m_out += "\\b";
    if (format.fontItalic())
        m_out += "\\i";
    switch (format.underlineStyle()) {
    case QTextCharFormat::NoUnderline:
        break;
    case QTextCharFormat::DashUnderline:
        m_out += "\\uldash";
        break;
    case QTextCharFormat::DotLine:
        m_out += "\\uld";
        break;
    case QTextCharFormat::DashDotLine:
        m_out += "\\uldashd";
        break;
    case QTextCharFormat::DashDotDotLine:
        m_out += "\\uldashdd";
        break;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        m_out += "\\ulwave";
        break;
    default:
        m_out += "\\ul";
        break;
    }
    if (format.fontStrikeOut())
        m_out += "\\strike";
    if (format.fontCapitalization() == QFont::AllUppercase)
        m_out += "\\caps";
    else if (format.fontCapitalization() == QFont::SmallCaps)
        m_out += "\\scaps";
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out += "\\sub";
    if (format.foreground().style() != Qt::NoBrush)
        word("cf", colourIndex(format.foreground().color()));
    if (format.background().style() != Qt::NoBrush)
        word("chcbpat", colourIndex(format.background().color()));
}

void RtfWriter::writeImage(const QTextImageFormat &format)
{
    const QVariant resource =
        m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image = resource.value<QImage>();
    if (image.isNull())
        image = resource.value<QPixmap>().toImage();
    if (image.isNull())
        image = QImage::fromData(resource.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_out += "{\\pict\\pngblip";
    word("picw", image.width());
    word("pich", image.height());
    word("picwgoal", toTwips(width));
    word("pichgoal", toTwips(height));
    m_out += '\n';
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += HexLineLength) {
        m_out += hex.mid(i, HexLineLength);
        m_out += '\n';
    }
    m_out += '}';
}

void RtfWriter::writeText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            m_out += '\\';
            m_out += char(u);
            continue;
        case u'\t':
            m_out += "\\tab ";
            continue;
        case QChar::LineSeparator:
            m_out += "\\line ";
            continue;
        case 0x00A0:
            m_out += "\\~";
            continue;
        case 0x00AD:
            m_out += "\\-";
            continue;
        case 0x2011:
            m_out += "\\_";
            continue;
        default:
            break;
        }
        if (u >= 0x20 && u < 0x7F) {
            m_out += char(u);
        } else if (u < 0x20) {
            continue;
        } else if (const int byte = windows1252Byte(c); byte >= 0) {
            m_out += "\\'";
            m_out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            word("u", int(qint16(u)));
            m_out += '?';
        }
    }
}

} // namespace
} // namespace rtf

QByteArray writeRtf(const QTextDocument &document)
{
    return rtf::RtfWriter(document).write();
}

} // namespace glintbox
