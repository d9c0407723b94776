#include "../shell/ShellFixture.h"
#include "TestFiles.h"
#include "core/Paths.h"
#include "core/lists/DriveList.h"
#include "formats/rtf/RtfReader.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/text/RichTextBox.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QTextCursor>

#include <cerrno>

using namespace glintbox;

namespace {

using Files = QList<std::pair<QString, QByteArray>>;

const QString SaveQuestion =
    QStringLiteral("File has been changed, would you like to save the changes?");

// The main window over `folder` holding these files, shown and active.
frmGlintbox &openIn(ShellFixture &f, const QString &folder, const Files &files)
{
    for (const auto &[name, content] : files)
        f.makeFile(QDir(f.dir.path()).relativeFilePath(folder + u'/' + name), content);
    f.startFolder = folder;
    frmGlintbox &w = f.loadActive();
    w.viewer().Text1->finishLoading();
    f.prompts.clear();
    return w;
}

// Leaves the text box for the file list without choosing a file.
void clickBelowRows(frmGlintbox &w)
{
    QWidget *rows = w.controls().File1->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(4, rows->height() - 3));
}

// Clicks into the text and puts `text` at its start, typed when it is plain
// ASCII, pasted with Ctrl+V otherwise.
void insertAtStart(frmGlintbox &w, const QString &text)
{
    QWidget *edit = w.viewer().Text1->focusProxy();
    QTest::mouseClick(static_cast<QAbstractScrollArea *>(edit)->viewport(), Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
    if (QStringView(text).toLatin1() == text.toUtf8()) {
        QTest::keyClicks(edit, text);
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
}

} // namespace

class TestEdit : public QObject {
    Q_OBJECT

private slots:
    void leavingAsksThenShowsClickedFile_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("refresh"); // shows the first file again, focus in the box
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("shown");
        QTest::newRow("yes") << true << false << QByteArray("Xalpha\n") << "beta\n";
        QTest::newRow("no") << false << false << QByteArray("alpha\n") << "beta\n";
        QTest::newRow("refresh") << true << true << QByteArray("Xalpha\n") << "Xalpha\n";
    }

    void leavingAsksThenShowsClickedFile()
    {
        QFETCH(bool, save);
        QFETCH(bool, refresh);
        ShellFixture f;
        f.drives.list.append(Drive{f.path("x"), {}});
        frmGlintbox &w = openIn(f, f.path("x"), {{"a.txt", "alpha\n"}, {"b.txt", "beta\n"}});
        w.controls().Drive1->setDrive(f.path("x"));
        insertAtStart(w, QStringLiteral("X"));
        f.prompts.queueAnswer(save ? PromptAnswer::Yes : PromptAnswer::No);
        if (refresh)
            QTest::keyClick(w.viewer().Text1->focusProxy(), Qt::Key_R, Qt::ControlModifier);
        else
            f.clickFile(1);
        QCOMPARE(f.prompts.texts(), QStringList{SaveQuestion});
        QCOMPARE(f.prompts.records().first().buttons, PromptButtons::YesNo);
        // Until the list shows a file on the first click, a second one does it.
        if (!refresh && w.viewer().Text1->text() != QStringLiteral("beta\n"))
            f.clickFile(1);
        QTEST(readFile(f.path("x/a.txt")), "saved");
        QTEST(w.viewer().Text1->text(), "shown");
    }

    void leavingTheTextSavesItInItsForm_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("saved"); // else written behind its back and shown anew
        QTest::newRow("nothing typed")
            << QByteArray("before") << "" << QByteArray("changed") << false;
        // Shown up to the end-of-file marker: saving would cut off the rest.
        QTest::newRow("part of a file")
            << QByteArray("shown\x1arest") << "X" << QByteArray("shown") << false;
        QTest::newRow("LF") << QByteArray("a\nb\n") << "X" << QByteArray("Xa\nb\n") << true;
        QTest::newRow("CR LF, no final break")
            << QByteArray("a\r\nb") << "X" << QByteArray("Xa\r\nb\r\n") << true;
        QTest::newRow("Windows-1252")
            << QByteArray("caf\xe9\r\n") << "X" << QByteArray("Xcaf\xe9\r\n") << true;
        QTest::newRow("Windows-1252 cannot hold it") << QByteArray("caf\xe9\n") << u"\u2603"_qs
                                                     << QByteArray("\xe2\x98\x83") + "caf\xc3\xa9\n"
                                                     << true;
        const QByteArray bom("\xef\xbb\xbf");
        QTest::newRow("UTF-8 with byte-order mark") << bom + "caf\xc3\xa9\n"
                                                    << "X" << bom + "Xcaf\xc3\xa9\n"
                                                    << true;
    }

    void leavingTheTextSavesItInItsForm()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, inserted);
        QFETCH(QByteArray, after);
        QFETCH(bool, saved);
        ShellFixture f;
        // The list shows a drive's root, whose path ends in the separator, with
        // a file of the same name: only the shown file is written.
        const QString root = f.path("drive");
        f.makeFile("drive/a.txt", "other\n");
        f.drives.list.append(Drive{root, {}});
        frmGlintbox &w = openIn(f, f.path("x"), {{"a.txt", before}});
        if (saved)
            w.controls().Dir1->setPath(root + u'/');
        insertAtStart(w, inserted);
        if (!saved)
            f.makeFile("x/a.txt", after);
        clickBelowRows(w);
        QCOMPARE(f.prompts.texts(), saved ? QStringList{SaveQuestion} : QStringList());
        QCOMPARE(f.fs.writes(), saved ? QStringList{f.path("x/a.txt")} : QStringList());
        QCOMPARE(readFile(f.path("x/a.txt")), after);
        QCOMPARE(readFile(f.path("drive/a.txt")), QByteArray("other\n"));
        if (!saved)
            QCOMPARE(w.viewer().Text1->text(), QString::fromLatin1(after));
    }

    void failedSaveKeepsOldFileAndAsksAgain_data()
    {
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("injected") << false;
        QTest::newRow("small tmpfs") << true;
    }

    void failedSaveKeepsOldFileAndAsksAgain()
    {
        QFETCH(bool, realDisk);
        ShellFixture f;
        const QString folder = f.path("disk");
        QDir().mkpath(folder);
        if (realDisk &&
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", folder}) != 0)
            QSKIP("mounting a tmpfs needs root and a system that allows it");
        const auto unmount = qScopeGuard([&] {
            f.window.reset();
            if (realDisk)
                QProcess::execute("umount", {folder});
        });
        frmGlintbox &w = openIn(f, folder, {{"a.txt", "old\n"}});
        if (!realDisk)
            f.fs.failWith(FaultyFileSystem::Operation::Write, folder + "/a.txt", ENOSPC);
        insertAtStart(w, QString(realDisk ? 40000 : 1, u'\u00e9'));
        f.prompts.queueAnswer(PromptAnswer::Yes);
        f.prompts.queueAnswer(PromptAnswer::Ok);
        f.prompts.queueAnswer(PromptAnswer::No);
        clickBelowRows(w);
        QCOMPARE(f.prompts.captions(),
                 (QStringList{"Glintbox - Save Changes", "Glintbox - Error 61",
                              "Glintbox - Save Changes"}));
        QCOMPARE(readFile(folder + "/a.txt"), QByteArray("old\n"));
    }

    void editedRtfKeepsItsFormatting()
    {
        ShellFixture f;
        frmGlintbox &w = openIn(f, f.path("x"), {{"a.rtf", R"({\rtf1\ansi {\b bold} plain\par})"}});
        insertAtStart(w, QStringLiteral("X"));
        clickBelowRows(w);
        const RtfReadResult saved = readRtf(readFile(f.path("x/a.rtf")));
        QCOMPARE(saved.document->toPlainText().trimmed(), QStringLiteral("Xbold plain"));
        QCOMPARE(saved.document->find(QStringLiteral("bold")).charFormat().fontWeight(),
                 int(QFont::Bold));
    }

    void newFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("writeError");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("byToolbar");
        QTest::newRow("shown") << "new.txt" << 0 << QStringList() << false;
        QTest::newRow("in another folder, toolbar") << "sub/new.txt" << 0 << QStringList() << true;
        QTest::newRow("hidden by the filter")
            << "new.log" << 0 << QStringList{"Glintbox - Error 380"} << false;
        QTest::newRow("disk full")
            << "new.txt" << ENOSPC << QStringList{"Glintbox - Disk Error", "Glintbox - Error 380"}
            << false;
        QTest::newRow("cancelled, toolbar") << QString() << 0 << QStringList() << true;
    }

    void newFile()
    {
        QFETCH(QString, name);
        QFETCH(int, writeError);
        QFETCH(bool, byToolbar);
        ShellFixture f;
        QDir().mkpath(f.path("x/sub"));
        frmGlintbox &w = openIn(f, f.path("x"), {{"a.txt", "a"}});
        w.controls().File1->setPattern(QStringLiteral("*.txt"));
        const QString path = f.path("x/" + name);
        if (writeError)
            f.fs.failWith(FaultyFileSystem::Operation::Write, path, writeError);
        f.dialogs.queueSaveFile(name.isEmpty() ? std::nullopt : std::optional(path));
        if (byToolbar)
            f.clickToolbarButton("New");
        else
            QTest::keyClick(w.controls().File1, Qt::Key_N, Qt::ControlModifier);
        QTEST(f.prompts.captions(), "captions");
        QCOMPARE(f.dialogs.records().first().save.initialFolder, f.path("x"));
        const bool made = !name.isEmpty() && !writeError;
        QCOMPARE(QFileInfo(path).isFile() ? readFile(path) : "none",
                 QByteArray(made ? "\r\n" : "none"));
        if (!name.isEmpty() && f.prompts.records().isEmpty())
            QCOMPARE(fullPath(w.controls().Dir1->path(), w.controls().File1->fileName()), path);
    }

    void deleteSelectsNeighbour_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("byToolbar");
        QTest::addColumn<QString>("shown");
        QTest::newRow("last of five") << 5 << 4 << 3 << false << "3";
        QTest::newRow("second of five, toolbar") << 5 << 1 << 1 << true << "2";
        QTest::newRow("the only file") << 1 << 0 << -1 << false << "";
    }

    void deleteSelectsNeighbour()
    {
        QFETCH(int, files);
        QFETCH(int, deleted);
        QFETCH(int, selected);
        QFETCH(bool, byToolbar);
        ShellFixture f;
        Files content;
        for (int i = 0; i < files; ++i)
            content.append({QStringLiteral("%1.txt").arg(i), QByteArray::number(i)});
        frmGlintbox &w = openIn(f, f.path("x"), content);
        f.clickFile(deleted);
        const QString path = f.path(QStringLiteral("x/%1.txt").arg(deleted));
        if (byToolbar)
            f.clickToolbarButton("Delete");
        else
            QTest::keyClick(w.controls().File1, Qt::Key_Delete);
        QCOMPARE(f.prompts.texts(),
                 QStringList{QStringLiteral("Are you sure you wish to delete ") + path + " ?"});
        QVERIFY(!QFile::exists(path));
        QCOMPARE(w.controls().File1->listIndex(), selected);
        QTEST(w.viewer().Text1->text(), "shown");
        if (selected < 0)
            QCOMPARE(w.controls().InputFileProperties->text(), QString());
    }

    void selectAllFromTheFileList()
    {
        ShellFixture f;
        frmGlintbox &w = openIn(f, f.path("x"), {{"a.txt", "all of it"}});
        QTest::keyClick(w.controls().File1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.viewer().Text1->selectionLength(), 9);
    }

    // A key typed while a big text is still read goes into the whole text, and
    // the save writes all of it.
    void typingWhileABigTextIsReadSavesAllOfIt()
    {
        ShellFixture f;
        QSemaphore gate;
        f.holdNextReadOf("a.txt", gate);
        const QByteArray big = ShellFixture::bigText();
        f.makeFile("a.txt", big);
        frmGlintbox &w = f.loadActive();
        RichTextBox &text = *w.viewer().Text1;
        QVERIFY(text.isLoading());
        QWidget *edit = text.focusProxy();
        QTest::mouseClick(static_cast<QAbstractScrollArea *>(edit)->viewport(), Qt::LeftButton);
        gate.release();
        QTest::keyClicks(edit, "X");
        f.prompts.queueAnswer(PromptAnswer::Yes);
        clickBelowRows(w);
        QCOMPARE(f.prompts.texts(), QStringList{SaveQuestion});
        QCOMPARE(readFile(f.path("a.txt")), "X" + big);
    }
};

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
