#include "ShellFixture.h"
#include "core/lists/DriveList.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "core/lists/WildcardPattern.h"
#include "shell/Navigation.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>

using namespace glintbox;

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void wildcard_data();
    void wildcard();
    void mountTableGivesDrives();
    void driveTexts_data();
    void driveTexts();
    void fileListSortsMatchesAndHidesDotFiles();
    void settingIndexRaisesClick();
    void samePathKeepsSelection();
    void driveNotReadyAtStartupGivesOneMessage();
    void choosingDriveLandsInRootAndShowsFirstFile();
    void driveNotReadyLaterReturnsToPreviousDrive();
    void folderWithoutMatchesKeepsShownFile();
    void refreshReturnsToDriveRoot();
    void unreadableFolderReportsAndListsStayUsable();
    void fileInRootHasSingleSeparator();
    void namesThatAreNotUtf8();
};

void TestNavigation::wildcard_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("any case") << "*.txt"
                              << "README.TXT" << true;
    QTest::newRow("other type") << "*.txt"
                                << "a.bmp" << false;
    QTest::newRow("several") << "*.bat;*.sys;*.txt"
                             << "x.sys" << true;
    QTest::newRow("star dot star takes names without dot") << "*.*"
                                                           << "README" << true;
    QTest::newRow("short form of long extension") << "*.mpe"
                                                  << "film.mpeg" << true;
    QTest::newRow("htm lists html") << "*.htm"
                                    << "page.html" << true;
    QTest::newRow("jpg does not list jpeg") << "*.jpg"
                                            << "photo.jpeg" << false;
    QTest::newRow("question mark") << "a?c.txt"
                                   << "abc.txt" << true;
    QTest::newRow("placeholder") << "*.ZZZ;*.txt"
                                 << "odd.zzz" << true;
    QTest::newRow("no extension, typed pattern") << "*.txt"
                                                 << "txt" << false;
    QTest::newRow("hostile name") << "*a*a*a*a*b" << QString(5000, u'a') << false;
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
    QStringList texts;
    for (const Drive &drive : drives)
        texts.append(drive.text());
    QCOMPARE(texts, QStringList({"/", "/media/my stick", "/mnt/share"}));
    QCOMPARE(drives[1].root(), QStringLiteral("/media/my stick/"));
    QCOMPARE(drives[0].root(), QStringLiteral("/"));
}

void TestNavigation::driveTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mountPoint");
    QTest::newRow("system drive") << "C"
                                  << "/";
    QTest::newRow("system drive with colon") << "c:"
                                             << "/";
    QTest::newRow("label") << "/media/usb [STICK]"
                           << "/media/usb";
    QTest::newRow("plain") << "/mnt/share"
                           << "/mnt/share";
}

void TestNavigation::driveTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, mountPoint);
    QCOMPARE(mountPointOfDriveText(text), mountPoint);
}

void TestNavigation::fileListSortsMatchesAndHidesDotFiles()
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
}

void TestNavigation::settingIndexRaisesClick()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.txt"));
    FileList list(f.fs);
    list.setPath(f.dir.path());
    QSignalSpy clicks(&list, &FileList::click);
    list.setListIndex(0);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list.fileName(), QStringLiteral("a.txt"));
    list.setListIndex(0);
    QCOMPARE(clicks.count(), 2);
    QVERIFY_THROWS_EXCEPTION(RunTimeError, list.setListIndex(2));
}

void TestNavigation::samePathKeepsSelection()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.txt"));
    FileList list(f.fs);
    list.setPath(f.dir.path());
    list.setListIndex(1);
    f.makeFile(QStringLiteral("0.txt"));
    list.setPath(f.dir.path());
    QCOMPARE(list.listIndex(), 1);
    QCOMPARE(list.listCount(), 2);
}

void TestNavigation::driveNotReadyAtStartupGivesOneMessage()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    QDir().mkpath(stick);
    f.drives.list.append(Drive{stick, QStringLiteral("STICK")});
    f.drives.notReady.insert(stick);
    f.makeFile(QStringLiteral("start/first.txt"));
    f.startFolder = f.path(QStringLiteral("start"));
    f.storeSetting("DriveLetter", stick + QStringLiteral(" [STICK]"));
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(f.prompts.texts(), QStringList{"Sorry, but this drive is unavailable"});
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Drive Error"});
    QCOMPARE(f.prompts.records().first().icon, PromptIcon::None);
    // Start-up went on: the first file of the start folder is shown.
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("first.txt"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Glintbox by Devezud Iziruvuz - Version 2.00"));
}

void TestNavigation::choosingDriveLandsInRootAndShowsFirstFile()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    f.makeFile(QStringLiteral("stick/deep/inner.txt"));
    f.makeFile(QStringLiteral("stick/b.txt"));
    f.makeFile(QStringLiteral("stick/a.txt"));
    f.drives.list.append(Drive{stick, {}});
    frmGlintbox &w = f.load();
    w.controls().Drive1->setDrive(stick);
    QCOMPARE(w.controls().Dir1->path(), stick + u'/');
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("a.txt"));
    QCOMPARE(w.controls().Label2->text(), QStringLiteral("2"));
    QCOMPARE(w.controls().Label5->text(), QStringLiteral("1"));
    QCOMPARE(w.state().previousDrive, stick);
    QVERIFY(w.controls().InputFileProperties->text().startsWith(
        QStringLiteral(" File Name: a.txt          File Size: 4 bytes          Modified Date: ")));
}

void TestNavigation::driveNotReadyLaterReturnsToPreviousDrive()
{
    ShellFixture f;
    const QString good = f.path(QStringLiteral("good"));
    const QString empty = f.path(QStringLiteral("empty"));
    f.makeFile(QStringLiteral("good/a.txt"));
    QDir().mkpath(empty);
    f.drives.list.append(Drive{good, {}});
    f.drives.list.append(Drive{empty, {}});
    f.drives.notReady.insert(empty);
    frmGlintbox &w = f.load();
    w.controls().Drive1->setDrive(good);
    w.controls().Drive1->setDrive(empty);
    QCOMPARE(f.prompts.texts(), QStringList{"Sorry, but this drive is unavailable"});
    QCOMPARE(w.controls().Drive1->drive(), good);
    QCOMPARE(w.controls().Dir1->path(), good + u'/');
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

void TestNavigation::refreshReturnsToDriveRoot()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    f.makeFile(QStringLiteral("stick/top.txt"));
    f.makeFile(QStringLiteral("stick/one/two/deep.txt"));
    f.drives.list.append(Drive{stick, {}});
    frmGlintbox &w = f.load();
    w.controls().Drive1->setDrive(stick);
    w.controls().Dir1->setPath(f.path(QStringLiteral("stick/one/two")));
    QCOMPARE(w.controls().Label2->text(), QStringLiteral("1"));
    w.navigation().mnuRefresh_Click();
    QCOMPARE(w.controls().Dir1->path(), stick + u'/');
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("top.txt"));
}

void TestNavigation::unreadableFolderReportsAndListsStayUsable()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("locked/secret.txt"));
    f.makeFile(QStringLiteral("open/b.txt"));
    frmGlintbox &w = f.load();
    f.fs.failWith(FaultyFileSystem::Operation::List, f.path(QStringLiteral("locked")), EACCES);
    w.controls().Dir1->folderChosen(f.path(QStringLiteral("locked")));
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 70"});
    QCOMPARE(f.prompts.texts(), QStringList{"Permission denied"});
    QCOMPARE(w.controls().Dir1->path(), f.dir.path());
    w.controls().Dir1->setPath(f.path(QStringLiteral("open")));
    QCOMPARE(w.controls().File1->listCount(), 1);
}

void TestNavigation::fileInRootHasSingleSeparator()
{
    ShellFixture f;
    const QString stick = f.path(QStringLiteral("stick"));
    f.makeFile(QStringLiteral("stick/a.txt"));
    f.drives.list.append(Drive{stick, {}});
    frmGlintbox &w = f.load();
    w.controls().Drive1->setDrive(stick);
    QCOMPARE(w.state().currentFolder, stick);
}

void TestNavigation::namesThatAreNotUtf8()
{
    ShellFixture f;
    const QByteArray raw = QFile::encodeName(f.dir.path()) + "/bad\xff\xfe.txt";
    QFile file(QString::fromLocal8Bit(raw));
    {
        FILE *handle = fopen(raw.constData(), "w");
        QVERIFY(handle);
        fputs("x", handle);
        fclose(handle);
    }
    f.makeFile(QStringLiteral("good.txt"));
    frmGlintbox &w = f.load();
    QCOMPARE(w.controls().File1->listCount(), 2);
    // Selecting it shows it or gives one clear error; never a crash.
    f.prompts.clear();
    w.controls().File1->setListIndex(0);
    QVERIFY2(f.prompts.records().size() <= 1, qPrintable(f.prompts.texts().join(u'|')));
    w.controls().File1->setListIndex(1);
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("good.txt"));
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
