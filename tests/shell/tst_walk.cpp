#include "Corpus.h"
#include "ShellFixture.h"
#include "TestMedia.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

using namespace glintbox;

namespace {

// Every ordered pair of different files follows one another somewhere in the
// walk: i, i+1, i, i+2, ..., i, n-1, i for each i.
QList<int> walkOrder(int count)
{
    QList<int> order;
    for (int from = 0; from < count; ++from) {
        order.append(from);
        for (int to = from + 1; to < count; ++to)
            order << to << from;
    }
    return order;
}

// The status line as the screen shows it, against the window's own drawing of
// it: a window that has stopped repainting shows an older line.
bool screenShowsStatusLine(QWidget &window, QLabel &statusLine)
{
    const QRect inWindow(statusLine.mapTo(&window, QPoint(0, 0)), statusLine.size());
    const QImage drawn = window.grab(inWindow).toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint onScreen = statusLine.mapToGlobal(QPoint(0, 0));
    const QImage shown =
        window.screen()
            ->grabWindow(0, onScreen.x(), onScreen.y(), statusLine.width(), statusLine.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    return drawn == shown;
}

// The exit code that tells CTest the test was skipped.
constexpr int NoDisplayExitCode = 77;

} // namespace

class TestWalk : public QObject {
    Q_OBJECT
private slots:
    void everyPairOfKindsByKeys();
};

void TestWalk::everyPairOfKindsByKeys()
{
    const QStringList metafiles = corpusFiles(QStringLiteral("wmf"));
    if (metafiles.isEmpty())
        QSKIP("no corpus beside the project");
    ShellFixture f;
    if (!makeMovie(f.path(QStringLiteral("f.avi")), QSize(160, 120)))
        QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");
    QVERIFY(QFile::copy(metafiles.first(), f.path(QStringLiteral("e.wmf"))));
    // One file of every kind the viewer shows, each with its own first letter,
    // so that typing the letter in the file list goes straight to it.
    const QList<std::pair<QString, QByteArray>> kinds = {
        {"a.txt", "plain text\r\nsecond line\r\n"},
        {"b.rtf", "{\\rtf1\\ansi {\\b bold} text\\par}"},
        {"c.html", "<html><head><title>c</title></head><body><h1>A page</h1></body></html>"},
        {"d.bmp", bitmapFile(QSize(32, 24), Qt::darkCyan)},
        {"e.wmf", {}},
        {"f.avi", {}},
        {"g.wav", sineWav()},
        {"h.exe", "MZ not really a program"},
    };
    for (const auto &[name, content] : kinds) {
        if (!content.isEmpty())
            f.makeFile(name, content);
    }
    QVERIFY(f.loadShown());
    frmGlintbox &w = *f.window;
    FileList &list = *w.controls().File1;
    QLabel &statusLine = *w.controls().InputFileProperties;
    QCOMPARE(list.listCount(), int(kinds.size()));

    for (int index : walkOrder(int(kinds.size()))) {
        const QString name = kinds.at(index).first;
        typeFirstLetter(list, name);
        QCOMPARE(list.fileName(), name);
        QVERIFY(statusLine.text().startsWith(QStringLiteral(" File Name: ") + name + u' '));
        QTRY_VERIFY2_WITH_TIMEOUT(screenShowsStatusLine(w, statusLine), qPrintable(name), 10000);
    }
}

int main(int argc, char *argv[])
{
    // The screen is what this test looks at: without one (outside xvfb-run) it
    // is skipped, not failed.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("SKIP: needs a display; run it under xvfb-run");
        return NoDisplayExitCode;
    }
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    // As the program runs: the browser engine may use the graphics card.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestWalk test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_walk.moc"
