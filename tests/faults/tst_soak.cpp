// A folder of thousands of files of every kind, broken ones among them, shown
// one after another by Down key presses in the real main window, as a user
// holding the key would. Nothing may crash or hang, and memory must level off.
#include "../formats/MetafileWriter.h"
#include "../shell/ShellFixture.h"
#include "TestImages.h"
#include "TestMedia.h"
#include "core/lists/FileList.h"
#include "shell/MainControls.h"

#include <QElapsedTimer>
#include <QTest>

#include <sys/resource.h>

using namespace glintbox;
using namespace glintbox::test;

namespace {

// CI's run; GLINTBOX_SOAK_FILES=5000 makes the full one (about four minutes).
constexpr int DefaultFileCount = 1500;
constexpr int SettledAfter = 500;
constexpr qint64 MaxGrowthKiB = 50 * 1024;

// The largest resident set so far: it keeps growing while memory leaks.
qint64 peakResidentKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One sound and one broken file of each kind among the rest.
QList<std::pair<QString, QByteArray>> kinds()
{
    const QColor blue(40, 120, 200);
    const QByteArray bmp = encodedImage(filledImage(64, 48, blue), "BMP");
    const QByteArray emf =
        EmfWriter().record(gdi::EMR_RECTANGLE, Le().rect({10, 10, 50, 50})).finish();
    const QByteArray wmf = WmfWriter(QRect(0, 0, 100, 100), 1440)
                               .record(gdi::META_RECTANGLE, Le().i16(90).i16(90).i16(10).i16(10))
                               .finish();
    return {
        {"txt", QByteArray("line of text\n").repeated(200)},
        {"rtf", "{\\rtf1\\ansi {\\b bold} and {\\i italic} text\\par}"},
        {"htm", "<html><body><p>a page</p></body></html>"},
        {"bmp", bmp},
        {"gif", encodedImage(filledImage(64, 48, blue), "GIF")},
        {"jpg", encodedImage(filledImage(64, 48, blue), "JPEG")},
        {"ico", encodedImage(filledImage(32, 32, blue), "ICO")},
        {"wmf", wmf},
        {"emf", emf},
        {"wav", sineWav()},
        {"exe", "MZ not a real program"},
        {"log", QByteArray("\xff\xfe broken \x80\x81 bytes \x1a after the marker")},
        {"rtf", "{\\rtf1 {{{ unbalanced \\bin999999 "},
        {"htm", "<html><body><p>unclosed <b><i"},
        {"bmp", bmp.left(40)},
        {"gif", "GIF89a broken"},
        {"jpg", "\xFF\xD8\xFF broken"},
        {"ico", QByteArray("\0\0\1\0\5\0", 6)},
        {"wmf", wmf.left(30)},
        {"emf", emf.left(100)},
        {"avi", "RIFF not a movie"},
    };
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void holdingDownThroughAFolderOfEveryKind();
};

void TestSoak::holdingDownThroughAFolderOfEveryKind()
{
    const int requested = qEnvironmentVariableIntValue("GLINTBOX_SOAK_FILES");
    const int fileCount = requested > 0 ? requested : DefaultFileCount;
    ShellFixture f;
    const auto templates = kinds();
    for (int i = 0; i < fileCount; ++i) {
        const auto &[extension, content] = templates[i % templates.size()];
        f.makeFile(QStringLiteral("%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(extension), content);
    }
    frmGlintbox &w = f.load();
    w.show();
    QListView *file1 = w.controls().File1;
    QCOMPARE(w.controls().File1->listCount(), fileCount);
    file1->setFocus();

    QElapsedTimer clock;
    clock.start();
    qint64 settledKiB = 0;
    for (int i = 1; i < fileCount; ++i) {
        QTest::keyClick(file1, Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(file1->currentIndex().row(), i);
        if (i == SettledAfter)
            settledKiB = peakResidentKiB();
    }
    const qint64 finalKiB = peakResidentKiB();
    qInfo("%d files in %.1f s; peak resident memory %lld MiB after %d files, %lld MiB at the end "
          "(%+lld MiB); %lld messages",
          fileCount, clock.elapsed() / 1000.0, settledKiB / 1024, SettledAfter, finalKiB / 1024,
          (finalKiB - settledKiB) / 1024, qint64(f.prompts.records().size()));
    if (fileCount > SettledAfter)
        QCOMPARE_LE(finalKiB - settledKiB, MaxGrowthKiB);
    // The window still answers: the last file is the one on view.
    QCOMPARE(w.controls().File1->fileName(),
             QStringLiteral("%1.%2")
                 .arg(fileCount - 1, 5, 10, QLatin1Char('0'))
                 .arg(templates[(fileCount - 1) % templates.size()].first));
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
