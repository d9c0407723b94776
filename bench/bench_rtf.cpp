// Times reading a generated 1 MB RTF file against putting the same text into a document as
// plain text, and writing it back.
#include "formats/rtf/RtfReader.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

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

template<typename F> double best(F &&f)
{
    double fastest = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        fastest = qMin(fastest, timer.nsecsElapsed() / 1e6);
    }
    return fastest;
}

// The time to put the same text into a document as plain text: the baseline of each ratio.
double plainTextBaseline(const QString &text)
{
    return best([&] {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        document.setPlainText(text);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QByteArray rtf = sampleRtf(1024 * 1024);
    const QString text = glintbox::readRtf(rtf).document->toPlainText();
    const double baseline = plainTextBaseline(text);
    const double read = best([&] { glintbox::readRtf(rtf); });
    const auto document = glintbox::readRtf(rtf).document;
    const double write = best([&] { glintbox::writeRtf(*document); });
    std::printf("input %lld bytes, %lld characters\n", qlonglong(rtf.size()),
                qlonglong(text.size()));
    std::printf("baseline setPlainText: %.1f ms\n", baseline);
    std::printf("readRtf:  %.1f ms (%.2f x baseline)\n", read, read / baseline);
    std::printf("writeRtf: %.1f ms (%.2f x baseline)\n", write, write / baseline);

    const QByteArray table = tableRtf(1024 * 1024);
    const QString tableText = glintbox::readRtf(table).document->toPlainText();
    const double tableBaseline = plainTextBaseline(tableText);
    const double tableRead = best([&] { glintbox::readRtf(table); });
    std::printf("table input %lld bytes; baseline setPlainText: %.1f ms\n", qlonglong(table.size()),
                tableBaseline);
    std::printf("readRtf of the table: %.1f ms (%.2f x baseline)\n", tableRead,
                tableRead / tableBaseline);
    return 0;
}
