#include "ShellFixture.h"
#include "core/lists/DriveList.h"
#include "core/lists/WildcardPattern.h"
#include "shell/Navigation.h"

#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glintbox;

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void wildcard_data();
    void wildcard();
    void mountTableGivesDrives();
    void fileListSortsFiltersAndKeepsSelection();
    void folderWithoutMatchesKeepsShownFile();
    void namesThatAreNotUtf8OpenByTheirBytes();
    void unmountedDrivesGiveTheDriveError();
    void drivesFollowTheListsAndRefreshReturnsToTheRoot();
    void userInputShowsTheHighlightedFile_data();
    void userInputShowsTheHighlightedFile();
};

void TestNavigation::wildcard_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    const auto row = [](const char *why, const char *pattern, const QString &name, bool matches) {
        QTest::newRow(why) << pattern << name << matches;
    };
    row("any case", "*.txt", "README.TXT", true);
    row("several", "*.bat;*.sys;*.txt", "x.sys", true);
    row("star dot star takes names without dot", "*.*", "README", true);
    row("short form of long extension", "*.mpe", "film.mpeg", true);
    row("htm lists html", "*.htm", "page.html", true);
    row("jpg does not list jpeg", "*.jpg", "photo.jpeg", false);
    row("question mark", "a?c.txt", "abc.txt", true);
    row("no extension, typed pattern", "*.txt", "txt", false);
    row("hostile name", "*a*a*a*a*b", QString(5000, u'a'), false);
}

void TestNavigation::wildcard()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(WildcardPattern(pattern).matches(name), matches);
}

void TestNavigation::mountTableGivesDrives()
{
    const QByteArray table = "proc /proc proc rw 0 0\n"
                             "/dev/vda / ext4 rw 0 0\n"
                             "tmpfs /dev/shm tmpfs rw 0 0\n"
                             "overlay /var/lib/x overlay rw 0 0\n"
                             "/dev/sdb1 /media/my\\040stick vfat rw 0 0\n"
                             "server:/share /mnt/share nfs4 rw 0 0\n"
                             "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n";
    QHash<QString, QString> labels;
    const QList<Drive> drives = MountedDrives::drivesFromMountTable(table, labels);
    QStringList roots;
    for (const Drive &drive : drives)
        roots.append(drive.root());
    QCOMPARE(roots, QStringList({"/", "/media/my stick/", "/mnt/share/"}));
    // A stored drive text, from an older run or with its label, names its mount point.
    for (const auto &[text, mountPoint] : {std::pair{"C", "/"},
                                           {"c:", "/"},
                                           {"/media/usb [STICK]", "/media/usb"},
                                           {"/mnt/share", "/mnt/share"}})
        QCOMPARE(mountPointOfDriveText(text), QString::fromLatin1(mountPoint));
}

void TestNavigation::fileListSortsFiltersAndKeepsSelection()
{
    ShellFixture f;
    for (const char *name : {"b.txt", "A.SYS", "c.bat", ".hidden.txt", "d.bmp", "C.txt"})
        f.makeFile(QString::fromLatin1(name));
    QDir(f.dir.path()).mkdir(QStringLiteral("folder.txt"));
    FileList list(f.fs);
    list.setPattern(QStringLiteral("*.bat;*.sys;*.txt"));
    list.setPath(f.dir.path());
    QStringList names;
    for (int i = 0; i < list.listCount(); ++i)
        names.append(list.entry(i));
    QCOMPARE(names, QStringList({"A.SYS", "b.txt", "c.bat", "C.txt"}));

    // The same path again keeps the list and its selection.
    list.setListIndex(1);
    f.makeFile(QStringLiteral("0.txt"));
    list.setPath(f.dir.path());
    QCOMPARE(list.listIndex(), 1);
    QCOMPARE(list.listCount(), 4);
}

void TestNavigation::folderWithoutMatchesKeepsShownFile()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("sub/picture.xyz"));
    frmGlintbox &w = f.load();
    const QString shown = w.controls().InputFileProperties->text();
    QVERIFY(shown.contains(QStringLiteral("a.txt")));
    w.controls().Dir1->setPath(f.path(QStringLiteral("sub")));
    QCOMPARE(w.controls().Label2->text(), QStringLiteral("0"));
    QCOMPARE(w.controls().InputFileProperties->text(), shown);
}

void TestNavigation::namesThatAreNotUtf8OpenByTheirBytes()
{
    ShellFixture f;
    const QByteArray folder = QFile::encodeName(f.dir.path()) + "/d\xe9j\xe0";
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    const QByteArray name = folder + "/caf\xe9.txt";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0 && ::write(fd, "coffee", 6) == 6 && ::close(fd) == 0);
    // The temporary folder's own clean-up cannot name them.
    const auto removeThem = qScopeGuard([&] {
        ::unlink(name.constData());
        ::rmdir(folder.constData());
    });
    QVERIFY(f.loadShown());
    frmGlintbox &w = *f.window;
    // Into the folder by the keys, then a click on its file.
    FolderList *dir1 = w.controls().Dir1;
    const int folderRow = dir1->model()->rowCount() - 1;
    QVERIFY(dir1->model()->index(folderRow, 0).data().toString().endsWith(u"d\uFFFDj\uFFFD"));
    dir1->setCurrentIndex(dir1->model()->index(folderRow, 0));
    QTest::keyClick(dir1, Qt::Key_Return);
    FileList *file1 = w.controls().File1;
    QCOMPARE(file1->listCount(), 1);
    f.clickFile(0);
    QCOMPARE(f.prompts.texts(), QStringList());
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("coffee"));
    QVERIFY(w.controls().InputFileProperties->text().startsWith(
        QStringLiteral(" File Name: caf\uFFFD.txt ")));
}

void TestNavigation::unmountedDrivesGiveTheDriveError()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    const QString gone = f.path(QStringLiteral("gone"));
    f.makeFile(QStringLiteral("stick/s.txt"));
    f.makeFile(QStringLiteral("start/first.txt"));
    // A stored drive since unmounted leaves its empty mount point behind.
    QDir().mkpath(gone);
    const QString table = f.path(QStringLiteral("mounts"));
    auto writeTable = [&](const QString &lines) {
        QFile file(table);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("/dev/vda / ext4 rw 0 0\n" + lines).toUtf8());
    };
    writeTable(QStringLiteral("/dev/sdb1 %1 vfat rw 0 0\n").arg(stick));
    MountedDrives mounted(table);
    f.startFolder = f.path(QStringLiteral("start"));
    f.storeSetting("DriveLetter", gone);
    frmGlintbox w(
        GlintboxServices{f.prompts, f.fs, mounted, *f.store, f.starter, f.dialogs, f.startFolder});
    w.Form_Load();
    const QStringList unavailable{"Sorry, but this drive is unavailable"};
    QCOMPARE(f.prompts.texts(), unavailable);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Drive Error"});
    QCOMPARE(f.prompts.records().first().icon, PromptIcon::None);
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("first.txt"));
    // The stick is pulled while the drive list still offers it.
    f.prompts.clear();
    writeTable({});
    DriveList *drive1 = w.controls().Drive1;
    drive1->setFocus();
    QCOMPARE(drive1->findText(stick), drive1->currentIndex() + 1);
    QTest::keyClick(drive1, Qt::Key_Down);
    QCOMPARE(f.prompts.texts(), unavailable);
    QCOMPARE(drive1->drive(), QStringLiteral("/"));
    QCOMPARE(w.controls().Dir1->path(), QStringLiteral("/"));
}

void TestNavigation::drivesFollowTheListsAndRefreshReturnsToTheRoot()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    f.makeFile(QStringLiteral("stick/one/two/deep.txt"));
    f.makeFile(QStringLiteral("stick/b.txt"));
    f.makeFile(QStringLiteral("stick/a.txt"));
    f.drives.list.append(Drive{stick, QStringLiteral("STICK")});
    QVERIFY(f.loadShown());
    const MainControls &c = f.window->controls();
    const QModelIndex stickRow = c.Dir1->model()->index(c.Dir1->model()->rowCount() - 1, 0);
    QCOMPARE(stickRow.data(Qt::ToolTipRole).toString(), stick);
    c.Dir1->setCurrentIndex(stickRow);
    QTest::keyClick(c.Dir1, Qt::Key_Return);
    // The folder tree now starts at the stick; the drive list says so.
    QCOMPARE(c.Drive1->drive(), stick + QStringLiteral(" [STICK]"));
    // "/" is one pick away, and the stick one more.
    QTest::keyClick(c.Drive1, Qt::Key_Up);
    QCOMPARE(c.Drive1->drive(), QStringLiteral("/"));
    QCOMPARE(c.Dir1->path(), QStringLiteral("/"));
    QTest::keyClick(c.Drive1, Qt::Key_Down);
    QCOMPARE(c.Dir1->path(), stick + u'/');
    QCOMPARE(f.window->state().currentFolder, stick); // one separator before a file's name
    QCOMPARE(c.File1->fileName(), QStringLiteral("a.txt"));
    QCOMPARE(c.Label2->text(), QStringLiteral("2"));
    QCOMPARE(c.Label5->text(), QStringLiteral("1"));

    c.Dir1->setPath(f.path(QStringLiteral("stick/one/two")));
    QCOMPARE(c.Label2->text(), QStringLiteral("1"));
    f.window->navigation().mnuRefresh_Click();
    QCOMPARE(c.Dir1->path(), stick + u'/');
    QCOMPARE(c.File1->fileName(), QStringLiteral("a.txt"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestNavigation::userInputShowsTheHighlightedFile_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("single click") << QStringList{"click 2"};
    QTest::newRow("click, then arrow") << QStringList{"click 1", "Down"};
    QTest::newRow("End, Home") << QStringList{"End", "Home"};
    QTest::newRow("first letter") << QStringList{"type c"};
}

void TestNavigation::userInputShowsTheHighlightedFile()
{
    QFETCH(QStringList, steps);
    ShellFixture f;
    const QStringList names{"apple.txt", "banana.txt", "cherry.txt", "date.txt"};
    for (const QString &name : names)
        f.makeFile(name, name.toUtf8());
    frmGlintbox &w = f.load();
    w.resize(900, 650);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FileList *list = w.controls().File1;
    auto shows = [&w, list](const QString &name) {
        const QString line = w.controls().InputFileProperties->text();
        return list->currentIndex().data().toString() == name && list->fileName() == name &&
               line.startsWith(QStringLiteral(" File Name: ") + name + QStringLiteral("   "));
    };
    for (const QString &step : steps) {
        const QString before = list->fileName();
        if (step.startsWith(u"click "))
            f.clickFile(step.mid(6).toInt());
        else if (step.startsWith(u"type "))
            QTest::keyClicks(list, step.mid(5));
        else
            QTest::keySequence(list, QKeySequence(step));
        QVERIFY2(list->fileName() != before, qPrintable(step));
        const QString highlighted = list->currentIndex().data().toString();
        QVERIFY2(shows(highlighted), qPrintable(step + QStringLiteral(" -> ") + highlighted));
    }
    // A click on the file already shown shows it again, as it now is.
    const QString shown = list->fileName();
    f.makeFile(shown, QByteArray(1234, 'x'));
    f.clickFile(list->currentIndex().row());
    QVERIFY(shows(shown));
    QVERIFY(w.controls().InputFileProperties->text().contains(QStringLiteral(" 1234 bytes")));
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
