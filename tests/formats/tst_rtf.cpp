#include "Corpus.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "formats/rtf/RtfReader.h"

#include <QFileInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <span>

using namespace glintbox;

namespace {

// A document head shared by the formatting cases: two fonts, a Symbol font, red and blue,
// a paragraph style and a character style.
const QByteArray Head =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}{\\f1 Arial;}{\\f2\\fcharset2 Symbol;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
    "{\\stylesheet{\\s1\\qc\\b\\fs32 Heading;}{\\*\\cs2\\i Emphasis;}}\n";

QByteArray document(const QByteArray &body)
{
    return body.startsWith("{\\rtf") ? body : Head + body + "}";
}

// The formatting of a run in words; empty for plain 12-point text.
QString describe(const QTextCharFormat &format)
{
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        return QStringLiteral("image %1x%2").arg(qRound(image.width())).arg(qRound(image.height()));
    }
    static const char *const Underlines[] = {
        "", "ul", "ul-dash", "ul-dot", "ul-dashdot", "ul-dashdotdot", "ul-wave"};
    const int underline = format.underlineStyle();
    const QStringList families = format.fontFamilies().toStringList();
    const QFont::Capitalization capitals = format.fontCapitalization();
    const QTextCharFormat::VerticalAlignment raised = format.verticalAlignment();
    const std::pair<bool, QString> properties[] = {
        {format.fontWeight() >= QFont::DemiBold, "bold"},
        {format.fontItalic(), "italic"},
        {underline > 0 && underline < 7, Underlines[std::clamp(underline, 0, 6)]},
        {format.fontStrikeOut(), "strike"},
        {capitals == QFont::AllUppercase, "caps"},
        {capitals == QFont::SmallCaps, "smallcaps"},
        {raised == QTextCharFormat::AlignSuperScript, "super"},
        {raised == QTextCharFormat::AlignSubScript, "sub"},
        {format.foreground().style() != Qt::NoBrush, "fg=" + format.foreground().color().name()},
        {format.background().style() != Qt::NoBrush, "bg=" + format.background().color().name()},
        {format.fontPointSize() > 0 && format.fontPointSize() != 12,
         QStringLiteral("size=%1").arg(format.fontPointSize())},
        {!families.isEmpty(), "font=" + families.value(0)},
        {format.isAnchor(), "link=" + format.anchorHref()},
    };
    QStringList parts;
    for (const auto &[present, text] : properties)
        if (present)
            parts << text;
    return parts.join(u' ');
}

QString describe(const QTextBlockFormat &format)
{
    const Qt::Alignment alignment = format.alignment();
    QStringList parts{alignment & Qt::AlignHCenter   ? "centre"
                      : alignment & Qt::AlignRight   ? "right"
                      : alignment & Qt::AlignJustify ? "justify"
                                                     : "left"};
    const int lineType = format.lineHeightType();
    const std::pair<const char *, double> lengths[] = {
        {"left", format.leftMargin()},
        {"right", format.rightMargin()},
        {"indent", format.textIndent()},
        {"top", format.topMargin()},
        {"bottom", format.bottomMargin()},
        {lineType == QTextBlockFormat::MinimumHeight ? "atleast" : "exact",
         lineType == QTextBlockFormat::MinimumHeight || lineType == QTextBlockFormat::FixedHeight
             ? format.lineHeight()
             : 0}};
    for (const auto &[name, value] : lengths)
        if (qRound(value * 10) != 0)
            parts
                << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(qRound(value * 10) / 10.0);
    if (lineType == QTextBlockFormat::ProportionalHeight)
        parts << QStringLiteral("line=%1%").arg(qRound(format.lineHeight()));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        parts << QStringLiteral("pagebreak");
    QStringList tabs; // left stops bare, then right, centre and delimiter ones marked
    for (const QTextOption::Tab &tab : format.tabPositions())
        tabs << QString::number(qRound(tab.position)) + QString(QChar(u" rc."[tab.type])).trimmed();
    if (!tabs.isEmpty())
        parts << QStringLiteral("tabs=") + tabs.join(u',');
    return parts.join(u' ');
}

// Where a cell lies and how it looks: span, lines (top, left, bottom, right), fill, alignment.
QString describe(const QTextTable &table, const QTextTableCell &cell)
{
    QString text = QString::asprintf("cell %d,%d of %dx%d", cell.row(), cell.column(), table.rows(),
                                     table.columns());
    if (table.format().alignment() & Qt::AlignHCenter)
        text += QStringLiteral(" centred");
    if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
        text += QStringLiteral(" span %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
    const QTextTableCellFormat format = cell.format().toTableCellFormat();
    QStringList lines;
    for (const double width :
         {format.topBorder(), format.leftBorder(), format.bottomBorder(), format.rightBorder()})
        lines << QString::number(qRound(width));
    if (lines.join(u',') != QLatin1String("0,0,0,0")) {
        text += QStringLiteral(" lines=") + lines.join(u',');
        if (format.topBorderBrush().color() != Qt::black)
            text += QStringLiteral(" line=") + format.topBorderBrush().color().name();
    }
    if (format.background().style() != Qt::NoBrush)
        text += QStringLiteral(" bg=") + format.background().color().name();
    if (format.verticalAlignment() == QTextCharFormat::AlignMiddle)
        text += QStringLiteral(" middle");
    return text;
}

// Text and formatting of a whole document, one line a paragraph, runs of equal formatting
// merged: what a round trip must keep.
QStringList signature(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        if (QTextTable *table = QTextCursor(block).currentTable())
            line += describe(*table, table->cellAt(block.position())) + QStringLiteral(": ");
        line += describe(block.blockFormat()) + QStringLiteral(" |");
        QString runText;
        QString runFormat;
        auto flush = [&] {
            if (!runText.isEmpty())
                line += QStringLiteral(" [%1]%2").arg(runFormat, runText);
            runText.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString format = describe(it.fragment().charFormat());
            if (format != runFormat)
                flush();
            runFormat = format;
            runText += it.fragment().text();
        }
        flush();
        lines << line;
    }
    return lines;
}

// The text with line separators and no-break spaces kept, paragraphs ending in "\n".
QString rawText(const QTextDocument &document)
{
    QString text = document.toRawText();
    for (const char16_t separator : {u'\u2029', u'\ufdd0', u'\ufdd1'}) // paragraph, frame
        text.replace(QChar(separator), u'\n');
    return text;
}

QTextCharFormat formatAt(const QTextDocument &document, const QString &marker)
{
    const QTextCursor found = document.find(marker);
    if (found.isNull())
        return {};
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QByteArray redPicture(const char *format)
{
    return encodedImage(filledImage(4, 3), format);
}

// A JPEG whose frame header claims the given size (at most 65535 a side).
QByteArray jpegClaiming(int width, int height)
{
    QByteArray jpeg = redPicture("jpeg");
    const qsizetype frame = jpeg.indexOf("\xff\xc0") + 5; // marker, length, precision
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return jpeg.replace(frame, 4, QByteArray(size, 4));
}

struct Case {
    const char *name;
    const char *rtf;
    const char *expected;
};

// Character formatting: the description of the run that holds "X".
const Case CharacterCases[] = {
    {"bold off", "\\b a{\\b0 X}", ""},
    {"dotted underline", "{\\uld X}", "ul-dot"},
    {"underline none", "\\ul a{\\ulnone X}", ""},
    {"strike", "{\\strike X}", "strike"},
    {"capitals", "{\\caps X}", "caps"},
    {"small capitals", "{\\scaps X}", "smallcaps"},
    {"colour", "{\\cf1 X}", "fg=#ff0000"},
    {"automatic colour", "{\\cf0 X}", ""},
    {"background", "{\\cb2 X}", "bg=#0000ff"},
    {"superscript", "{\\super X}", "super"},
    {"no super or sub", "{\\super\\nosupersub X}", ""},
    {"raised", "{\\up6 X}", "super"},
    {"plain", "{\\b\\i\\ul\\fs20\\cf1 a\\plain X}", ""},
    {"group restores", "{\\b a}X", ""},
    {"paragraph style", "\\s1 X", "bold size=16"},
    {"character style", "{\\cs2 X}", "italic"},
    {"hyperlink",
     "{\\field{\\*\\fldinst HYPERLINK \"http://example.com/a b\" }{\\fldrslt {\\ul X}}}",
     "ul link=http://example.com/a b"},
    {"hyperlink to a mark", "{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt X}}",
     "link=#top"},
    {"other field", "{\\field{\\*\\fldinst PAGE}{\\fldrslt X}}", ""},
    // Font table entries without groups, a name in its own charset, a name cut by the table's end.
    {"font name in its charset",
     "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fcharset128 \\'82\\'a0Gothic;}\\f1 X}",
     "font=\u3042Gothic"},
    {"font name cut by the table's end",
     "{\\rtf1{\\fonttbl\\f0 Helvetica;{\\f2{\\*\\panose 0000}{\\*\\falt Other}Courier New}}\\f2 X}",
     "font=Courier New"},
};

// Paragraph formatting: the description of the paragraph that holds "X".
const Case ParagraphCases[] = {
    {"carries over", "\\qc a\\par X", "centre"},
    {"pard resets", "\\qc\\li720 a\\par\\pard X", "left"},
    {"indents", "\\li1440\\ri720\\fi-360 X", "left left=96 right=48 indent=-24 tabs=24"},
    {"spacing", "\\sb300\\sa150 X", "left top=20 bottom=10"},
    {"line multiple", "\\sl360\\slmult1 X", "left line=150%"},
    {"line exact", "\\sl-300\\slmult0 X", "left exact=20"},
    {"line at least", "\\sl300 X", "left atleast=20"},
    {"page break", "a\\page X", "left pagebreak"},
    {"paragraph style", "\\s1 X", "centre"},
    {"own properties replace the style's", "\\s1\\li720 X", "left left=48"},
    {"tab stops", "\\tx720\\tqr\\tx2880\\tqc\\tx3600\\tqdec\\tx4320 X",
     "left tabs=48,192r,240c,288."},
    {"tab stops from the first line's start", "\\li1440\\fi-720\\tx2160 X",
     "left left=96 indent=-48 tabs=48,96"},
    {"lengths beyond any page", "\\li2147483647\\fi2147483647\\tx-2147483647 X",
     "left left=279620 indent=279620"},
    {"a stop before the hanging indent wins", "\\li1440\\fi-1440\\tx360 X",
     "left left=96 indent=-96 tabs=24"},
};

// Plain text of the whole document.
const Case TextCases[] = {
    {"escaped braces", "\\{a\\}\\\\", "{a}\\"},
    {"tab line par", "a\\tab b\\line c\\par d", "a\tb\u2028c\nd"},
    {"raw line breaks ignored", "a\r\nb\\\nc", "ab\nc"},
    {"typographic", "\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote",
     "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
    {"special spaces", "a\\~b\\-c\\_d", "a\u00a0b\u00adc\u2011d"},
    {"trailing par", "a\\par", "a"},
    {"empty paragraphs kept", "a\\par\\par b", "a\n\nb"},
    {"table style reference is no destination", "\\pard\\intbl\\ts11 a\\cell\\row b", "\na\nb\n"},
    {"unknown word ignored", "a\\foo b\\bar12 c", "abc"},
    {"unknown destination", "a{\\*\\unknowndest secret {\\b more}}b", "ab"},
    {"header footer annotation",
     "a{\\header H}{\\footer F}{\\headerl L}{\\*\\atnid I}{\\*\\annotation A}b", "ab"},
    {"footnotes after the text, numbered",
     "a\\chftn{\\footnote\\pard{\\up6\\chftn} N\\par M}b\\chftn{\\footnote{\\chftn} O}\\par c",
     "a1b2\nc\n\n1 N\nM\n2 O"},
    {"shape text box",
     "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\wmetafile8 00}}}{\\shptxt box}}"
     "{\\shprslt fallback}}",
     "box"},
    {"shape picture",
     "{\\shp{\\*\\shpinst{\\sp{\\sn fLine}{\\sv 0}}{\\sp{\\sn pib}{\\sv "
     "{\\pict\\wmetafile8 00}}}}{\\shprslt fallback}}",
     "\ufffc"},
    {"shape shown by its result",
     "{\\shp{\\*\\shpinst{\\sp{\\sn fLine}{\\sv 0}}}{\\shprslt fallback}}", "fallback"},
    {"hidden", "a{\\v hidden}b", "ab"},
    {"pntext", "{\\pntext 1.\\tab}One{\\*\\pn\\pnlvlbody{\\pntxta .}}", "1.\tOne"},
    {"wingdings by its name", "{\\rtf1{\\fonttbl{\\f0\\fnil Wingdings;}}\\f0 \\'d8\\'fc\\'ff}",
     "\u2b9a\u2713"},
    {"symbol in private use", "{\\f2\\u-3913?\\u61537?}", "\u2022\u03b1"},
    {"unknown symbol font keeps bytes", "{\\rtf1{\\fonttbl{\\f0\\fcharset2 Marlett;}}\\f0 a\\'b7}",
     "a\u00b7"},
    {"listtext symbol bullet", "{\\listtext\\f2 \\'b7\\tab}Item", "\u2022\tItem"},
    {"pn group skipped", "{\\pn\\pnlvlblt{\\pntxtb X}}Item", "Item"},
    {"binary skipped", "a\\bin3 {}\\b", "ab"},
    {"windows-1252 euro", "\\'80 \\'e9", "\u20ac \u00e9"},
    {"shift-jis trail byte as text", "{\\rtf1\\ansi\\ansicpg932 \\'83a}", "\u30c2"},
    {"code page per font",
     "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'e9{\\f1\\'e9}}", "\u00e9\u0439"},
    {"unicode negative", "\\u-4064?", "\uf020"},
    {"skip ends with group", "{\\uc3\\u8364 a}b", "\u20acb"},
    {"uc is group scoped", "{\\uc0 a}\\u8364?", "a\u20ac"},
    {"upr shows ansi", "{\\upr{a}{\\*\\ud{b}}}", "a"},
};

enum Aspect { Run, Paragraph, Text };
const char *const Aspects[] = {"run", "paragraph", "text"};
const std::span<const Case> CaseTables[] = {CharacterCases, ParagraphCases, TextCases};

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private slots:
    // The run holding "X", the paragraph holding "X", or the whole text.
    void readsCases_data()
    {
        QTest::addColumn<int>("aspect");
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        for (int aspect : {Run, Paragraph, Text})
            for (const Case &c : CaseTables[aspect])
                QTest::addRow("%s: %s", Aspects[aspect], c.name)
                    << aspect << QByteArray(c.rtf) << QString::fromUtf8(c.expected);
    }
    void readsCases()
    {
        QFETCH(int, aspect);
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        const RtfReadResult result = readRtf(document(rtf));
        QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join(u'\n')));
        const QTextDocument &read = *result.document;
        QVERIFY(aspect == Text || !read.find(QStringLiteral("X")).isNull());
        QCOMPARE(aspect == Run ? describe(formatAt(read, QStringLiteral("X")))
                 : aspect == Paragraph
                     ? describe(read.find(QStringLiteral("X")).block().blockFormat())
                     : rawText(read),
                 expected);
    }

    void tables_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("paragraphs in cells")
            << QByteArray(
                   "before\\par\\trowd\\trleft100\\cellx1000\\cellx3100 \\intbl a1\\par a2\\cell "
                   "b\\cell\\row\\trowd\\trleft100\\cellx1000\\cellx3100\\pard\\intbl c\\cell "
                   "{\\b d}\\cell\\row\\pard after")
            << QStringList{"left | []before",
                           "cell 0,0 of 2x2: left | []a1",
                           "cell 0,0 of 2x2: left | []a2",
                           "cell 0,1 of 2x2: left | []b",
                           "cell 1,0 of 2x2: left | []c",
                           "cell 1,1 of 2x2: left | [bold]d",
                           "left | []after"};
        QTest::newRow("lines, fill and alignment of a cell")
            << QByteArray(
                   "\\trowd\\clbrdrt\\brdrs\\brdrw30\\brdrcf1\\clbrdrb\\brdrs\\brdrnone\\clcbpat2"
                   "\\cellx1000\\clvertalc\\clbrdrl\\brdrdb\\brdrw15\\cellx2000\\intbl a\\cell "
                   "b\\cell\\row")
            << QStringList{"cell 0,0 of 1x2 lines=2,0,0,0 line=#ff0000 bg=#0000ff: left | []a",
                           "cell 0,1 of 1x2 lines=0,1,0,0 middle: left | []b"};
        QTest::newRow("row lines where cells name none")
            << QByteArray("\\trowd\\trbrdrt\\brdrs\\trbrdrl\\brdrs\\trbrdrb\\brdrs\\trbrdrr\\brdrs"
                          "\\trbrdrh\\brdrs\\brdrw30\\trbrdrv\\brdrnone\\cellx1000\\cellx2000"
                          "\\intbl a\\cell b\\cell\\row\\intbl c\\cell d\\cell\\row")
            << QStringList{"cell 0,0 of 2x2 lines=1,1,2,0: left | []a",
                           "cell 0,1 of 2x2 lines=1,0,2,1: left | []b",
                           "cell 1,0 of 2x2 lines=2,1,1,0: left | []c",
                           "cell 1,1 of 2x2 lines=2,0,1,1: left | []d"};
        QTest::newRow("shading mixes the pattern colour in")
            << QByteArray(
                   "\\trowd\\clcfpat1\\clshdng5000\\cellx1000\\clshdng2000\\cellx2000\\intbl "
                   "a\\cell b\\cell\\row")
            << QStringList{"cell 0,0 of 1x2 bg=#ff8080: left | []a",
                           "cell 0,1 of 1x2 bg=#cccccc: left | []b"};
        QTest::newRow("centred row") << QByteArray("\\trowd\\trqc\\cellx1000\\intbl a\\cell\\row")
                                     << QStringList{"cell 0,0 of 1x1 centred: left | []a"};
        QTest::newRow("merged across")
            << QByteArray(
                   "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl a\\cell\\cell "
                   "c\\cell\\row\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl d\\cell e\\cell "
                   "f\\cell\\row")
            << QStringList{"cell 0,0 of 2x3 span 1x2: left | []a", "cell 0,2 of 2x3: left | []c",
                           "cell 1,0 of 2x3: left | []d", "cell 1,1 of 2x3: left | []e",
                           "cell 1,2 of 2x3: left | []f"};
        QTest::newRow("merged down")
            << QByteArray("\\trowd\\clvmgf\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                          "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl\\cell d\\cell\\row")
            << QStringList{"cell 0,0 of 2x2 span 2x1: left | []a", "cell 0,1 of 2x2: left | []b",
                           "cell 1,1 of 2x2: left | []d"};
        QTest::newRow("rows of different edges share one grid")
            << QByteArray("\\trowd\\cellx1000\\cellx3000\\intbl a\\cell b\\cell\\row"
                          "\\trowd\\cellx2000\\cellx3000\\intbl c\\cell d\\cell\\row")
            << QStringList{"cell 0,0 of 2x3: left | []a", "cell 0,1 of 2x3 span 1x2: left | []b",
                           "cell 1,0 of 2x3 span 1x2: left | []c", "cell 1,2 of 2x3: left | []d"};
        QTest::newRow("nested table")
            << QByteArray("\\trowd\\cellx5000\\pard\\intbl x\\par\\pard\\intbl\\itap2 n1\\nestcell "
                          "n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                          "{\\nonesttables\\par}\\pard\\intbl y\\cell\\row\\pard after")
            << QStringList{"cell 0,0 of 1x1: left | []x", "cell 0,0 of 1x2: left | []n1",
                           "cell 0,1 of 1x2: left | []n2", "cell 0,0 of 1x1: left | []y",
                           "left | []after"};
    }

    void tables()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QStringList, expected);
        const RtfReadResult result = readRtf(document(rtf));
        QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join(u'\n')));
        QStringList lines = signature(*result.document);
        lines.removeAll(QStringLiteral("left |")); // the empty blocks around tables
        QCOMPARE(lines, expected);
        // Every column has a width from the cell edges.
        QTextTable *table = nullptr;
        for (QTextBlock block = result.document->begin(); !table; block = block.next())
            table = QTextCursor(block).currentTable();
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), table->columns());
        for (const QTextLength &width : widths)
            QVERIFY(width.rawValue() > 0);
    }

    void pngAndJpegPictures_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        const QByteArray png = redPicture("png");
        const QByteArray jpeg = redPicture("jpeg");
        QTest::newRow("png")
            << "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal120\\pichgoal90\n" + png.toHex() +
                   "}b}";
        QTest::newRow("jpeg")
            << "{\\rtf1 a{\\pict\\jpegblip\\picw4\\pich3\\picwgoal120\\pichgoal90 " + jpeg.toHex() +
                   "}b}";
        QTest::newRow("png in binary")
            << "{\\rtf1 a{\\pict\\pngblip\\picwgoal120\\pichgoal90\\bin" +
                   QByteArray::number(png.size()) + " " + png + "}b}";
        QTest::newRow("shape picture before its fallback")
            << "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picwgoal120\\pichgoal90 " + png.toHex() +
                   "}}{\\nonshppict{\\pict\\wmetafile8\\picwgoal3000\\pichgoal3000 00}}b}";
        QTest::newRow("scaled")
            << "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picscalex200\\picscaley200 " +
                   png.toHex() + "}b}";
    }

    void pngAndJpegPictures()
    {
        QFETCH(QByteArray, rtf);
        const RtfReadResult result = readRtf(rtf);
        QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join(u'\n')));
        QCOMPARE(result.document->toPlainText(), QString::fromUtf16(u"a\uFFFCb"));
        const QTextImageFormat format =
            formatAt(*result.document, QString(QChar(0xFFFC))).toImageFormat();
        QCOMPARE(qRound(format.width()), 8);
        QCOMPARE(qRound(format.height()), 6);
        const QImage image =
            result.document->resource(QTextDocument::ImageResource, QUrl(format.name()))
                .value<QImage>();
        QCOMPARE(image.size(), QSize(4, 3));
        QCOMPARE(QColor(image.pixel(1, 1)).red() > 200, true);
    }

    void metafilePictures()
    {
        const QByteArray rtf = "{\\rtf1 {\\pict\\wmetafile8\\picwgoal300\\pichgoal150 0102}"
                               "{\\pict\\emfblip\\picwgoal150\\pichgoal150 03}}";
        const QString box(QChar::ObjectReplacementCharacter);
        // Without a renderer each becomes a placeholder box at its own size.
        const RtfReadResult plain = readRtf(rtf);
        QVERIFY(plain.warnings.isEmpty());
        QCOMPARE(plain.document->toPlainText(), box + box);
        QCOMPARE(describe(formatAt(*plain.document, box)), QStringLiteral("image 20x10"));

        QStringList calls;
        RtfReadOptions options;
        options.renderMetafile = [&](const QByteArray &bytes, RtfReadOptions::MetafileKind kind,
                                     QSize hint) {
            calls << QStringLiteral("%1 %2 %3x%4")
                         .arg(bytes.toHex(),
                              kind == RtfReadOptions::MetafileKind::Wmf ? "wmf" : "emf")
                         .arg(hint.width())
                         .arg(hint.height());
            return filledImage(hint.width(), hint.height(), Qt::green);
        };
        const RtfReadResult rendered = readRtf(rtf, options);
        QCOMPARE(calls, (QStringList{"0102 wmf 20x10", "03 emf 10x10"}));
        const QString name = formatAt(*rendered.document, box).toImageFormat().name();
        QCOMPARE(rendered.document->resource(QTextDocument::ImageResource, QUrl(name))
                     .value<QImage>()
                     .size(),
                 QSize(20, 10));
    }

    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("warning");
        auto row = [](const char *name, const QByteArray &rtf, const QString &text,
                      const char *warning = "") {
            QTest::newRow(name) << rtf << text << QString::fromUtf8(warning);
        };
        const char *const Unclosed = "closing brace is missing";
        const char *const NotRtf = "does not begin like an RTF file";
        const char *const LongBinary = "Binary data longer than the file";
        row("missing closing brace", "{\\rtf1 {\\b a}b", "ab", Unclosed);
        row("extra closing brace", "{\\rtf1 {\\b a}}}b}", "ab",
            "closing brace without an opening one");
        row("binary longer than the file", "{\\rtf1 a\\bin99999 b}", "ab", LongBinary);
        row("not rtf", "plain words", "plain words", NotRtf);
        row("unknown code page", "{\\rtf1\\ansicpg77777 \\'e9}", u"\u00e9"_qs, "Code page 77777");
        row("footnote cut by the end", "{\\rtf1 a{\\footnote N", "a\n\nN", Unclosed);
        row("tables nested past the limit",
            "{\\rtf1 \\pard\\intbl\\itap40 deep\\nestcell"
            "{\\*\\nesttableprops\\trowd\\cellx99\\nestrow}\\pard after}",
            QString(16, u'\n') + "deep" + QString(16, u'\n') + "after");
        row("merges with nothing to merge into",
            "{\\rtf1 \\trowd\\clmrg\\clvmrg\\cellx1000\\clvmrg\\cellx900\\intbl a\\cell "
            "b\\cell\\row\\pard z}",
            "\na\nb\nz");
        row("cell edges that run backwards",
            "{\\rtf1 \\trowd\\cellx3000\\cellx1000\\cellx-500\\intbl a\\cell b\\cell c\\cell\\row"
            "\\trowd\\cellx100\\intbl d\\cell\\row\\pard z}",
            "\na\nb\nc\nd\n\n\n\nz");
        row("cell edges beyond any page",
            "{\\rtf1 \\trowd\\trleft-2147483647\\cellx2147483647\\cellx2147483647\\intbl a\\cell "
            "b\\cell\\row}",
            "\na\nb\n");
        row("cut escape", "{\\rtf1 a\\'4", "a", Unclosed);
        row("groups nested past the limit",
            "{\\rtf1 " + QByteArray(100000, '{') + "\\b x" + QByteArray(100000, '}') + "y}", "xy",
            "flattened");
        // A few bytes claiming 60,000 x 60,000 pixels must not make the reader allocate them.
        row("picture claiming a huge size",
            "{\\rtf1 {\\pict\\jpegblip " + jpegClaiming(60000, 60000).toHex() + "}}", u"\uFFFC"_qs,
            "too large");
        // 400 cells in a row over 400 rows of one would make a grid of 160,000 from 2,000 bytes.
        row("table of uneven rows",
            "{\\rtf1 \\intbl " + QByteArray("x\\cell ").repeated(400) + "\\row " +
                QByteArray("\\intbl y\\cell\\row ").repeated(400) + "}",
            QString("x\n").repeated(400) + QString("y\n").repeated(399) + "y", "shown as text");
        row("huge parameter", "{\\rtf1 \\fs99999999999999 \\li-99999999999 a}", "a");
    }

    void hostileInput()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(QString, warning);
        const RtfReadResult result = readRtf(rtf);
        QCOMPARE(result.document->toPlainText(), text);
        if (warning.isEmpty()) {
            QVERIFY(result.warnings.isEmpty());
        } else {
            QVERIFY(!result.warnings.isEmpty());
            QVERIFY2(result.warnings.first().contains(warning),
                     qPrintable(result.warnings.first()));
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        for (const std::span<const Case> cases : CaseTables)
            for (const Case &c : cases)
                QTest::newRow(c.name) << document(c.rtf);
        QTest::newRow("table first")
            << QByteArray("{\\rtf1 \\trowd\\cellx1000\\intbl a\\cell\\row z}");
        QTest::newRow("ends in empty paragraph") << QByteArray("{\\rtf1 a\\par\\par}");
        for (const QString &path : corpusFiles(QStringLiteral("rtf")))
            if (const QByteArray bytes = readFile(path); readRtf(bytes).warnings.isEmpty())
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << bytes;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, rtf);
        const RtfReadResult first = readRtf(rtf);
        const QByteArray written = writeRtf(*first.document);
        const RtfReadResult second = readRtf(written);
        QVERIFY2(second.warnings.isEmpty(), qPrintable(second.warnings.join(u'\n')));
        QCOMPARE(second.document->toPlainText(), first.document->toPlainText());
        QCOMPARE(signature(*second.document), signature(*first.document));
    }
};

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
