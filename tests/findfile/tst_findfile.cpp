#include "../shell/ShellFixture.h"
#include "TestFiles.h"
#include "core/FileNameBytes.h"
#include "core/lists/DriveList.h"
#include "findfile/PreviewPicture.h"
#include "findfile/frmFindFile.h"

#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glintbox;

namespace {

// A tree's files in the order a walk finds them: subfolders last first, then
// the folder's own files.
const QStringList WalkedTree{"S/b/b2/c/d/d.txt", "S/b/b2/c/c.txt", "S/b/b2/b2.txt", "S/b/b1/b1.txt",
                             "S/b/ab.txt",       "S/b/b.txt",      "S/a/a.txt",     "S/s.txt"};

// One walk, recording how many folders it yields at and what it finds, as
// "folder text + name" relative to base.
struct Walk {
    explicit Walk(QString base)
        : base(std::move(base))
        , diver(fs, prompts,
                {[this](const QString &folder) {
                     ++entered;
                     if (onYield)
                         onYield(folder.mid(this->base.size()));
                 },
                 [this](const FoundFiles &found) {
                     for (const QString &name : found.names)
                         results.append(found.folderText.mid(this->base.size()) + name);
                 }})
    {
    }
    QStringList run(const QString &start, const QString &pattern = QStringLiteral("*.*"))
    {
        diver.dive(base + start, WildcardPattern(pattern));
        return results;
    }

    QString base;
    FaultyFileSystem fs;
    ScriptedPrompts prompts;
    int entered = 0;
    QStringList results;
    std::function<void(const QString &)> onYield;
    DirDiver diver;
};

// A chain of folders "d", deeper than any path can name, with a file at the
// bottom; made a level at a time, relative to open folders.
void makeChain(const QString &root, int depth)
{
    int folder = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth; ++level) {
        ::mkdirat(folder, "d", 0755);
        const int next = ::openat(folder, "d", O_RDONLY | O_DIRECTORY);
        ::close(folder);
        folder = next;
    }
    ::close(::openat(folder, "bottom.txt", O_CREAT | O_WRONLY, 0644));
    ::close(folder);
}

void clickResult(frmFindFile &w, const QString &name)
{
    for (int row = 0; row < w.results().rowCount(); ++row) {
        if (w.results().row(row).name != name)
            continue;
        QTreeView *list = w.controls().ListResults;
        const QRect cell = list->visualRect(w.results().index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        return;
    }
    QFAIL(qPrintable("not found: " + name));
}

void click(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The Find File window over a main window, started in the fixture's folder.
struct FindWindow {
    ShellFixture f;
    frmGlintbox &main;
    frmFindFile w;
    const FindFileControls &c = w.controls();

    explicit FindWindow(const QStringList &files = {})
        : main((QDir::setCurrent(f.dir.path()), f.load()))
        , w(main)
    {
        QVERIFY(makeFiles(f.dir.path(), files));
        c.Dir2->setPath(f.dir.path());
        w.show();
    }
};

} // namespace

class TestFindFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QDir::setCurrent(QDir::tempPath()); }

    void walkOrderStopAndFailures_data()
    {
        QTest::addColumn<QString>("stopAt");
        QTest::addColumn<int>("error"); // of S/b/b1, when not 0
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("prompt"); // or ""
        const QStringList &all = WalkedTree;
        // A stop cuts short the folder being entered and its parent; the folders above still
        // list their files.
        QTest::newRow("never") << "" << 0 << all << "";
        QTest::newRow("deep inside")
            << "S/b/b2/c/d" << 0
            << QStringList{"S/b/b2/b2.txt", "S/b/ab.txt", "S/b/b.txt", "S/s.txt"} << "";
        const QStringList stoppedAtB1{"S/b/b2/c/d/d.txt", "S/b/b2/c/c.txt", "S/b/b2/b2.txt",
                                      "S/s.txt"};
        // A folder that cannot be entered is reported once and the walk goes on.
        QStringList withoutB1 = all;
        withoutB1.removeAt(3);
        QTest::newRow("permission") << "" << EACCES << withoutB1 << "Permission denied";
        // Out of memory ends the walk as Stop does.
        QTest::newRow("out of memory")
            << "" << ENOMEM << stoppedAtB1 << "Out of memory. Abandoning search...";
    }

    void walkOrderStopAndFailures()
    {
        QFETCH(QString, stopAt);
        QFETCH(int, error);
        QFETCH(QStringList, found);
        QFETCH(QString, prompt);
        QTemporaryDir dir;
        QVERIFY(makeFiles(dir.path(), WalkedTree));
        Walk walk(dir.path() + u'/');
        walk.onYield = [&](const QString &folder) {
            if (folder == stopAt)
                walk.diver.stop();
        };
        if (error)
            walk.fs.failWith(FaultyFileSystem::Operation::List, dir.filePath("S/b/b1"), error);
        QCOMPARE(walk.run("S"), found);
        QCOMPARE(walk.prompts.texts(), prompt.isEmpty() ? QStringList() : QStringList{prompt});
        // The root's own files show the root as their folder, not "//".
        QCOMPARE(folderTextOf("/"), QStringLiteral("/"));
    }

    void linkLoopsAndUnreadableEntriesNeverStopIt()
    {
        QTemporaryDir dir;
        QVERIFY(makeFiles(dir.path(), {"S/s.txt", "S/sub/inner.txt"}));
        const QString s = dir.filePath("S");
        QVERIFY(QFile::link(s, s + "/sub/up"));
        QVERIFY(QFile::link(".", s + "/sub/here"));
        QVERIFY(QFile::link(s + "/sub/loop.txt", s + "/sub/loop.txt"));
        for (int i = 0; i < 50; ++i)
            QVERIFY(QFile::link(s + "/gone", s + "/dead" + QString::number(i) + ".txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(s + "/pipe.txt").constData(), 0644), 0);
        QVERIFY(QFile::link(s + "/s.txt", s + "/sub/link.txt"));
        Walk walk(dir.path() + u'/');
        QCOMPARE(walk.run("S", "*.txt"),
                 QStringList({"S/sub/inner.txt", "S/sub/link.txt", "S/s.txt"}));
        QCOMPARE(walk.entered, 2);
        QVERIFY(walk.prompts.records().isEmpty());
        // A start folder chosen through a link is searched.
        Walk throughLink(dir.path() + u'/');
        QCOMPARE(throughLink.run("S/sub/up", "*.txt").size(), 3);
    }

    void treeTenThousandDeepIsWalked()
    {
        // In memory where possible: making and removing ten thousand folders on
        // a disk takes far longer than the walk.
        const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
        QTemporaryDir dir((shm ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
                          "/findfile-XXXXXX");
        makeChain(dir.path(), 10000);
        const auto cleanUp = qScopeGuard([&] { QProcess::execute("rm", {"-rf", dir.path()}); });
        Walk walk(dir.path() + u'/');
        QCOMPARE(walk.run(""), QStringList{QStringLiteral("d/").repeated(10000) + "bottom.txt"});
        QCOMPARE(walk.entered, 10001);
        QVERIFY(walk.prompts.records().isEmpty());
    }

    void findNowCountsWhatItFinds_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("count");
        QTest::newRow("none") << "*.txt" << QStringList{"a.bmp", "folder.txt/"} << "0 files found";
        QTest::newRow("two patterns")
            << "*.txt;*.htm" << QStringList{"a.txt", "sub/b.html"} << "2 files found";
        QTest::newRow("hidden names left out")
            << "*.*" << QStringList{"a", ".b.txt", ".c/c.txt"} << "1 file found";
    }

    void findNowCountsWhatItFinds()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, files);
        FindWindow t(files);
        QVERIFY(QTest::qWaitForWindowActive(&t.w));
        // The pattern box gets the focus with its text selected: typing replaces it.
        QTRY_VERIFY(t.c.InputCriteria->hasFocus());
        QTest::keyClicks(t.c.InputCriteria, pattern);
        QTest::keyClick(t.c.InputCriteria, Qt::Key_Return);
        QTEST(t.c.LabelCount->text(), "count");
        // Enter is the pattern box's own: the window stays open.
        QVERIFY(t.w.isVisible() && !t.c.ButtonStop->isEnabled());
    }

    void stopOrCloseDuringAWalk_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("Stop") << false;
        QTest::newRow("Close") << true;
    }

    void stopOrCloseDuringAWalk()
    {
        QFETCH(bool, close);
        FindWindow t({"top.txt", "a/a.txt", "b/b.txt", "b/c/c.txt"});
        bool findNowEnabled = true;
        t.f.fs.beforeWalkOpen = [&](const QString &folder) {
            if (folder != t.f.path("b/c"))
                return;
            findNowEnabled = t.c.ButtonSearch->isEnabled();
            // These land at the walk's next yield. Enter in the pattern box does
            // not start a walk inside the walk.
            QTimer::singleShot(0, [&] {
                QTest::keyClick(t.c.InputCriteria, Qt::Key_Return);
                click(close ? t.c.ButtonClose : t.c.ButtonStop);
            });
        };
        click(t.c.ButtonSearch);
        QVERIFY(!findNowEnabled);
        QCOMPARE(t.w.isVisible(), !close);
        // b and b/c were walked; a was never entered and cut the start folder short.
        QCOMPARE(t.c.LabelCount->text(), QStringLiteral("2 files found"));
    }

    void clickedResultShowsNamesPreviewAndFolder()
    {
        FindWindow t({"<b>bold.txt", "broken.gif", "sub/hidden.txt"});
        const double twip = t.w.logicalDpiY() / 1440.0;
        QImage picture(qRound(6000 * twip), qRound(3000 * twip), QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(t.f.path("wide.bmp"), "BMP"));
        QVERIFY(
            picture.scaled(qRound(1005 * twip), qRound(795 * twip)).save(t.f.path("small.jpeg")));
        t.main.controls().File1->setPattern("*.bmp");
        const QString shown = t.main.controls().InputFileProperties->text();
        click(t.c.ButtonSearch);
        // Before any result is clicked, Display File does nothing.
        click(t.c.ButtonView);
        QVERIFY(t.w.isVisible());

        PreviewPicture *preview = t.c.ImagePreview;
        clickResult(t.w, "wide.bmp");
        QCOMPARE(t.c.LabelSelectedPath->text(), t.f.dir.path() + u'/');
        QCOMPARE(preview->size(), QSize(qRound(3420 * twip), qRound(1710 * twip)));
        clickResult(t.w, "small.jpeg");
        QCOMPARE(preview->size(), QSize(qRound(1005 * twip), qRound(795 * twip)));

        // A name that looks like markup is shown as it is; text gets no preview.
        clickResult(t.w, "<b>bold.txt");
        QVERIFY(!preview->isVisible());
        QCOMPARE(t.c.LabelSelectedName->textFormat(), Qt::PlainText);

        // Any key typed into the pattern box clears the preview.
        clickResult(t.w, "wide.bmp");
        QTest::keyClick(t.c.InputCriteria, Qt::Key_X);
        QVERIFY(!preview->isVisible() && preview->picture().isNull());

        // A picture that cannot be read gets the shared report; the window stays.
        clickResult(t.w, "broken.gif");
        QCOMPARE(t.f.prompts.captions(), QStringList{"Glintbox - Error 481"});
        QVERIFY(!preview->isVisible() && t.w.isVisible());

        // Another start folder clears the results and the selection.
        QVERIFY(QTest::qWaitForWindowActive(&t.w));
        t.c.Dir2->setFocus();
        t.c.Dir2->setCurrentIndex(t.c.Dir2->model()->index(t.c.Dir2->model()->rowCount() - 1, 0));
        QTest::keyClick(t.c.Dir2, Qt::Key_Return);
        QCOMPARE(t.c.Dir2->path(), t.f.path("sub"));
        QCOMPARE(t.w.results().rowCount(), 0);
        QVERIFY(t.c.LabelSelectedName->text().isEmpty() && !t.c.ButtonView->isEnabled());

        // A file the main window's filter hides: its folder, no file shown.
        t.c.InputCriteria->setCurrentText("*.*");
        click(t.c.ButtonSearch);
        clickResult(t.w, "hidden.txt");
        click(t.c.ButtonView);
        QVERIFY(!t.w.isVisible());
        QCOMPARE(t.main.controls().Dir1->path(), t.f.path("sub"));
        QCOMPARE(t.main.controls().File1->listIndex(), -1);
        QCOMPARE(t.main.controls().InputFileProperties->text(), shown);
    }

    void driveNotReadyAsksForADisk()
    {
        FindWindow t;
        t.f.drives.list.append(Drive{QStringLiteral("/media/floppy"), QStringLiteral("DISK")});
        t.f.drives.notReady.insert(QStringLiteral("/media/floppy"));
        t.c.Drive1->reloadDrives();
        QVERIFY(QTest::qWaitForWindowActive(&t.w));
        t.c.Drive1->setFocus();
        QTest::keyClick(t.c.Drive1, Qt::Key_Down);
        QCOMPARE(t.f.prompts.texts(), QStringList{"Please insert a disk into the selected drive."});
        QCOMPARE(t.c.Drive1->drive(), QStringLiteral("/"));
        QCOMPARE(t.c.Dir2->path(), t.f.dir.path());
    }

    void displayFileShowsTheExactFile_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<bool>("fromToolbar");
        QTest::newRow("first of its folder, Ctrl+I") << QByteArray("a.txt") << false;
        QTest::newRow("names differing in case, toolbar") << QByteArray("README.txt") << true;
        QTest::newRow("name that is not UTF-8") << QByteArray("z\xff\xfe.txt") << false;
    }

    void displayFileShowsTheExactFile()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(bool, fromToolbar);
        ShellFixture f;
        f.makeFile("start.txt");
        QDir().mkpath(f.path("deep/er"));
        for (const QByteArray name : {"a.txt", "Readme.txt", "README.txt", "z\xff\xfe.txt"})
            FileSystem::local().writeAll(f.path("deep/er/") + fileNameFromBytes(name), name);
        QDir::setCurrent(f.dir.path());
        frmGlintbox &w = f.load();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmFindFile *>(QApplication::activeModalWidget());
            QVERIFY(opened = dialog != nullptr);
            // A failed check leaves no modal window waiting.
            const auto close = qScopeGuard([&] { dialog->reject(); });
            // It opens on the main window's folder, for every file.
            QCOMPARE(dialog->controls().Dir2->path(), f.dir.path());
            click(dialog->controls().ButtonSearch);
            clickResult(*dialog, fileNameFromBytes(chosen));
            click(dialog->controls().ButtonView);
            QVERIFY(!dialog->isVisible());
        });
        if (fromToolbar)
            f.clickToolbarButton("FindFile");
        else
            QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(opened);
        QCOMPARE(fileNameToBytes(w.controls().File1->fileName()), chosen);
        QCOMPARE(w.viewer().Text1->text(), QString::fromLatin1(chosen));
        QVERIFY(f.prompts.records().isEmpty());
    }
};

QTEST_MAIN(TestFindFile)
#include "tst_findfile.moc"
