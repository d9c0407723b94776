#include "Corpus.h"
#include "ShellFixture.h"
#include "TestMedia.h"
#include "core/FirstPaintProbe.h"
#include "core/lists/FileList.h"
#include "shell/MainMenus.h"
#include "shell/StatusLine.h"
#include "viewing/display/ViewModes.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/modes/IconFrames.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>
#include <QTextDocument>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace glintbox;

namespace {

QByteArray textWithMarker(int length, int bytesBeforeEnd)
{
    QByteArray text(length, 'a');
    text[length - bytesBeforeEnd] = char(26);
    return text;
}

int litCells(const SizeGauge &gauge)
{
    int lit = 0;
    for (quint32 colour : gauge.colours())
        lit += colour != SystemButtonFace ? 1 : 0;
    return lit;
}

// Writes into a named pipe as soon as someone opens it for reading, so that a
// viewer that waits on the pipe goes on (and fails its checks) instead of
// hanging the test for ever.
class PipeFeeder {
public:
    explicit PipeFeeder(const QString &path)
        : m_thread([this, name = QFile::encodeName(path)] {
            while (!m_stop) {
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    [[maybe_unused]] const auto written = ::write(fd, "from the pipe", 13);
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        })
    {
    }
    ~PipeFeeder()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The kinds of file the viewer shows, one file each below the maximum size
// (first letters a to g), one each above it (h to n) and one more page (o).
struct FileKind {
    const char *kind;
    const char *extension;
};
constexpr FileKind Kinds[] = {{"page", "html"},   {"movie", "avi"}, {"sound", "wav"},
                              {"picture", "bmp"}, {"text", "txt"},  {"RTF", "rtf"},
                              {"program", "exe"}};
constexpr int KindCount = int(std::size(Kinds));
constexpr qint64 MaximumSize = 512 * 1024;

QString kindFile(int kind, bool aboveMaximum)
{
    return QChar(u'a' + kind + (aboveMaximum ? KindCount : 0)) + u'.' +
           QLatin1String(Kinds[kind].extension);
}

const QString OtherPage = QStringLiteral("o.html");

QByteArray smallFile(const QString &extension)
{
    if (extension == QLatin1String("html"))
        return "<html><head><title>page</title></head><body>a page</body></html>";
    if (extension == QLatin1String("wav"))
        return sineWav();
    if (extension == QLatin1String("bmp"))
        return bitmapFile(QSize(16, 16), Qt::blue);
    if (extension == QLatin1String("rtf"))
        return "{\\rtf1\\ansi {\\b rich} text\\par}";
    if (extension == QLatin1String("exe"))
        return "MZ";
    return "plain text";
}

} // namespace

class TestDisplay : public QObject {
    Q_OBJECT

private slots:
    // First, while no other test's window holds a browser or a player.
    void startUpLeavesBrowserPlayerAndDialogsForLater();
    void endOfFileMarker_data();
    void endOfFileMarker();
    void fileAboveMaximumIsRefusedQuietly();
    void fileAtMaximumIsShownWithFullGauge();
    void emptyFileShowsEmptyText();
    void unreadableFileNeverShowsAnotherFilesText();
    void vanishedFileGivesOneReport();
    void corruptPictureGivesReportAndNoOldPicture();
    void metafileShowsAsVectorPicture();
    void rtfModeChoosesFormattedOrSource();
    void rtfClickAfterRestoreActs();
    void htmlModeOffShowsSource();
    void commandsFollowViewMode();
    void launcherLeavesGaugeUnlit();
    void plusKeyOnFileListZoomsPicture();
    void wordWrapTogglesTwice();
    void iconTimerFramesAndPendingFocus();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void noViewKeepsAnotherFile_data();
    void noViewKeepsAnotherFile();
    void fileNamesAreNeverMarkup_data();
    void fileNamesAreNeverMarkup();
    void longNameGivesWayToSizeAndDate();
    void darkDesktopShowsLightText();
    void cleanupTestCase();

private:
    // One window over one file of each kind, shared by the rows of
    // noViewKeepsAnotherFile (the browser engine starts once).
    std::unique_ptr<ShellFixture> m_kinds;
};

void TestDisplay::endOfFileMarker_data()
{
    QTest::addColumn<int>("beforeEnd");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("shownLength");
    QTest::newRow("5 bytes: quietly shortened") << 5 << QString() << 995;
    QTest::newRow("50 bytes: reduced") << 50 << "has reduced the size" << 950;
    QTest::newRow("300 bytes: gives up") << 300 << "unable to resolve" << 0;
}

void TestDisplay::endOfFileMarker()
{
    QFETCH(int, beforeEnd);
    QFETCH(QString, message);
    QFETCH(int, shownLength);
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), textWithMarker(1000, beforeEnd));
    frmGlintbox &w = f.load();
    w.viewer().Text1->finishLoading();
    QCOMPARE(w.viewer().Text1->text().size(), shownLength);
    if (message.isEmpty()) {
        QVERIFY(f.prompts.records().isEmpty());
    } else {
        QCOMPARE(f.prompts.records().size(), 1);
        QVERIFY(f.prompts.texts().first().contains(message));
        QCOMPARE(f.prompts.captions().first(),
                 QStringLiteral("Glintbox - Input past end of file - Error 62"));
        QCOMPARE(f.prompts.records().first().icon, PromptIcon::Critical);
    }
}

void TestDisplay::fileAboveMaximumIsRefusedQuietly()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray(1025, 'x'));
    f.makeFile(QStringLiteral("b.txt"), "shown before");
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    w.controls().File1->setListIndex(1);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("shown before"));
    w.controls().File1->setListIndex(0);
    QVERIFY(f.prompts.records().isEmpty());
    QCOMPARE(w.viewer().Text1->text(), QString());
    QVERIFY(w.controls().InputFileProperties->text().contains(QStringLiteral("1025 bytes")));
    QCOMPARE(litCells(*w.viewer().gauge), 10);
    QCOMPARE(w.state().sizeLevel, qint16(10));
}

void TestDisplay::fileAtMaximumIsShownWithFullGauge()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray(1024, 'x'));
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.viewer().Text1->text().size(), 1024);
    QCOMPARE(litCells(*w.viewer().gauge), 10);
    QCOMPARE(w.viewer().gauge->colours()[9], 0x0040C0u);
    QCOMPARE(w.viewer().gauge->colours()[6], 0x00C000u);
}

void TestDisplay::emptyFileShowsEmptyText()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray());
    frmGlintbox &w = f.load();
    QVERIFY(f.prompts.records().isEmpty());
    QCOMPARE(w.viewer().Text1->text(), QString());
    QCOMPARE(litCells(*w.viewer().gauge), 0);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("100 %"));
}

void TestDisplay::unreadableFileNeverShowsAnotherFilesText()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "first file");
    f.makeFile(QStringLiteral("b.txt"), "second file");
    frmGlintbox &w = f.load();
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("first file"));
    f.fs.failWith(FaultyFileSystem::Operation::Read, f.path(QStringLiteral("b.txt")), EACCES);
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 70"});
    QCOMPARE(w.viewer().Text1->text(), QString());
}

void TestDisplay::vanishedFileGivesOneReport()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "first");
    f.makeFile(QStringLiteral("b.txt"), "gone soon");
    frmGlintbox &w = f.load();
    QFile::remove(f.path(QStringLiteral("b.txt")));
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 53"});
    QCOMPARE(f.prompts.texts(), QStringList{"File not found"});
}

void TestDisplay::corruptPictureGivesReportAndNoOldPicture()
{
    ShellFixture f;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(f.path(QStringLiteral("a.bmp")), "BMP");
    f.makeFile(QStringLiteral("b.bmp"), "BM this is not a bitmap");
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(!w.viewer().Picture2->picture().isNull());
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 481"});
    QVERIFY(w.viewer().Picture2->picture().isNull());
}

void TestDisplay::metafileShowsAsVectorPicture()
{
    const QStringList metafiles = corpusFiles(QStringLiteral("wmf"));
    if (metafiles.isEmpty())
        QSKIP("no corpus beside the project");
    ShellFixture f;
    QVERIFY(QFile::copy(metafiles.first(), f.path(QStringLiteral("a.wmf"))));
    f.makeFile(QStringLiteral("b.emf"), "not a metafile at all");
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(f.prompts.records().isEmpty());
    QVERIFY(!w.viewer().Picture2->picture().isNull());
    QVERIFY(w.state().baseWidth > 0 && w.state().baseHeight > 0);
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 481"});
}

void TestDisplay::rtfModeChoosesFormattedOrSource()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.rtf"), "{\\rtf1\\ansi {\\b bold} text\\par}");
    frmGlintbox &w = f.load();
    QVERIFY(w.viewer().Text1->isRichText());
    QCOMPARE(w.viewer().Text1->text().trimmed(), QStringLiteral("bold text"));
    // The user's click on "RTF Mode" shows the same file again, as source.
    w.controls().chkAutoMode->click();
    QVERIFY(!w.viewer().Text1->isRichText());
    QVERIFY(w.viewer().Text1->text().startsWith(QStringLiteral("{\\rtf1")));
}

void TestDisplay::rtfClickAfterRestoreActs()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.rtf"), "{\\rtf1 plain}");
    f.storeSetting("RTFmode", "0");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(!w.controls().chkAutoMode->isChecked());
    QVERIFY(!w.state().RtfClickSuppressed);
    QVERIFY(!w.viewer().Text1->isRichText());
    w.controls().chkAutoMode->click();
    QVERIFY(w.viewer().Text1->isRichText());
}

void TestDisplay::htmlModeOffShowsSource()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("page.html"), "<html><body>hello</body></html>");
    f.storeSetting("HTMLmode", "0");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Text);
    QVERIFY(w.viewer().Text1->isVisibleTo(&w));
    QVERIFY(w.viewer().Text1->text().contains(QStringLiteral("<body>hello")));
}

void TestDisplay::commandsFollowViewMode()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.exe"), "MZ");
    QImage(4, 4, QImage::Format_RGB32).save(f.path(QStringLiteral("c.bmp")), "BMP");
    frmGlintbox &w = f.load();
    const MainMenus &menus = *w.controls().menus;
    using M = MenuCommand;
    auto enabled = [&](MenuCommand command, int index = -1) {
        return menus.item(command, index)->isEnabled();
    };
    QVERIFY(enabled(M::mnuSearch) && !enabled(M::mnuKeys, 0) && !enabled(M::mnuEnter));
    w.controls().File1->setListIndex(1); // b.exe
    QCOMPARE(w.state().ViewMode, ViewMode::Launcher);
    QVERIFY(enabled(M::mnuEnter) && !enabled(M::mnuPrint) && !enabled(M::mnuSearch));
    QCOMPARE(w.viewer().lblAppName->text(), QStringLiteral("b.exe"));
    w.controls().File1->setListIndex(2); // c.bmp
    QVERIFY(enabled(M::mnuKeys, 0) && enabled(M::mnuPrint) && !enabled(M::mnuSearch));
    for (QAbstractButton *button : w.viewer().btnZoom)
        QVERIFY(button->isEnabled());
    w.controls().File1->setListIndex(0); // back to text
    QVERIFY(!w.viewer().Picture2->isVisibleTo(&w));
    QVERIFY(w.viewer().Picture2->picture().isNull());
    for (QAbstractButton *button : w.viewer().btnZoom)
        QVERIFY(!button->isEnabled());
}

void TestDisplay::launcherLeavesGaugeUnlit()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("big.com"), QByteArray(4096, 'x'));
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(litCells(*w.viewer().gauge), 0);
}

void TestDisplay::plusKeyOnFileListZoomsPicture()
{
    ShellFixture f;
    QImage(40, 20, QImage::Format_RGB32).save(f.path(QStringLiteral("a.bmp")), "BMP");
    frmGlintbox &w = f.load();
    const QSizeF base = w.viewer().Picture2->imageRectTwips().size();
    QTest::keyClick(w.controls().File1, Qt::Key_Plus);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("125 %"));
    QCOMPARE(w.viewer().Picture2->imageRectTwips().size(), base * 1.25);
    QTest::keyClick(w.controls().File1, Qt::Key_Underscore);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("100 %"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestDisplay::wordWrapTogglesTwice()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    QAction *wrapOff = w.controls().menus->item(MenuCommand::mnuWordWrap);
    QCOMPARE(w.viewer().Text1->rightMargin(), 0.0);
    wrapOff->trigger();
    QVERIFY(wrapOff->isChecked());
    QCOMPARE(w.viewer().Text1->rightMargin(), 1e9);
    wrapOff->trigger();
    QVERIFY(!wrapOff->isChecked());
    QCOMPARE(w.viewer().Text1->rightMargin(), 0.0);
}

void TestDisplay::iconTimerFramesAndPendingFocus()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    frmGlintbox &w = f.load();
    QVERIFY(w.state().FocusFileListPending);
    w.timIconSwitch_Timer();
    QVERIFY(!w.state().FocusFileListPending);
    // The tick that gave the focus does not advance the icon; the next does.
    QCOMPARE(w.state().IconFrame, qint16(0));
    w.timIconSwitch_Timer();
    QCOMPARE(w.state().IconFrame, qint16(1));
}

void TestDisplay::specialFilesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isPipe");
    // First: shown at start-up, before the window is up.
    QTest::newRow("pipe first in the list") << "0 pipe.txt" << true;
    QTest::newRow("pipe later in the list") << "pipe.txt" << true;
    QTest::newRow("pipe named as a page") << "pipe.html" << true;
    QTest::newRow("pipe named as a movie") << "pipe.avi" << true;
    QTest::newRow("link to a device") << "device.txt" << false;
}

void TestDisplay::specialFilesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, isPipe);
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "a text");
    const QString special = f.path(name);
    std::optional<PipeFeeder> feeder;
    if (isPipe) {
        QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0600), 0);
        feeder.emplace(special);
    } else {
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), special));
    }
    frmGlintbox &w = f.load();
    FileList &list = *w.controls().File1;
    if (list.fileName() != name) {
        QCOMPARE(list.fileName(), QStringLiteral("a.txt"));
        QTest::keyClick(&list, Qt::Key_End);
    }
    QCOMPARE(list.fileName(), name);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 75"});
    QVERIFY(w.controls().InputFileProperties->text().contains(name));
    QVERIFY(w.viewer().Text1->text().isEmpty());
    QVERIFY(w.viewer().ActiveMovie1->fileName().isEmpty());
    // The window goes on: the text beside it shows.
    QTest::keyClick(&list, Qt::Key_A);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("a text"));
}

void TestDisplay::noViewKeepsAnotherFile_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("second");
    for (int first = 0; first < KindCount; ++first) {
        for (int second = 0; second < KindCount; ++second) {
            QTest::addRow("%s, then %s above the maximum", Kinds[first].kind, Kinds[second].kind)
                << first << kindFile(second, true);
        }
        QTest::addRow("%s, then a page", Kinds[first].kind) << first << OtherPage;
    }
}

void TestDisplay::noViewKeepsAnotherFile()
{
    QFETCH(int, first);
    QFETCH(QString, second);
    if (!m_kinds) {
        m_kinds = std::make_unique<ShellFixture>();
        ShellFixture &f = *m_kinds;
        for (int kind = 0; kind < KindCount; ++kind) {
            const QString extension = QLatin1String(Kinds[kind].extension);
            if (extension != QLatin1String("avi"))
                f.makeFile(kindFile(kind, false), smallFile(extension));
            f.makeFile(kindFile(kind, true), QByteArray(MaximumSize + 1, 'x'));
        }
        f.makeFile(OtherPage, "<html><head><title>other page</title></head></html>");
        if (!makeMovie(f.path(kindFile(1, false)), QSize(64, 48)))
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");
        f.storeSetting("MaxFileSize", QString::number(MaximumSize));
        f.store->commit();
        f.resetStore();
        f.load().show();
    }
    frmGlintbox &w = *m_kinds->window;
    const ViewerControls &v = w.viewer();
    FileList &list = *w.controls().File1;

    // The first file is well on show in its view.
    const QString firstName = kindFile(first, false);
    typeFirstLetter(list, firstName);
    QCOMPARE(list.fileName(), firstName);
    const QString kind = QLatin1String(Kinds[first].kind);
    if (kind == QLatin1String("page"))
        QTRY_COMPARE_WITH_TIMEOUT(v.WebBrowser1->title(), QStringLiteral("page"), 20000);
    else if (kind == QLatin1String("movie"))
        QTRY_VERIFY_WITH_TIMEOUT(v.ActiveMovie1->naturalSize().isValid(), 20000);
    else if (kind == QLatin1String("sound"))
        QTRY_VERIFY_WITH_TIMEOUT(v.ActiveMovie1->mediaStatus() >= QMediaPlayer::LoadedMedia, 20000);
    else if (kind == QLatin1String("picture"))
        QVERIFY(!v.Picture2->picture().isNull());
    else if (kind == QLatin1String("program"))
        QVERIFY(v.picLaunchWindow->isVisible());
    else
        QVERIFY(!v.Text1->text().isEmpty());

    typeFirstLetter(list, second);
    QCOMPARE(list.fileName(), second);
    QVERIFY(m_kinds->prompts.records().isEmpty());
    QVERIFY(v.Text1->text().isEmpty());
    QVERIFY(v.Picture2->picture().isNull());
    QVERIFY(v.ActiveMovie1->fileName().isEmpty());
    QCOMPARE(v.ActiveMovie1->playbackState(), QMediaPlayer::StoppedState);
    QTRY_COMPARE(v.ActiveMovie1->mediaStatus(), QMediaPlayer::NoMedia);
    // Both pages have "page" in their titles; an emptied browser shows neither.
    if (second == OtherPage)
        QTRY_COMPARE_WITH_TIMEOUT(v.WebBrowser1->title(), QStringLiteral("other page"), 20000);
    else
        QTRY_VERIFY2(!v.WebBrowser1->title().contains(QStringLiteral("page")),
                     qPrintable(v.WebBrowser1->title()));
}

void TestDisplay::cleanupTestCase()
{
    m_kinds.reset();
}

namespace {

void clickFile(frmGlintbox &w, int row)
{
    FileList *file1 = w.controls().File1;
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {},
                      file1->visualRect(file1->model()->index(row, 0)).center());
}

// What a label shows to the eye: markup rendered, plain text as it is.
QString renderedText(const QString &text, Qt::TextFormat format)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

} // namespace

void TestDisplay::fileNamesAreNeverMarkup_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("bold") << "<b>x<i>.txt";
    QTest::newRow("picture") << "<img src=pic.png>.exe";
    QTest::newRow("entity") << "a&amp;b.txt";
}

void TestDisplay::fileNamesAreNeverMarkup()
{
    QFETCH(QString, name);
    ShellFixture f;
    f.makeFile(name, "MZ");
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickFile(w, 0);
    const StatusLine *status = w.controls().InputFileProperties;
    QVERIFY(renderedText(status->text(), status->textFormat()).contains(name));
    QVERIFY(renderedText(w.controls().File1->toolTip(), Qt::AutoText).contains(name));
    QVERIFY(renderedText(status->toolTip(), Qt::AutoText).contains(name));
    if (name.endsWith(u".exe")) {
        const QLabel *appName = w.viewer().lblAppName;
        QCOMPARE(renderedText(appName->text(), appName->textFormat()), name);
    }
}

void TestDisplay::longNameGivesWayToSizeAndDate()
{
    ShellFixture f;
    const QString name = QString(120, u'n') + QStringLiteral(".txt");
    f.makeFile(name, "12345");
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickFile(w, 0);
    const StatusLine *status = w.controls().InputFileProperties;
    const QString date = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    QVERIFY(status->text().contains(name));
    const QString shown = status->shownLine();
    QVERIFY2(shown.endsWith(date) && shown.contains(QStringLiteral(" 5 bytes")), qPrintable(shown));
    QVERIFY(status->fontMetrics().horizontalAdvance(shown) <= status->contentsRect().width());
    QVERIFY(renderedText(status->toolTip(), Qt::AutoText).contains(status->text()));
}

void TestDisplay::darkDesktopShowsLightText()
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "dark");
    frmGlintbox &w = f.load();
    const QPlainTextEdit *edit = w.viewer().Text1->findChild<QPlainTextEdit *>();
    QCOMPARE(edit->toPlainText(), QStringLiteral("dark"));
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(230, 230, 230));
    QCOMPARE(edit->palette().color(QPalette::Base), QColor(30, 30, 30));
    QCOMPARE(w.controls().Label2->palette().color(QPalette::WindowText), QColor(230, 230, 230));
    // A colour the user chose is kept.
    w.state().font.colour = rgbColourValue(255, 0, 0);
    clickFile(w, 0);
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
}

void TestDisplay::startUpLeavesBrowserPlayerAndDialogsForLater()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.html"), "<html><body>page</body></html>");
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(costlyPartsCreated(), QStringList());
    // The first web page brings the browser engine, and nothing else.
    QTest::keyClick(w.controls().File1, Qt::Key_Down);
    QCOMPARE(costlyPartsCreated(), QStringList{QStringLiteral("QWebEngineView")});
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
