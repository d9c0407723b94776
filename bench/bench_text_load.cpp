// Loading a 20 MB text file of 80-character lines into the text view: the first
// screen, the whole load, the longest event-loop stall and the memory it keeps,
// against reading and decoding the same file alone.

#include "Report.h"
#include "core/FileSystem.h"
#include "formats/text/TextRead.h"
#include "viewing/text/RichTextBox.h"

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

void waitFor(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    FileSystem &fs = FileSystem::local();
    fs.writeAll(path, eightyCharacterLines());
    const qint64 size = fs.status(path).size;

    // Baseline: read and decode alone, best of three.
    qint64 baselineNs = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const TextReadResult result = readFileAsText(fs, path, size);
        baselineNs = std::min(baselineNs, timer.nsecsElapsed());
        if (result.text.isEmpty())
            return 1;
    }

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    auto *edit = qobject_cast<QAbstractScrollArea *>(box.focusProxy());
    PaintWatcher watcher;
    edit->viewport()->installEventFilter(&watcher);
    waitFor([&] { return watcher.paints > 0; });
    const double idleMb = residentMegabytes();

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
    qint64 syncMs = 0;
    {
        const TextReadResult result = readFileAsText(fs, path, size);
        box.setText(result.text);
        syncMs = load.elapsed();
    }
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
    const int found = box.find(QStringLiteral("249990."), 0);
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
                 "file: %.1f MB of 80-character lines, %d blocks; read+decode %.1f ms; "
                 "synchronous read+setText %lld ms; fully loaded %.1f ms; longest stall up to "
                 "the first screen %lld ms, after it %lld ms\n",
                 fileMb, box.document()->blockCount(), baselineMs, syncMs, double(loadedNs) / 1e6,
                 longestReadGap, longestFeedGap);
    std::fprintf(stderr, "find near the end %.1f ms; lineFromChar near the end %.1f ms (line %d)\n",
                 double(findNs) / 1e6, double(lineNs) / 1e6, line);
    reportFigure("text first screen, 20 MB (against read and decode)", firstScreenMs, "ms",
                 firstScreenMs / baselineMs, 3);
    reportFigure("text full load and scroll to the end, 20 MB (against 1.5 s)", scrolledMs, "ms",
                 scrolledMs / 1500, 1);
    reportFigure("text longest stall while loading (against 100 ms)", stallMs, "ms", stallMs / 100,
                 1);
    reportFigure("text memory after load (against the file size)", loadedMb - idleMb, "MB",
                 (loadedMb - idleMb) / fileMb, 4);
    return 0;
}
