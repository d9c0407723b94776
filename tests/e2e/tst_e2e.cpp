#include "InstalledTree.h"
#include "WindowManager.h"
#include "shell/settings/SettingBindings.h"
#include "shell/settings/SettingsKeys.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace glintbox;

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;
const QSize PictureSize(160, 120);
// A picture counts as shown when nearly all its pixels are on the screen.
const int ShownPixels = PictureSize.width() * PictureSize.height() * 9 / 10;

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList &arguments)
{
    return output(QStringLiteral("xdotool"), arguments);
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

void savePicture(const QString &path, QRgb colour)
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path, "BMP"));
}

} // namespace

// Runs the installed glintbox command as a user would: a prepared settings
// file points at a prepared folder; keys go through the X server, what is
// shown is read from the screen, and the window is closed by the window
// manager.
class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void runsAndStartsAgainWhereItEnded();
    void opensTheFileNamedOnTheCommandLine();

private:
    QString settingsFile() const { return m_dir.filePath("config/Glintbox/Glintbox.conf"); }
    QString folder() const { return m_dir.filePath("files"); }
    // Starts the program and waits for its main window; the window's id.
    QString start(QProcess &program, const QStringList &arguments = {});
    // Waits until the icon timer has moved the focus to the file list: its
    // second tick changes the window icon.
    void waitForFocusOnFileList(const QString &window);
    void closeThroughWindowManager(QProcess &program, const QString &window);
    QSize windowSize(const QString &window);

    QTemporaryDir m_dir;
    WindowManager m_windowManager;
    QString m_command;
};

void TestEndToEnd::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display: run under xvfb-run");
    QVERIFY2(m_windowManager.start(), qPrintable(m_windowManager.errorString()));

    const QString prefix = m_dir.filePath("prefix");
    const QString failure = installInto(prefix);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    m_command = prefix + "/bin/glintbox";
    QVERIFY(QFileInfo(m_command).isSymLink());

    QVERIFY(QDir().mkpath(folder()));
    savePicture(folder() + "/a.bmp", Red);
    savePicture(folder() + "/b.bmp", Green);
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).path()));
    QFile settings(settingsFile());
    QVERIFY(settings.open(QIODevice::WriteOnly));
    // An earlier version's file: the lists on top, and two keys of the older
    // layout that a save removes.
    settings.write("[Settings]\nDriveLetter=/\nDrivePath=" + QFile::encodeName(folder()) +
                   "\nControls=Top\nMode=1\nTXT=1\n\n[Filters]\nALL=1\n");
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
        return QCryptographicHash::hash(output("xprop", {"-id", window, "_NET_WM_ICON"}).toUtf8(),
                                        QCryptographicHash::Md5);
    };
    const QByteArray first = icon();
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

QSize TestEndToEnd::windowSize(const QString &window)
{
    const QString shell = xdotool({"getwindowgeometry", "--shell", window});
    QSize size;
    for (const QString &line : shell.split(u'\n')) {
        if (line.startsWith("WIDTH="))
            size.setWidth(line.mid(6).toInt());
        else if (line.startsWith("HEIGHT="))
            size.setHeight(line.mid(7).toInt());
    }
    return size;
}

void TestEndToEnd::runsAndStartsAgainWhereItEnded()
{
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

    xdotool({"key", "ctrl+l"});
    QTRY_VERIFY_WITH_TIMEOUT(
        !xdotool({"search", "--onlyvisible", "--name", "^Glintbox - File Filtering$"}).isEmpty(),
        30000);
    xdotool({"key", "Escape"});
    QTRY_VERIFY_WITH_TIMEOUT(
        xdotool({"search", "--onlyvisible", "--name", "^Glintbox - File Filtering$"}).isEmpty(),
        30000);

    const QSize size = windowSize(window);
    closeThroughWindowManager(first, window);

    QSettings stored(settingsFile(), QSettings::IniFormat);
    for (const SettingBinding &binding : settingBindings())
        QVERIFY2(stored.contains(binding.section + u'/' + binding.key), qPrintable(binding.key));
    for (const char *key : obsoleteSettingKeys())
        QVERIFY2(!stored.contains(SettingsSection + u'/' + QString::fromLatin1(key)), key);
    QCOMPARE(stored.value("Settings/Controls").toString(), QStringLiteral("Side"));
    QCOMPARE(stored.value("Settings/DrivePath").toString(), folder());

    // The second run: the same folder, arrangement and window size.
    QProcess second;
    const QString again = start(second);
    QVERIFY(!again.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(patchOf(Red).pixels >= ShownPixels, 30000);
    QCOMPARE(patchOf(Red).bounds.size(), PictureSize);
    // Known fault, mended on its own branch: the stored outer size is applied
    // before the window manager has framed the window, so the window grows by
    // its frame each run. Remove this line with that mend.
    QEXPECT_FAIL("", "the window grows by its frame on each run", Continue);
    QCOMPARE(windowSize(again), size);
    closeThroughWindowManager(second, again);
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
