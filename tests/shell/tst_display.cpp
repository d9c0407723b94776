#include "ShellFixture.h"
#include "TestMedia.h"
#include "core/FirstPaintProbe.h"
#include "shell/StatusLine.h"
#include "viewing/display/ViewModes.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/web/WebBrowserView.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTextDocument>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace glintbox;

namespace {

// Writes into a named pipe as soon as someone opens it for reading, so that a
// viewer that waits on the pipe goes on (and fails its checks) instead of
// hanging the test for ever.
std::jthread feedPipe(const QString &path)
{
    return std::jthread([name = QFile::encodeName(path)](std::stop_token stop) {
        while (!stop.stop_requested()) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                [[maybe_unused]] const auto written = ::write(fd, "from the pipe", 13);
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

// The kinds of file the viewer shows, one file each below the maximum size
// (first letters a to g), one each above it (h to n) and one more page (o).
constexpr const char *Kinds[] = {"html", "avi", "wav", "bmp", "txt", "rtf", "exe"};
constexpr int KindCount = int(std::size(Kinds));
constexpr qint64 MaximumSize = 512 * 1024;

QString kindFile(int kind, bool aboveMaximum)
{
    return QChar(u'a' + kind + (aboveMaximum ? KindCount : 0)) + u'.' + QLatin1String(Kinds[kind]);
}

const QString OtherPage = QStringLiteral("o.html");

} // namespace

class TestDisplay : public QObject {
    Q_OBJECT

private slots:
    // First, while no other test's window holds a browser or a player.
    void startUpReadsOneFileOnceAndLeavesBrowserPlayerAndDialogsForLater();
    void fileAfterAnother_data();
    void fileAfterAnother();
    void badPictureGivesReportAndNoOldPicture();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void noViewKeepsAnotherFile_data();
    void noViewKeepsAnotherFile();
    void fileNamesAreNeverMarkup_data();
    void fileNamesAreNeverMarkup();
    void darkDesktopShowsLightText();
    void bigTextReadGivesWayToNextFile();
    void bigTextReadFailing_data();
    void bigTextReadFailing();
    void cleanupTestCase();

private:
    // One window over one file of each kind, shared by the rows of
    // noViewKeepsAnotherFile (the browser engine starts once).
    std::unique_ptr<ShellFixture> m_kinds;
};

void TestDisplay::fileAfterAnother_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("setting"); // key=text stored before the start
    QTest::addColumn<QString>("shown");   // the text on view, trimmed
    QTest::addColumn<QString>("prompt");  // caption: text, as a pattern; "" for none
    QTest::addColumn<int>("litCells");
    const auto row = [](const char *why, const char *name, const QByteArray &content,
                        const char *setting, const QString &shown, const char *prompt, int lit) {
        QTest::newRow(why) << name << content << setting << shown << prompt << lit;
    };
    const auto marked = [](int beforeEnd, int size = 1000) {
        QByteArray text(size, 'a');
        text[size - beforeEnd] = char(26);
        return text;
    };
    const char *const marker = "^Glintbox - Input past end of file - Error 62: .*";
    row("marker 5 before the end", "a.txt", marked(5), "", QString(995, u'a'), "", 0);
    row("marker 50 before the end", "a.txt", marked(50), "", QString(950, u'a'),
        (marker + QByteArray("has reduced the size")).constData(), 0);
    row("marker 300 before the end", "a.txt", marked(300), "", "",
        (marker + QByteArray("unable to resolve")).constData(), 0);
    // Read on a worker: the same text and reports when the read comes in.
    const QByteArray big = ShellFixture::bigText();
    row("big", "a.txt", big, "", QString::fromLatin1(big).trimmed(), "", 1);
    row("big, marker 50 before the end", "a.txt", marked(50, big.size()), "",
        QString(big.size() - 50, u'a'), (marker + QByteArray("has reduced the size")).constData(),
        1);
    row("big, marker 300 before the end", "a.txt", marked(300, big.size()), "", "",
        (marker + QByteArray("unable to resolve")).constData(), 1);
    // Above the maximum: refused quietly, the gauge full; a program is never read.
    row("above the maximum", "a.txt", QByteArray(1025, 'x'), "MaxFileSize=1024", "", "", 10);
    row("at the maximum", "a.txt", QByteArray(1024, 'x'), "MaxFileSize=1024", QString(1024, u'x'),
        "", 10);
    row("empty", "a.txt", "", "MaxFileSize=1024", "", "", 0);
    row("program above the maximum", "a.com", QByteArray(4096, 'x'), "MaxFileSize=1024", "", "", 0);
    const QByteArray rtf = "{\\rtf1\\ansi {\\b bold} text\\par}";
    row("RTF formatted", "a.rtf", rtf, "RTFmode=1", "bold text", "", 0);
    row("RTF source", "a.rtf", rtf, "RTFmode=0", QString::fromLatin1(rtf), "", 0);
    row("HTML source", "a.html", "<html><body>hello</body></html>", "HTMLmode=0",
        "<html><body>hello</body></html>", "", 0);
}

// Another file is on view first; nothing of it may stay.
void TestDisplay::fileAfterAnother()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, setting);
    QFETCH(QString, shown);
    QFETCH(QString, prompt);
    QFETCH(int, litCells);
    ShellFixture f;
    f.makeFile(QStringLiteral("0.txt"), "shown before");
    f.makeFile(name, content);
    if (!setting.isEmpty())
        f.storeSetting(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    frmGlintbox &w = f.load();
    RichTextBox &text = *w.viewer().Text1;
    QCOMPARE(text.text(), QStringLiteral("shown before"));
    w.controls().File1->setListIndex(1);
    text.finishLoading();
    QCOMPARE(text.text().trimmed(), shown);
    QVERIFY(shown.isEmpty() || text.isVisibleTo(&w));
    QCOMPARE(f.prompts.records().size(), prompt.isEmpty() ? 0 : 1);
    for (const ScriptedPrompts::Record &r : f.prompts.records()) {
        QVERIFY2(
            QRegularExpression(prompt).match(r.caption + QStringLiteral(": ") + r.text).hasMatch(),
            qPrintable(r.text));
        QCOMPARE(r.icon, PromptIcon::Critical);
    }
    const QString bytes = QStringLiteral(" %1 bytes").arg(content.size());
    QVERIFY(w.controls().InputFileProperties->text().contains(bytes));
    int lit = 0;
    for (quint32 colour : w.viewer().gauge->colours())
        lit += colour != SystemButtonFace ? 1 : 0;
    QCOMPARE(lit, litCells);
    if (name.endsWith(u".rtf")) {
        // The user's click on "RTF Mode" shows the same file again in the other form.
        QTest::mouseClick(w.controls().chkAutoMode, Qt::LeftButton);
        QCOMPARE(text.isRichText(), setting.endsWith(u'0'));
    }
}

void TestDisplay::badPictureGivesReportAndNoOldPicture()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.bmp"), bitmapFile(QSize(8, 8), Qt::red));
    f.makeFile(QStringLiteral("b.bmp"), "BM this is not a picture");
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(!w.viewer().Picture2->picture().isNull());
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 481"});
    QVERIFY(w.viewer().Picture2->picture().isNull());
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
    std::jthread feeder;
    if (isPipe) {
        QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0600), 0);
        feeder = feedPipe(special);
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
            QTest::addRow("%s, then %s above the maximum", Kinds[first], Kinds[second])
                << first << kindFile(second, true);
        }
        QTest::addRow("%s, then a page", Kinds[first]) << first << OtherPage;
    }
}

void TestDisplay::noViewKeepsAnotherFile()
{
    QFETCH(int, first);
    QFETCH(QString, second);
    if (!m_kinds) {
        m_kinds = std::make_unique<ShellFixture>();
        ShellFixture &f = *m_kinds;
        const QHash<QString, QByteArray> small{
            {"html", "<html><head><title>page</title></head><body>a page</body></html>"},
            {"wav", sineWav()},
            {"bmp", bitmapFile(QSize(16, 16), Qt::blue)},
            {"rtf", "{\\rtf1\\ansi {\\b rich} text\\par}"},
            {"exe", "MZ"},
            {"txt", "plain text"}};
        for (int kind = 0; kind < KindCount; ++kind) {
            if (small.contains(Kinds[kind]))
                f.makeFile(kindFile(kind, false), small.value(Kinds[kind]));
            f.makeFile(kindFile(kind, true), QByteArray(MaximumSize + 1, 'x'));
        }
        f.makeFile(OtherPage, "<html><head><title>other page</title></head></html>");
        if (!makeMovie(f.path(kindFile(1, false)), QSize(64, 48)))
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");
        f.storeSetting("MaxFileSize", QString::number(MaximumSize));
        f.load().show();
    }
    frmGlintbox &w = *m_kinds->window;
    const ViewerControls &v = w.viewer();
    FileList &list = *w.controls().File1;

    // The first file is well on show in its view.
    const QString firstName = kindFile(first, false);
    typeFirstLetter(list, firstName);
    QCOMPARE(list.fileName(), firstName);
    const QLatin1String kind(Kinds[first]);
    if (kind == "html")
        QTRY_COMPARE_WITH_TIMEOUT(v.WebBrowser1->title(), QStringLiteral("page"), 20000);
    else if (kind == "avi")
        QTRY_VERIFY_WITH_TIMEOUT(v.ActiveMovie1->naturalSize().isValid(), 20000);
    else if (kind == "wav")
        QTRY_VERIFY_WITH_TIMEOUT(v.ActiveMovie1->mediaStatus() >= MediaStatus::Loaded, 20000);
    else if (kind == "bmp")
        QVERIFY(!v.Picture2->picture().isNull());
    else if (kind == "exe")
        QVERIFY(v.picLaunchWindow->isVisible());
    else
        QVERIFY(!v.Text1->text().isEmpty());

    typeFirstLetter(list, second);
    QCOMPARE(list.fileName(), second);
    QVERIFY(m_kinds->prompts.records().isEmpty());
    QVERIFY(v.Text1->text().isEmpty());
    QVERIFY(v.Picture2->picture().isNull());
    QVERIFY(v.ActiveMovie1->fileName().isEmpty());
    QCOMPARE(v.ActiveMovie1->playbackState(), PlaybackState::Stopped);
    QTRY_COMPARE_WITH_TIMEOUT(v.ActiveMovie1->mediaStatus(), MediaStatus::NoMedia, 20000);
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
    // A long name gives way to the size and the date on the status line.
    QTest::newRow("long") << QString(120, u'n') + QStringLiteral(".txt");
}

void TestDisplay::fileNamesAreNeverMarkup()
{
    QFETCH(QString, name);
    ShellFixture f;
    f.makeFile(name, "MZ");
    QVERIFY(f.loadShown());
    frmGlintbox &w = *f.window;
    f.clickFile(0);
    const StatusLine *status = w.controls().InputFileProperties;
    const QString line = renderedText(status->text(), status->textFormat());
    QVERIFY(line.contains(name));
    QVERIFY(renderedText(w.controls().File1->toolTip(), Qt::AutoText).contains(name));
    QVERIFY(renderedText(status->toolTip(), Qt::AutoText).contains(line));
    if (name.endsWith(u".exe")) {
        const QLabel *appName = w.viewer().lblAppName;
        QCOMPARE(renderedText(appName->text(), appName->textFormat()), name);
    }
    const QString shown = status->shownLine();
    const QString date = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    QVERIFY2(shown.endsWith(date) && shown.contains(QStringLiteral(" 2 bytes")), qPrintable(shown));
    QVERIFY(status->fontMetrics().horizontalAdvance(shown) <= status->contentsRect().width());
}

void TestDisplay::darkDesktopShowsLightText()
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
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
    QCOMPARE(w.controls().Label2->palette().color(QPalette::WindowText), QColor(230, 230, 230));
    // A colour the user chose is kept.
    w.state().font.colour = rgbColourValue(255, 0, 0);
    f.clickFile(0);
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
}

void TestDisplay::startUpReadsOneFileOnceAndLeavesBrowserPlayerAndDialogsForLater()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.html"), "<html><body>page</body></html>");
    // Started on another drive, stored in this one's root: the drive change showed a file too.
    f.drives.list.append(Drive{f.dir.path(), {}});
    f.startFolder = QStringLiteral("/");
    f.storeSetting(QStringLiteral("DriveLetter"), f.dir.path());
    f.fs.failAfter(FaultyFileSystem::Operation::Read, f.path(QStringLiteral("a.txt")), 1, EIO);
    QVERIFY(f.loadShown() && f.prompts.records().isEmpty());
    QCOMPARE(costlyPartsCreated(), QStringList());
    // The first web page brings the browser engine, and nothing else.
    QTest::keyClick(f.window->controls().File1, Qt::Key_Down);
    QCOMPARE(costlyPartsCreated(), QStringList{QStringLiteral("QWebEngineView")});
}

void TestDisplay::bigTextReadGivesWayToNextFile()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), ShellFixture::bigText());
    f.makeFile(QStringLiteral("b.txt"), "next");
    QSemaphore gate;
    f.holdNextReadOf(QStringLiteral("a.txt"), gate);
    QVERIFY(f.loadShown());
    RichTextBox &text = *f.window->viewer().Text1;
    QVERIFY(text.isLoading());
    QTest::keyClick(f.window->controls().File1, Qt::Key_Down);
    QCOMPARE(text.text(), QStringLiteral("next"));
    // The first read ends unseen.
    QSignalSpy replaced(&text, &RichTextBox::aboutToReplaceContent);
    gate.release();
    QVERIFY(!replaced.wait(1000));
    QCOMPARE(text.text(), QStringLiteral("next"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestDisplay::bigTextReadFailing_data()
{
    QTest::addColumn<int>("errnoValue");
    QTest::addColumn<QString>("caption");
    QTest::newRow("input/output error") << EIO << "Glintbox - Error 57";
    QTest::newRow("gone") << ENOENT << "Glintbox - Error 53";
}

// The report comes when the read does; the next file shows as ever.
void TestDisplay::bigTextReadFailing()
{
    QFETCH(int, errnoValue);
    ShellFixture f;
    f.makeFile(QStringLiteral("0.txt"), "shown before");
    f.makeFile(QStringLiteral("a.txt"), ShellFixture::bigText());
    f.fs.failWith(FaultyFileSystem::Operation::Read, f.path(QStringLiteral("a.txt")), errnoValue);
    QVERIFY(f.loadShown());
    RichTextBox &text = *f.window->viewer().Text1;
    QTest::keyClick(f.window->controls().File1, Qt::Key_Down);
    QTRY_COMPARE(f.prompts.records().size(), 1);
    QTEST(f.prompts.records().first().caption, "caption");
    QVERIFY(!text.isLoading() && text.text().isEmpty());
    QTest::keyClick(f.window->controls().File1, Qt::Key_Up);
    QCOMPARE(text.text(), QStringLiteral("shown before"));
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
