#include "ShellFixture.h"
#include "core/FileNameBytes.h"
#include "filter/frmFileFilter.h"
#include "shell/StartTarget.h"
#include "shell/settings/SettingsKeys.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using namespace glintbox;

// A file or folder named on the command line, as a file manager's "Open with"
// passes it: the window starts there whatever the stored folder and filter.
class TestOpenWith : public QObject {
    Q_OBJECT

private slots:
    void pathFromArguments_data();
    void pathFromArguments();
    void startsAtTarget_data();
    void startsAtTarget();
    void exceptionEndsWithAnotherFolderOrFilter_data();
    void exceptionEndsWithAnotherFolderOrFilter();
    void unreadablePathIsReportedAndStartsAsStored();

private:
    // A stored folder with one file, and "docs" beside it that the stored
    // filter (the default, known types only) lists in part.
    static void prepare(ShellFixture &f)
    {
        f.makeFile(QStringLiteral("stored/s.txt"));
        for (const char *name : {"docs/a.txt", "docs/b.txt", "docs/notes.xyz", "docs/.hidden.txt"})
            f.makeFile(QString::fromLatin1(name));
        f.storeSetting(DrivePathKey, f.path(QStringLiteral("stored")));
    }
};

void TestOpenWith::pathFromArguments_data()
{
    using Arguments = QList<QByteArray>;
    QTest::addColumn<Arguments>("arguments");
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("none") << Arguments{"glintbox"} << QByteArray();
    QTest::newRow("empty") << Arguments{"glintbox", ""} << QByteArray();
    QTest::newRow("relative") << Arguments{"glintbox", "sub/x.txt"}
                              << QByteArray("/work/sub/x.txt");
    QTest::newRow("dots and doubled separators")
        << Arguments{"glintbox", "../other//x y.txt"} << QByteArray("/other/x y.txt");
    QTest::newRow("root") << Arguments{"glintbox", "/"} << QByteArray("/");
    QTest::newRow("a name that is not UTF-8")
        << Arguments{"glintbox", "caf\xe9 \xff.txt"} << QByteArray("/work/caf\xe9 \xff.txt");
}

void TestOpenWith::pathFromArguments()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QByteArray, path);
    // The bytes come back unchanged, so the file is found.
    QCOMPARE(fileNameToBytes(openPathFromArguments(arguments, QStringLiteral("/work"))), path);
}

void TestOpenWith::startsAtTarget_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("listed");
    const auto row = [](const char *why, const char *open, const char *shown, int listed) {
        QTest::newRow(why) << open << shown << listed;
    };
    row("a file the filter lists", "docs/b.txt", "b.txt", 2);
    row("a file the filter hides", "docs/notes.xyz", "notes.xyz", 3);
    row("a folder", "docs", "a.txt", 2);
}

void TestOpenWith::startsAtTarget()
{
    QFETCH(QString, open);
    QFETCH(QString, shown);
    QFETCH(int, listed);
    ShellFixture f;
    prepare(f);
    f.openPath = f.path(open);
    frmGlintbox &w = f.load();
    const MainControls &c = w.controls();
    QCOMPARE(c.File1->path(), f.path(QStringLiteral("docs")));
    QCOMPARE(c.File1->fileName(), shown);
    QVERIFY(c.InputFileProperties->text().contains(" File Name: " + shown + " "));
    QCOMPARE(c.File1->listCount(), listed);
    QCOMPARE(c.Label2->text(), QString::number(listed));
    QVERIFY(f.prompts.records().isEmpty());

    // Closing keeps the folder the user is in and leaves the filter as stored.
    f.closeAndReload();
    QCOMPARE(f.storedSetting(DrivePathKey), f.path(QStringLiteral("docs")));
    QCOMPARE(f.store->read(FiltersSection, QStringLiteral("ALL"), {}), QStringLiteral("1"));
}

void TestOpenWith::exceptionEndsWithAnotherFolderOrFilter_data()
{
    QTest::addColumn<bool>("byFilter");
    QTest::newRow("folder") << false;
    QTest::newRow("filter") << true;
}

void TestOpenWith::exceptionEndsWithAnotherFolderOrFilter()
{
    QFETCH(bool, byFilter);
    ShellFixture f;
    prepare(f);
    f.openPath = f.path(QStringLiteral("docs/notes.xyz"));
    frmGlintbox &w = f.load();
    FileList &file1 = *w.controls().File1;
    // Showing the next file keeps the list as it is.
    QTest::keyClick(&file1, Qt::Key_Up);
    QCOMPARE(file1.fileName(), QStringLiteral("b.txt"));
    QCOMPARE(file1.listCount(), 3);
    if (byFilter) {
        QVERIFY(f.activate());
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<frmFileFilter *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
        QTest::keyClick(&file1, Qt::Key_L, Qt::ControlModifier);
    } else {
        w.controls().Dir1->setPath(f.path(QStringLiteral("stored")));
        w.controls().Dir1->setPath(f.path(QStringLiteral("docs")));
    }
    QCOMPARE(file1.listCount(), 2);
    QCOMPARE(file1.indexOf(QStringLiteral("notes.xyz")), -1);
}

void TestOpenWith::unreadablePathIsReportedAndStartsAsStored()
{
    ShellFixture f;
    prepare(f);
    f.openPath = f.path(QStringLiteral("docs/gone.txt"));
    frmGlintbox &w = f.load();
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 53"});
    QCOMPARE(w.controls().File1->path(), f.path(QStringLiteral("stored")));
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("s.txt"));
}

QTEST_MAIN(TestOpenWith)
#include "tst_openwith.moc"
