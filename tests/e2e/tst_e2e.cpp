#include "TestImages.h"
#include "WindowManager.h"
#include "info/HelpFiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeDatabase>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace glintbox;

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;
const QSize PictureSize(160, 120);
// A picture counts as shown when nearly all its pixels are on the screen.
const int ShownPixels = PictureSize.width() * PictureSize.height() * 9 / 10;

struct Result {
    int exitCode = -1;
    QString output;
};

Result run(const QString &program, const QStringList &arguments,
           QProcess::ProcessChannelMode channels = QProcess::MergedChannels)
{
    QProcess process;
    process.setProcessChannelMode(channels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed()};
}

QString xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments, QProcess::SeparateChannels).output;
}

// Where the screen shows a colour, and how much of it.
struct Patch {
    int pixels = 0;
    QRect bounds;
};

Patch patchOf(QRgb colour)
{
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    Patch patch;
    for (int y = 0; y < screen.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if (line[x] == colour) {
                ++patch.pixels;
                patch.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return patch;
}

// The window's outer rectangle on the screen, frame included.
QRect outerGeometry(const QString &window)
{
    const QString info = run("xwininfo", {"-id", window}, QProcess::SeparateChannels).output;
    auto field = [&](const char *name) {
        return QRegularExpression(name + QStringLiteral(":\\s*(-?\\d+)"))
            .match(info)
            .captured(1)
            .toInt();
    };
    const QStringList sides =
        run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}, QProcess::SeparateChannels)
            .output.section(u'=', 1)
            .split(u',');
    return QRect(field("upper-left X"), field("upper-left Y"), field("Width"), field("Height"))
        .marginsAdded(QMargins(sides.value(0).toInt(), sides.value(2).toInt(),
                               sides.value(1).toInt(), sides.value(3).toInt()));
}

} // namespace

// Installs the build with "cmake --install", checks what it lays out, and runs
// the installed glintbox command as a user would: a prepared settings file
// points at a prepared folder; keys go through the X server, what is shown is
// read from the screen, and the window is closed by the window manager.
class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commandReachesProgramBesideItsHelpFiles();
    void desktopEntryValidatesAndTakesEveryKindShown();
    void runsAndStartsAgainWhereItEnded();
    void opensTheFileNamedOnTheCommandLine();

private:
    QString installed(const QString &relative) const { return m_dir.filePath("usr/" + relative); }
    QString desktopEntry() const
    {
        return installed("share/applications/org.example.Glintbox.desktop");
    }
    QString settingsFile() const { return m_dir.filePath("config/Glintbox/Glintbox.conf"); }
    QString folder() const { return m_dir.filePath("files"); }
    // Starts the program and waits for its main window; the window's id.
    QString start(QProcess &program, const QStringList &arguments = {});
    // Waits until the icon timer has moved the focus to the file list: its
    // second tick changes the window icon.
    void waitForFocusOnFileList(const QString &window);
    void closeThroughWindowManager(QProcess &program, const QString &window);

    QTemporaryDir m_dir;
    WindowManager m_windowManager;
    QString m_command;
};

void TestEndToEnd::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display: run under xvfb-run");
    QVERIFY2(m_windowManager.start(), qPrintable(m_windowManager.errorString()));

    const Result install = run(qEnvironmentVariable("GLINTBOX_CMAKE"),
                               {"--install", qEnvironmentVariable("GLINTBOX_BUILD_DIR"), "--prefix",
                                m_dir.filePath("usr")});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    m_command = installed("bin/glintbox");

    QVERIFY(QDir().mkpath(folder()));
    for (const auto &[name, colour] : {std::pair{"/a.bmp", Red}, std::pair{"/b.bmp", Green}})
        QVERIFY(
            filledImage(PictureSize.width(), PictureSize.height(), colour).save(folder() + name));
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).path()));
    QFile settings(settingsFile());
    QVERIFY(settings.open(QIODevice::WriteOnly));
    // An earlier version's file: the lists on top, and two keys of the older
    // layout that a save removes.
    settings.write("[Settings]\nDriveLetter=/\nDrivePath=" + QFile::encodeName(folder()) +
                   "\nControls=Top\nMode=1\nTXT=1\n\n[Filters]\nALL=1\n");
}

// The program with its help files, the command on the PATH, the manual and
// the icons at every size.
void TestEndToEnd::commandReachesProgramBesideItsHelpFiles()
{
    const QFileInfo command(installed("bin/glintbox"));
    QVERIFY(command.isSymLink());
    // Relative, so the tree works wherever it is unpacked.
    QCOMPARE(std::filesystem::read_symlink(command.filePath().toStdString()).string(),
             "../lib/glintbox/glintbox");
    QVERIFY(QFileInfo(command.symLinkTarget()).isExecutable());
    for (const HelpTab &tab : HelpTabs)
        QVERIFY2(QFile::exists(installed("lib/glintbox/") + QString::fromUtf8(tab.fileName)),
                 tab.fileName);
    for (const char *file : {"share/man/man1/glintbox.1.gz", "share/doc/glintbox/copyright",
                             "share/doc/glintbox/changelog.gz",
                             "share/icons/hicolor/scalable/apps/org.example.Glintbox.svg"})
        QVERIFY2(QFile::exists(installed(QString::fromLatin1(file))), file);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(
            installed("share/icons/hicolor/%1x%1/apps/org.example.Glintbox.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        // The artwork, not an empty square.
        QVERIFY(icon.pixelColor(size / 2, size * 2 / 3).alpha() > 0);
    }
}

void TestEndToEnd::desktopEntryValidatesAndTakesEveryKindShown()
{
    const Result entry = run("desktop-file-validate", {desktopEntry()});
    QVERIFY2(entry.exitCode == 0 && entry.output.isEmpty(), qPrintable(entry.output));
    const Result metadata =
        run("appstreamcli", {"validate", "--no-net",
                             installed("share/metainfo/org.example.Glintbox.metainfo.xml")});
    QVERIFY2(metadata.exitCode == 0, qPrintable(metadata.output));

    QFile file(desktopEntry());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.contains("Exec=glintbox %f"));
    // A file manager offers the program for a file when the entry names the
    // type the desktop's database gives the file's name, or one of its aliases.
    QStringList declared;
    for (const QByteArray &line : lines) {
        if (line.startsWith("MimeType="))
            declared = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    for (const char *name : {"a.txt", "a.log", "a.nfo", "a.rtf", "a.htm", "a.html", "a.bmp",
                             "a.dib", "a.gif", "a.jpg", "a.ico", "a.cur", "a.wmf",  "a.emf",
                             "a.avi", "a.mpg", "a.mpe", "a.mov", "a.qt",  "a.wav",  "a.mid"}) {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromLatin1(name),
                                                               QMimeDatabase::MatchExtension);
        QStringList names = type.aliases();
        names.append(type.name());
        const bool taken = std::any_of(names.cbegin(), names.cend(),
                                       [&](const QString &n) { return declared.contains(n); });
        QVERIFY2(taken, qPrintable(name + (u' ' + type.name())));
    }
}

QString TestEndToEnd::start(QProcess &program, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(m_command, arguments);
    if (!program.waitForStarted(30000))
        return {};
    QString window;
    const bool shown = QTest::qWaitFor(
        [&] {
            window = xdotool({"search", "--onlyvisible", "--pid",
                              QString::number(program.processId()), "--name", "^Glintbox by "})
                         .section(u'\n', 0, 0);
            return !window.isEmpty();
        },
        60000);
    return shown ? window : QString();
}

void TestEndToEnd::waitForFocusOnFileList(const QString &window)
{
    auto icon = [&] {
        return run("xprop", {"-id", window, "_NET_WM_ICON"}, QProcess::SeparateChannels).output;
    };
    const QString first = icon();
    QTRY_VERIFY_WITH_TIMEOUT(icon() != first, 30000);
}

void TestEndToEnd::closeThroughWindowManager(QProcess &program, const QString &window)
{
    xdotool({"windowactivate", "--sync", window});
    // The window manager's own key for closing the active window.
    xdotool({"key", "alt+F4"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void TestEndToEnd::runsAndStartsAgainWhereItEnded()
{
    // The window's outer rectangle as the last close stored it, in pixels
    // (15 twips a pixel at the 96 dpi of the test's X server).
    auto storedPlacement = [this] {
        const QSettings stored(settingsFile(), QSettings::IniFormat);
        auto pixels = [&](const char *key) { return qRound(stored.value(key).toDouble() / 15); };
        return QRect(pixels("Settings/Left"), pixels("Settings/Top"), pixels("Settings/Width"),
                     pixels("Settings/Height"));
    };
    QProcess first;
    const QString window = start(first);
    QVERIFY(!window.isEmpty());
    // The folder's first file is shown.
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Red).pixels >= ShownPixels, 30000);
    waitForFocusOnFileList(window);

    xdotool({"key", "Down"});
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Green).pixels >= ShownPixels && patchOf(Red).pixels == 0,
                             30000);
    const QRect onTop = patchOf(Green).bounds;

    // Controls at the side: the viewer moves.
    xdotool({"key", "ctrl+d"});
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Green).bounds != onTop, 30000);
    const QRect atSide = patchOf(Green).bounds;
    QCOMPARE(atSide.size(), PictureSize);

    const QRect firstOuter = outerGeometry(window);
    closeThroughWindowManager(first, window);

    // The first start stores where the window stood, at the default size.
    const QRect placed = storedPlacement();
    QCOMPARE(placed, firstOuter);
    QCOMPARE(placed.size(), QSize(600, 433));
    QSettings stored(settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value("Settings/Controls").toString(), QStringLiteral("Side"));
    QCOMPARE(stored.value("Settings/DrivePath").toString(), folder());
    QVERIFY(!stored.contains("Settings/Mode") && !stored.contains("Settings/TXT"));

    // The second run: the same folder and arrangement.
    QProcess second;
    const QString again = start(second);
    QVERIFY(!again.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Red).pixels >= ShownPixels, 30000);
    QCOMPARE(patchOf(Red).bounds.size(), PictureSize);
    // Where and as large as it was closed, and stored so again.
    QTRY_COMPARE_WITH_TIMEOUT(outerGeometry(again), placed, 10000);
    closeThroughWindowManager(second, again);
    QCOMPARE(storedPlacement(), placed);
}

void TestEndToEnd::opensTheFileNamedOnTheCommandLine()
{
    QProcess program;
    const QString window = start(program, {folder() + "/b.bmp"});
    QVERIFY(!window.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Green).pixels >= ShownPixels, 30000);
    QCOMPARE(patchOf(Red).pixels, 0);
    closeThroughWindowManager(program, window);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
