// Reads a generated 5 MB RTF file, and a long Word-style table, against Qt building a
// document of the same content from HTML and from plain text, in the same run.
#include "Median.h"
#include "Report.h"
#include "formats/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int Rounds = 5;

QByteArray sampleRtf(qsizetype targetSize)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times;}{\\f1\\fcharset128 "
                     "Mincho;}}{\\colortbl;\\red255\\green0\\blue0;}\n";
    int n = 0;
    while (rtf.size() < targetSize) {
        ++n;
        rtf += "\\pard\\qj\\li360\\sa120 Paragraph " + QByteArray::number(n) +
               " with {\\b bold}, {\\i italic \\'e9t\\'e9}, {\\cf1\\ul red} and {\\f1 \\'82\\'a0"
               "\\'82\\'a2} text\\u8364? running on for a while to fill a line.\\par\n";
        if (n % 50 == 0)
            rtf += "\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row\\pard\n";
    }
    return rtf + "}";
}

// One long Word-style table: every cell with its lines, every other row merged down and across.
QByteArray tableRtf(qsizetype targetSize)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red200\\green200\\blue200;}\n";
    for (int row = 0; rtf.size() < targetSize; ++row) {
        const bool continued = row % 2 == 1;
        rtf += "\\trowd\\trgaph108\\trrh300";
        for (int cell = 1; cell <= 8; ++cell) {
            rtf += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clcbpat1";
            rtf += cell == 1 ? (continued ? "\\clvmrg" : "\\clvmgf") : "";
            rtf += cell == 3 ? "\\clmgf" : cell == 4 ? "\\clmrg" : "";
            rtf += "\\cellx" + QByteArray::number(cell * 1200);
        }
        rtf += "\\pard\\intbl";
        for (int cell = 1; cell <= 8; ++cell)
            rtf += " r" + QByteArray::number(row) + "c" + QByteArray::number(cell) + "\\cell";
        rtf += "\\row\n";
    }
    return rtf + "\\pard}";
}

// The median time of a piece of work, in milliseconds.
template<typename Work> double timed(Work work)
{
    return glintbox::medianMilliseconds(Rounds, work);
}

struct Baselines {
    double html;
    double plain;
    double runs;
};

struct Run {
    QString text;
    QTextCharFormat format;
};

struct Paragraph {
    QTextBlockFormat format;
    std::vector<Run> runs;
};

// Every paragraph of a document (those in table cells too) with its formatted runs.
std::vector<Paragraph> paragraphsOf(const QTextDocument &document)
{
    std::vector<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph &paragraph = paragraphs.emplace_back(Paragraph{block.blockFormat(), {}});
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            paragraph.runs.push_back(
                {fragment.fragment().text(), fragment.fragment().charFormat()});
    }
    return paragraphs;
}

// Qt inserting the same paragraphs and formatted runs one by one, as any reader building the
// document through a cursor must: the floor under the reader's time, since each run with its
// own format costs Qt far more than the same text in one piece. Tables are left out, so the
// floor lies a little low.
void insertRuns(QTextDocument &document, const std::vector<Paragraph> &paragraphs)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (const Paragraph &paragraph : paragraphs) {
        if (std::exchange(first, false))
            cursor.setBlockFormat(paragraph.format);
        else
            cursor.insertBlock(paragraph.format);
        for (const Run &run : paragraph.runs)
            cursor.insertText(run.text, run.format);
    }
    cursor.endEditBlock();
}

// What Qt itself takes to build a document of the same content: from the
// equivalent HTML (the read document written out as HTML), from the same
// text without formatting, and from its formatted runs.
Baselines baselinesOf(const QByteArray &rtf)
{
    const auto document = glintbox::readRtf(rtf).document;
    const QString html = document->toHtml();
    const QString text = document->toPlainText();
    const std::vector<Paragraph> paragraphs = paragraphsOf(*document);
    const auto build = [](auto fill) {
        QTextDocument target;
        target.setUndoRedoEnabled(false);
        fill(target);
    };
    return {timed([&] { build([&](QTextDocument &d) { d.setHtml(html); }); }),
            timed([&] { build([&](QTextDocument &d) { d.setPlainText(text); }); }),
            timed([&] { build([&](QTextDocument &d) { insertRuns(d, paragraphs); }); })};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    using glintbox::reportFigure;

    const QByteArray rtf = sampleRtf(5 * 1024 * 1024);
    const Baselines base = baselinesOf(rtf);
    const double read = timed([&] { glintbox::readRtf(rtf); });
    const auto document = glintbox::readRtf(rtf).document;
    const double write = timed([&] { glintbox::writeRtf(*document); });
    std::fprintf(stderr,
                 "5 MB RTF: %lld bytes, %d characters; setHtml %.1f ms, setPlainText %.1f ms, "
                 "formatted runs %.1f ms, writeRtf %.1f ms\n",
                 qlonglong(rtf.size()), document->characterCount(), base.html, base.plain,
                 base.runs, write);
    reportFigure("rtf read 5 MB (against setHtml of the same document)", read, "ms",
                 read / base.html, 3);
    reportFigure("rtf read 5 MB (against setPlainText of its text)", read, "ms", read / base.plain,
                 4);
    reportFigure("rtf read 5 MB (against Qt inserting its formatted runs)", read, "ms",
                 read / base.runs, 1.5);
    reportFigure("rtf read 5 MB (against 1 s)", read, "ms", read / 1000, 1);

    const QByteArray table = tableRtf(1024 * 1024);
    const Baselines tableBase = baselinesOf(table);
    const double tableRead = timed([&] { glintbox::readRtf(table); });
    std::fprintf(stderr,
                 "1 MB RTF table: setHtml %.1f ms, setPlainText %.1f ms, its cells' runs %.1f ms\n",
                 tableBase.html, tableBase.plain, tableBase.runs);
    reportFigure("rtf read 1 MB merged, lined table (against setHtml)", tableRead, "ms",
                 tableRead / tableBase.html, 3);
    return 0;
}
