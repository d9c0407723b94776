// Loading a 20 MB text file into the text view, once as 80-character lines and
// once as one line without a break (minified script, a log without breaks): the
// first screen, the whole load, the longest event-loop stall and the memory it
// keeps, against reading and decoding the same file alone.

#include "Report.h"
#include "core/FileSystem.h"
#include "formats/text/TextRead.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/text/TextFileReader.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace glintbox;

namespace {

constexpr qint64 FileSize = 20 * 1000 * 1000;

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

QByteArray eightyCharacterLines()
{
    QByteArray bytes;
    bytes.reserve(FileSize);
    for (int line = 0; bytes.size() + 80 <= FileSize; ++line)
        bytes += QByteArray::number(line).leftJustified(79, '.') + '\n';
    return bytes;
}

// Counts paint events of a widget.
class PaintWatcher : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// One line of words and punctuation, as minified script has them.
QByteArray oneLine()
{
    QByteArray bytes;
    bytes.reserve(FileSize);
    for (int item = 0; bytes.size() + 40 <= FileSize; ++item)
        bytes += "{\"key" + QByteArray::number(item) + "\":[1,2,3],\"on\":true},";
    return bytes;
}

void waitFor(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void measure(const char *kind, const QByteArray &content, const QString &searched,
             const QString &path)
{
    FileSystem &fs = FileSystem::local();
    fs.writeAll(path, content);
    const qint64 size = fs.status(path).size;

    // Baseline: read and decode alone, best of three.
    qint64 baselineNs = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const TextReadResult result = readFileAsText(fs, path, size);
        baselineNs = std::min(baselineNs, timer.nsecsElapsed());
        if (result.text.isEmpty())
            return;
    }

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    auto *edit = qobject_cast<QAbstractScrollArea *>(box.focusProxy());
    PaintWatcher watcher;
    edit->viewport()->installEventFilter(&watcher);
    waitFor([&] { return watcher.paints > 0; });
    const double idleMb = residentMegabytes();
    // The baseline reads into memory its earlier rounds touched; the program's
    // reads run on a worker whose heap is fresh at its first file only. One
    // untimed read there first, so both sides are timed warm. What that heap
    // keeps still counts in the memory after the load.
    {
        TextFileReader warmUp;
        warmUp.start(fs, path, size);
        warmUp.finish();
        warmUp.takeResult();
    }

    // The longest gap between ticks of a 10 ms timer while the load runs.
    QElapsedTimer stallClock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = stallClock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    stallClock.start();
    ticker.start();
    QCoreApplication::processEvents();

    const int paintsBefore = watcher.paints;
    QElapsedTimer load;
    load.start();
    // As the file display loads it: read and decoded on a worker, fed in on arrival.
    TextFileReader reader;
    QObject::connect(&reader, &TextFileReader::ended,
                     [&] { box.setText(reader.takeResult().text); });
    reader.start(fs, path, size);
    box.awaitText([&] { reader.finish(); });
    const qint64 startMs = load.elapsed();
    waitFor([&] { return !reader.isReading(); });
    waitFor([&] { return watcher.paints > paintsBefore; });
    const qint64 firstScreenNs = load.nsecsElapsed();
    const qint64 longestReadGap = longestGap;
    longestGap = 0;
    waitFor([&] { return !box.isLoading(); });
    const qint64 loadedNs = load.nsecsElapsed();
    const qint64 longestFeedGap = longestGap;
    ticker.stop();

    QScrollBar *bar = edit->verticalScrollBar();
    const int paintsBeforeScroll = watcher.paints;
    bar->setValue(bar->maximum());
    waitFor([&] { return watcher.paints > paintsBeforeScroll; });
    const qint64 scrolledNs = load.nsecsElapsed();
    const double loadedMb = residentMegabytes();

    // What a search near the end costs: the find, and the line number, which
    // lays out every line before it at the box's width.
    QElapsedTimer search;
    search.start();
    const int found = box.find(searched, 0);
    const qint64 findNs = search.nsecsElapsed();
    search.restart();
    const int line = box.lineFromChar(found);
    const qint64 lineNs = search.nsecsElapsed();

    const double fileMb = double(size) / 1e6;
    const double baselineMs = double(baselineNs) / 1e6;
    const double firstScreenMs = double(firstScreenNs) / 1e6;
    const double scrolledMs = double(scrolledNs) / 1e6;
    const double stallMs = double(std::max(longestReadGap, longestFeedGap));
    std::fprintf(stderr,
                 "file: %.1f MB of %s, %d blocks; read+decode %.1f ms; starting the "
                 "read %lld ms; fully loaded %.1f ms; longest stall up to the first "
                 "screen %lld ms, after it %lld ms\n",
                 fileMb, kind, box.document()->blockCount(), baselineMs, startMs,
                 double(loadedNs) / 1e6, longestReadGap, longestFeedGap);
    std::fprintf(stderr,
                 "find near the end %.1f ms; lineFromChar near the end %.1f ms (line %d); "
                 "text() returns the file's text: %s\n",
                 double(findNs) / 1e6, double(lineNs) / 1e6, line,
                 box.text() == QString::fromUtf8(content) ? "yes" : "NO");
    const auto name = [kind](const char *figure, const char *baseline) {
        return QByteArray("text ") + figure + ", 20 MB of " + kind + " (against " + baseline + ')';
    };
    reportFigure(name("first screen", "read and decode").constData(), firstScreenMs, "ms",
                 firstScreenMs / baselineMs, 3);
    reportFigure(name("full load and scroll to the end", "1.5 s").constData(), scrolledMs, "ms",
                 scrolledMs / 1500, 1);
    reportFigure(name("longest stall while loading", "100 ms").constData(), stallMs, "ms",
                 stallMs / 100, 1);
    reportFigure(name("memory after load", "the file size").constData(), loadedMb - idleMb, "MB",
                 (loadedMb - idleMb) / fileMb, 4);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    measure("80-character lines", eightyCharacterLines(), QStringLiteral("249990."), path);
    measure("one line", oneLine(), QStringLiteral("\"key487000\""), path);
    return 0;
}
