// Reads, listings and the settings write failing at a chosen moment, through
// the file layer, in the real main window: each gives its message, nothing of
// another file stays on view, no old file is lost, and the window goes on
// working or closes.
#include "../shell/ShellFixture.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "shell/MainControls.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QTest>

#include <cerrno>

using namespace glintbox;

namespace {

using Op = FaultyFileSystem::Operation;

struct Failure {
    const char *name;
    int errnoValue;
    int fileNumber;
    const char *text;
};

const Failure Failures[] = {
    {"EACCES", EACCES, 70, "Permission denied"},
    {"ENOSPC", ENOSPC, 61, "Disk full"},
    {"EIO", EIO, 57, "Device I/O error"},
    {"ENOENT", ENOENT, 53, "File not found"},
};

// The one message the failure gives; a folder's ENOENT is "Path not found".
void verifyReported(ShellFixture &f, const Failure &failure, bool folder = false)
{
    const bool path = folder && failure.errnoValue == ENOENT;
    QCOMPARE(
        f.prompts.captions(),
        QStringList{QStringLiteral("Glintbox - Error %1").arg(path ? 76 : failure.fileNumber)});
    QCOMPARE(f.prompts.texts(), QStringList{path ? "Path not found" : failure.text});
}

bool viewerIsEmpty(frmGlintbox &w)
{
    return w.viewer().Text1->text().isEmpty() && w.viewer().Picture2->picture().isNull();
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void readFailsOnTheWayBack_data();
    void readFailsOnTheWayBack();
    void listingFailsBetweenTheLists_data();
    void listingFailsBetweenTheLists();
    void settingsWriteFailsAtEachStep_data();
    void settingsWriteFailsAtEachStep();
    void unreadableSettingsAreKept();
};

void TestFaults::readFailsOnTheWayBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("failure");
    const struct {
        const char *name;
        QByteArray content;
    } kinds[] = {{"b.txt", "plain text"},
                 {"b.rtf", "{\\rtf1 rich text}"},
                 {"b.bmp", encodedImage(filledImage(6, 4, Qt::green), "BMP")}};
    for (const auto &kind : kinds) {
        for (int failure = 0; failure < int(std::size(Failures)); ++failure) {
            for (const Op operation : {Op::Status, Op::Read}) {
                QTest::addRow("%s %s %s", kind.name, operation == Op::Read ? "read" : "status",
                              Failures[failure].name)
                    << QString::fromLatin1(kind.name) << kind.content << int(operation) << failure;
            }
        }
    }
}

// The file is shown once; on the way back to it (Down, Down, Up) the file
// layer fails, and only that failure is reported.
void TestFaults::readFailsOnTheWayBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, operation);
    QFETCH(int, failure);

    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "first file");
    f.makeFile(name, content);
    f.makeFile(QStringLiteral("c.txt"), "third file");
    frmGlintbox &w = f.load();
    w.show();
    QListView *file1 = w.controls().File1;
    file1->setFocus();
    f.fs.failAfter(Op(operation), f.path(name), 1, Failures[failure].errnoValue);

    QTest::keyClick(file1, Qt::Key_Down);
    QCOMPARE(w.controls().File1->fileName(), name);
    QVERIFY(!viewerIsEmpty(w));
    QTest::keyClick(file1, Qt::Key_Down);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("third file"));
    QVERIFY(f.prompts.records().isEmpty());

    QTest::keyClick(file1, Qt::Key_Up);
    verifyReported(f, Failures[failure]);
    QCOMPARE(f.prompts.records().first().icon, PromptIcon::Critical);
    QVERIFY2(viewerIsEmpty(w), "another file stays on view under the failed file's name");

    // The fault has passed: the same keys show both files again.
    f.prompts.clear();
    QTest::keyClick(file1, Qt::Key_Down);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("third file"));
    QTest::keyClick(file1, Qt::Key_Up);
    QVERIFY(!viewerIsEmpty(w));
    QVERIFY(f.prompts.records().isEmpty());
    QCOMPARE(QFile(f.path(name)).size(), content.size());
}

void TestFaults::listingFailsBetweenTheLists_data()
{
    QTest::addColumn<int>("successfulListings");
    QTest::addColumn<int>("failure");
    for (int failure = 0; failure < int(std::size(Failures)); ++failure) {
        // The folder list reads the folder first, the file list second.
        for (int successful : {0, 1})
            QTest::addRow("%s, listing %d", Failures[failure].name, successful + 1)
                << successful << failure;
    }
}

void TestFaults::listingFailsBetweenTheLists()
{
    QFETCH(int, successfulListings);
    QFETCH(int, failure);

    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "top file");
    f.makeFile(QStringLiteral("sub/inner.txt"), "inner file");
    f.makeFile(QStringLiteral("open/b.txt"), "open file");
    frmGlintbox &w = f.load();
    const QString sub = f.path(QStringLiteral("sub"));
    f.fs.failAfter(Op::List, sub, successfulListings, Failures[failure].errnoValue);
    w.controls().Dir1->folderChosen(sub);
    verifyReported(f, Failures[failure], true);

    // Whatever the lists show, the file on view is the one the file list names.
    const QString shown = w.controls().File1->path() + u'/' + w.controls().File1->fileName();
    if (!viewerIsEmpty(w)) {
        QFile file(shown);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(w.viewer().Text1->text(), QString::fromUtf8(file.readAll()));
    }

    f.prompts.clear();
    w.controls().Dir1->folderChosen(f.path(QStringLiteral("open")));
    QCOMPARE(w.controls().File1->listCount(), 1);
    w.controls().File1->setListIndex(0);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("open file"));
    w.controls().Dir1->folderChosen(sub);
    w.controls().File1->setListIndex(0);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("inner file"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestFaults::settingsWriteFailsAtEachStep_data()
{
    QTest::addColumn<int>("successfulSteps");
    QTest::addColumn<int>("failure");
    const char *steps[] = {"create", "write", "flush", "rename"};
    for (int step = 0; step < 4; ++step) {
        for (int failure = 0; failure < int(std::size(Failures)); ++failure)
            QTest::addRow("%s at %s", Failures[failure].name, steps[step]) << step << failure;
    }
}

void TestFaults::settingsWriteFailsAtEachStep()
{
    QFETCH(int, successfulSteps);
    QFETCH(int, failure);

    ShellFixture f;
    // The first close also makes the settings folder.
    const QString file = f.path(QStringLiteral("config/Glintbox/Glintbox.conf"));
    f.store = std::make_unique<SettingsStore>(file, f.fs);
    f.load().close();
    const QByteArray old = readFile(file);
    QVERIFY(old.contains("MaxFileSize=20480000"));

    f.store = std::make_unique<SettingsStore>(file, f.fs);
    frmGlintbox &w = f.load();
    w.show();
    w.state().maxFileSize = 524288;
    f.fs.failAfter(Op::WriteStep, file, successfulSteps, Failures[failure].errnoValue);
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    verifyReported(f, Failures[failure]);
    QCOMPARE(f.exits, 1); // only the first close got to the end
    QCOMPARE(readFile(file), old);
    QCOMPARE(QFileInfo(file).dir().entryList({QStringLiteral("Glintbox.conf*")}, QDir::Files),
             QStringList{QStringLiteral("Glintbox.conf")});
}

// Settings that could not be read are still the user's: the close reports
// instead of writing the defaults over them.
void TestFaults::unreadableSettingsAreKept()
{
    ShellFixture f;
    const QString file = f.settingsFile();
    f.store = std::make_unique<SettingsStore>(file, f.fs);
    f.load().close();
    const QByteArray old = readFile(file);
    f.fs.failWith(Op::Read, file, EIO);
    f.store = std::make_unique<SettingsStore>(file, f.fs);
    f.fs.clearFaults();
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(w.close());
    QCOMPARE(f.prompts.captions().size(), 1);
    QCOMPARE(readFile(file), old);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
