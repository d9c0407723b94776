#include "../shell/ShellFixture.h"
#include "FakeDisplayHost.h"
#include "TestFiles.h"
#include "ViewingTestMain.h"
#include "core/BrowserSandbox.h"
#include "core/GlintboxState.h"
#include "core/ProgramStarter.h"
#include "core/lists/FileList.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/launcher/ApplicationLauncher.h"
#include "viewing/launcher/LauncherImage.h"
#include "viewing/launcher/LauncherPanel.h"
#include "viewing/modes/ViewMode.h"

#include <QLabel>
#include <QSignalSpy>

using namespace glintbox;

namespace {

QString writeFile(const QString &path, const QByteArray &content, bool executable)
{
    if (!glintbox::writeFile(path, content))
        qFatal("cannot write %s", qPrintable(path));
    if (executable)
        QFile(path).setPermissions(QFile(path).permissions() | QFile::ExeOwner);
    return path;
}

// A program that writes its environment into a marker file named after its
// first argument, or after itself when it has none.
QByteArray markerScript(const QString &markerFolder)
{
    return "#!/bin/sh\nPATH=/usr/bin:/bin\nname=\"${1:-$0}\"\nenv > \"" +
           QFile::encodeName(markerFolder) + "/ran-$(basename \"$name\")\"\n";
}

// Lists a folder's entries, sorted.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void startRule();
    void launchPathFromTheFileListFolder();
    void startsNamesAsOneFile_data();
    void startsNamesAsOneFile();
    void refusesWhatIsNotAProgram();
    void windowsProgramRunsThroughWine();
    void panelClicks();
    void windowStartsTheShownProgramOrReports();

private:
    QTemporaryDir m_dir;
};

void TestLauncher::startRule()
{
    const QString path = QStringLiteral("/x/GAME.EXE");
    const QString wine = QStringLiteral("/usr/bin/wine");
    const auto command = [&](bool executable, bool windows, const QString &winePath) {
        const auto result = startCommandFor(path, ProgramFileKind{executable, windows}, winePath);
        return result ? QStringList{result->program} + result->arguments : QStringList();
    };
    QCOMPARE(command(true, false, ""), QStringList{path});
    QCOMPARE(command(true, false, wine), QStringList{path});
    QCOMPARE(command(false, true, wine), QStringList({wine, path}));
    QCOMPARE(command(true, true, wine), QStringList({wine, path}));
    QCOMPARE(command(false, true, ""), QStringList());
    QCOMPARE(command(true, true, ""), QStringList{path});
    QCOMPARE(command(false, false, wine), QStringList());
}

void TestLauncher::launchPathFromTheFileListFolder()
{
    // The list's folder and name; the program started and the folder it starts in.
    const QStringList rows[] = {
        {"/", "GAME.EXE", "/GAME.EXE", ""},
        {"/media/usb/", "tool.com", "/media/usb/tool.com", "/media/usb"},
        {"/home/me/bin", "a b.exe", "/home/me/bin/a b.exe", "/home/me/bin"},
    };
    for (const QStringList &row : rows) {
        FakeDisplayHost host;
        host.folder = row[0];
        host.fileName = row[1];
        GlintboxState state;
        RecordingStarter starter;
        ApplicationLauncher(state, host, starter).Image3_DblClick();
        QCOMPARE(starter.started, QStringList{row[2]});
        QCOMPARE(state.currentFolder, row[3]);
        QCOMPARE(host.focusCount, 1);
        QVERIFY(host.scriptedPrompts.records().isEmpty());
    }
}

void TestLauncher::startsNamesAsOneFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("semicolon") << "a;touch x.exe";
    QTest::newRow("blanks") << "my game.exe";
    QTest::newRow("quotes") << "it's \"fine\".com";
    QTest::newRow("substitution") << "$(touch y).exe";
    QTest::newRow("leading dash") << "-rf.exe";
}

void TestLauncher::startsNamesAsOneFile()
{
    QFETCH(QString, name);
    QTemporaryDir folder;
    QTemporaryDir markers;
    // The browser engine's switch is set in this process (as root it has to
    // be); a started program must not inherit it.
    qputenv(BrowserSandboxVariable, "1");
    LocalProgramStarter().start(
        writeFile(folder.filePath(name), markerScript(markers.path()), true));
    // The one marker is that of the program itself, under its own name.
    const QString marker = markers.filePath(QStringLiteral("ran-") + name);
    QTRY_VERIFY(readFile(marker).contains("PATH="));
    QVERIFY(!readFile(marker).contains(BrowserSandboxVariable));
    QCOMPARE(entries(markers.path()), QStringList{QFileInfo(marker).fileName()});
    QCOMPARE(entries(folder.path()), QStringList{name});
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("x.exe"))));
}

void TestLauncher::refusesWhatIsNotAProgram()
{
    const auto refusal = [](const QString &path) {
        try {
            LocalProgramStarter().start(path);
        } catch (const RunTimeError &error) {
            return error.number();
        }
        return 0;
    };
    QCOMPARE(refusal(m_dir.filePath(QStringLiteral("missing.exe"))), 53);
    QCOMPARE(refusal(writeFile(m_dir.filePath("notes.exe"), "text", false)), 5);
    QCOMPARE(refusal(writeFile(m_dir.filePath("junk.exe"), QByteArray("\x01\x02", 2), true)), 5);
}

void TestLauncher::windowsProgramRunsThroughWine()
{
    QTemporaryDir bin;
    QTemporaryDir markers;
    const QString program = m_dir.filePath(QStringLiteral("SETUP;rm x.EXE"));
    writeFile(program, QByteArray("MZ\x90\0\x03\0", 6), false);
    const QByteArray path = qgetenv("PATH");
    auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });

    // Without wine on the path a Windows program cannot start.
    qputenv("PATH", QFile::encodeName(bin.path()));
    QVERIFY_THROWS_EXCEPTION(RunTimeError, LocalProgramStarter().start(program));

    writeFile(bin.filePath(QStringLiteral("wine")), markerScript(markers.path()), true);
    LocalProgramStarter().start(program);
    QTRY_COMPARE(entries(markers.path()), QStringList{"ran-SETUP;rm x.EXE"});
}

void TestLauncher::panelClicks()
{
    LauncherPanel panel;
    panel.resize(600, 400);
    panel.show();
    QSignalSpy launches(&panel, &LauncherPanel::Image3_DblClick);
    QSignalSpy clicks(&panel, &LauncherPanel::clicked);
    QTest::mouseDClick(panel.Image3(), Qt::LeftButton);
    QCOMPARE(launches.count(), 1);
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(550, 350));
    QTest::mouseClick(panel.Label3(), Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
}

void TestLauncher::windowStartsTheShownProgramOrReports()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("my tool.exe"), "MZ");
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.viewer().lblAppName->text(), QStringLiteral("my tool.exe"));
    auto *panel = static_cast<LauncherPanel *>(w.viewer().picLaunchWindow);
    QTest::mouseDClick(panel->Image3(), Qt::LeftButton);
    QTest::keyClick(w.controls().File1, Qt::Key_Return);
    const QString program = f.path(QStringLiteral("my tool.exe"));
    QCOMPARE(f.starter.started, QStringList({program, program}));
    QVERIFY(f.prompts.records().isEmpty());

    // A failed start is reported and the launcher stays on view.
    f.starter.failWith = InvalidProcedureCall;
    QTest::mouseDClick(panel->Image3(), Qt::LeftButton);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 5"});
    QCOMPARE(w.state().ViewMode, ViewMode::Launcher);
    QVERIFY(w.viewer().picLaunchWindow->isVisible());
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("my tool.exe"));
}

GLINTBOX_VIEWING_TEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
