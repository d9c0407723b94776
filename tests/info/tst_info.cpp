#include "../shell/ShellFixture.h"
#include "../viewing/ViewingTestMain.h"
#include "core/FileSystem.h"
#include "core/ProductInfo.h"
#include "core/TextDecoding.h"
#include "core/Twips.h"
#include "info/HelpLayout.h"
#include "info/HelpMenu.h"
#include "info/frmBugBusters.h"
#include "info/frmHelp.h"
#include "viewing/text/RichTextBox.h"
#include "browser/LocalPageSchemeHandler.h"
#include "viewing/web/LocalPages.h"
#include "browser/OfflineRequestInterceptor.h"
#include "viewing/web/WebBrowserView.h"

#include <QLabel>
#include <QMenuBar>
#include <QMutex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace glintbox;

namespace {

QString besideTheProgram(const QString &name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

QString readHelpFile(const QString &name)
{
    QFile file(besideTheProgram(name));
    return file.open(QIODevice::ReadOnly) ? decodeText(file.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

void clickTab(frmHelp &help, int index)
{
    QTabBar *bar = help.TabStrip1()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// The main window, shown and active so that its shortcuts reach the menus.
frmGlintbox &openActive(ShellFixture &f)
{
    frmGlintbox &w = f.open();
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("main window not active");
    return w;
}

// Runs check on the modal window that the next command opens, then closes it.
void inspectNextModal(const std::function<void(QWidget &)> &check, bool &seen)
{
    QTimer::singleShot(0, [check, &seen] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            seen = true;
            check(*dialog);
            dialog->close();
        }
    });
}

// The offline switch, recording every request it is asked about (from the
// engine's own thread).
class RecordingInterceptor : public OfflineRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        QMutexLocker lock(&mutex);
        urls.append(info.requestUrl());
        OfflineRequestInterceptor::interceptRequest(info);
    }
    QMutex mutex;
    QList<QUrl> urls;
};

} // namespace

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void helpLayout_data();
    void helpLayout();
    void helpWindowLayoutAndMinimum();
    void missingFilesMessage();
    void filesFoundBesideTheProgram();
    void secondHelpCommandReadsNothing();
    void helpPagesRequestNothingRemote_data();
    void helpPagesRequestNothingRemote();
    void helpBrowsersStayOffline();
    void everyMenuCommandIsInTheHelp();
    void aboutShowsVersionMakerAndLicence();
    void creditsRiseAndStartOver();
};

void TestInfo::helpLayout_data()
{
    QTest::addColumn<QSizeF>("window");
    QTest::addColumn<QRectF>("tabStrip");
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<QRectF>("content");
    QTest::newRow("minimum") << QSizeF(7000, 4000) << QRectF(0, 0, 6880, 3580)
                             << QRectF(120, 360, 6620, 3080) << QRectF(120, 240, 6380, 2720);
    QTest::newRow("large") << QSizeF(12000, 9000) << QRectF(0, 0, 11880, 8580)
                           << QRectF(120, 360, 11620, 8080) << QRectF(120, 240, 11380, 7720);
}

void TestInfo::helpLayout()
{
    QFETCH(QSizeF, window);
    const HelpLayout layout = computeHelpLayout(window.width(), window.height());
    QTEST(layout.TabStrip1, "tabStrip");
    QTEST(layout.frame, "frame");
    QTEST(layout.content, "content");
    QCOMPARE(withHelpMinimumSize(QSizeF(6999, 5000)), QSizeF(7000, 5000));
    QCOMPARE(withHelpMinimumSize(QSizeF(8000, 3999)), QSizeF(8000, 4000));
}

void TestInfo::helpWindowLayoutAndMinimum()
{
    ScriptedPrompts prompts;
    FaultyFileSystem fs;
    frmHelp help(QCoreApplication::applicationDirPath(), prompts, fs);
    help.Form_Load();
    help.resize(700, 500);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    const double dpi = logicalDpiOf(help);
    // The tab strip fills the client area; frames and views stand where the
    // rule puts them for a 10500 x 7500 twip client.
    QCOMPARE(help.TabStrip1()->geometry(), QRect(0, 0, 700, 500));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(help.frame(i)->geometry(), twipsToPixels(QRectF(120, 360, 10240, 7000), dpi));
        QCOMPARE(help.frame(i)->isVisible(), i == 0);
    }
    const QRect content = twipsToPixels(QRectF(120, 240, 10000, 6640), dpi);
    QCOMPARE(help.RichTextBox1()->geometry(), content);
    QCOMPARE(help.WebBrowser2()->geometry(), content);

    auto outerTwips = [&] {
        const QSize outer = help.frameGeometry().size();
        return QSizeF(pixelsToTwips(outer.width(), dpi), pixelsToTwips(outer.height(), dpi));
    };
    help.resize(200, 100);
    QTRY_VERIFY(outerTwips().width() >= HelpMinimumWidth);
    QTRY_VERIFY(outerTwips().height() >= HelpMinimumHeight);
    // Back to the minimum, not beyond it.
    QVERIFY(outerTwips().width() < HelpMinimumWidth + 15);
    QVERIFY(outerTwips().height() < HelpMinimumHeight + 15);
    QCOMPARE(help.TabStrip1()->geometry(), help.rect());
}

void TestInfo::missingFilesMessage()
{
    ShellFixture f;
    frmGlintbox &w = openActive(f);
    QTemporaryDir empty;
    w.helpMenu().setHelpFolder(empty.path());
    QTest::keyClick(&w, Qt::Key_F1);
    frmHelp *help = w.helpMenu().helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(f.prompts.texts(),
             QStringList("Sorry, but it has not been possible to find some or all of the help "
                         "files!\nPlease make sure these files are in the same directory as "
                         "glintbox."));
    QCOMPARE(f.prompts.records().first().caption, QStringLiteral("Glintbox - Help"));
    QCOMPARE(f.prompts.records().first().icon, PromptIcon::Information);
    QVERIFY(help->RichTextBox1()->text().isEmpty());

    // A missing page is the browser's to show; each text tab asks again.
    for (const int tab : {1, 2, 3, 0})
        clickTab(*help, tab);
    QVERIFY(help->frame(0)->isVisible() && !help->frame(2)->isVisible());
    QCOMPARE(f.prompts.captions(), QStringList(3, QStringLiteral("Glintbox - Help")));
}

void TestInfo::filesFoundBesideTheProgram()
{
    ShellFixture f;
    // The program may be started from anywhere.
    QDir::setCurrent(f.dir.path());
    frmGlintbox &w = openActive(f);
    QTest::keyClick(&w, Qt::Key_F1);
    frmHelp *help = w.helpMenu().helpWindow();
    QVERIFY(help);
    const QString expected = readHelpFile(QStringLiteral("Glintbox Help.txt"));
    QVERIFY(expected.startsWith(QStringLiteral("GLINTBOX HELP")));
    QTRY_COMPARE(help->RichTextBox1()->text(), expected);
    const QFontMetrics fixedWidth(help->RichTextBox1()->textFont());
    QCOMPARE(fixedWidth.horizontalAdvance(QStringLiteral("iiii")),
             fixedWidth.horizontalAdvance(QStringLiteral("WWWW")));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestInfo::secondHelpCommandReadsNothing()
{
    ShellFixture f;
    frmGlintbox &w = openActive(f);
    QTemporaryDir folder;
    const QString helpText = folder.filePath(QStringLiteral("Glintbox Help.txt"));
    writeFile(helpText, "first");
    writeFile(folder.filePath(QStringLiteral("Glintbox Updates.txt")), "updates");
    w.helpMenu().setHelpFolder(folder.path());
    QToolBar *toolbar = w.findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QWidget *helpButton =
        toolbar->widgetForAction(toolbar->findChild<QAction *>(QStringLiteral("Help")));

    QTest::keyClick(&w, Qt::Key_F1);
    QPointer<frmHelp> help = w.helpMenu().helpWindow();
    QVERIFY(help);
    QTRY_COMPARE(QApplication::activeWindow(), help.data());
    writeFile(helpText, "second");
    // F1 and the toolbar's Help button bring the same window up, reading nothing.
    for (const bool byButton : {false, true}) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        if (byButton)
            QTest::mouseClick(helpButton, Qt::LeftButton);
        else
            QTest::keyClick(&w, Qt::Key_F1);
        QTRY_COMPARE(QApplication::activeWindow(), help.data());
        QCOMPARE(help->RichTextBox1()->text(), QStringLiteral("first"));
    }
    // Selecting a tab reads its file anew.
    clickTab(*help, 2);
    clickTab(*help, 0);
    QCOMPARE(help->RichTextBox1()->text(), QStringLiteral("second"));

    // Closing destroys it; the next command opens a new one on the first tab.
    clickTab(*help, 2);
    help->close();
    QTRY_VERIFY(help.isNull());
    w.helpMenu().mnuHelp_Click();
    help = w.helpMenu().helpWindow();
    QCOMPARE(help->TabStrip1()->currentIndex(), 0);
    QVERIFY(f.prompts.records().isEmpty());
    // The main window takes its Help window with it.
    f.window.reset();
    QVERIFY(help.isNull());
}

void TestInfo::helpPagesRequestNothingRemote_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("remote");
    QTest::newRow("help") << besideTheProgram("Glintbox Help.html") << "Glintbox Help" << false;
    QTest::newRow("updates") << besideTheProgram("Glintbox Updates.html") << "Glintbox Updates"
                             << false;
    // Shows that a remote reference would be seen.
    QTest::newRow("page with remote parts") << QString() << "remote" << true;
}

void TestInfo::helpPagesRequestNothingRemote()
{
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(bool, remote);
    QTemporaryDir folder;
    if (page.isEmpty()) {
        page = folder.filePath(QStringLiteral("remote.html"));
        writeFile(page, "<title>remote</title><img src=\"http://127.0.0.1:9/picture.png\">"
                        "<link rel=\"stylesheet\" href=\"https://example.org/style.css\">");
    }
    // Every request passes the offline switch, which records it; remote ones
    // reach it rather than being refused by the engine first.
    RecordingInterceptor interceptor;
    // The page comes through the scheme the viewer shows local pages with.
    registerLocalPageScheme();
    LocalPageFolder served(FileSystem::local());
    served.setFolder(QFileInfo(page).path());
    LocalPageSchemeHandler pages(served);
    QWebEngineProfile profile;
    profile.installUrlSchemeHandler(LocalPageScheme, &pages);
    profile.setUrlRequestInterceptor(&interceptor);
    QWebEnginePage view(&profile);
    QSignalSpy loaded(&view, &QWebEnginePage::loadFinished);
    view.load(localPageUrl(page));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
    QVERIFY(loaded.first().first().toBool());
    QTRY_COMPARE_WITH_TIMEOUT(view.title(), title, 10000);
    QMutexLocker lock(&interceptor.mutex);
    QVERIFY(!interceptor.urls.isEmpty());
    QCOMPARE(!std::all_of(interceptor.urls.cbegin(), interceptor.urls.cend(), isReachableOffline),
             remote);
}

void TestInfo::helpBrowsersStayOffline()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("Glintbox Help.txt")), "text");
    // A WebSocket is what the engine's own settings let through.
    writeFile(folder.filePath(QStringLiteral("Glintbox Updates.html")),
              "<script>const s = new WebSocket('ws://127.0.0.1:" +
                  QByteArray::number(server.serverPort()) +
                  "/'); s.onerror = s.onclose = () => document.title = 'settled';</script>");
    ShellFixture f;
    frmGlintbox &w = openActive(f);
    // Offline whatever the main window's browser switch says.
    w.state().WebMode = true;
    w.helpMenu().setHelpFolder(folder.path());
    QTest::keyClick(&w, Qt::Key_F1);
    QVERIFY(w.helpMenu().helpWindow());
    clickTab(*w.helpMenu().helpWindow(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(w.helpMenu().helpWindow()->WebBrowser2()->title(),
                              QStringLiteral("settled"), 30000);
    QVERIFY(!server.hasPendingConnections());
}

void TestInfo::everyMenuCommandIsInTheHelp()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    QTextDocument page;
    page.setHtml(readHelpFile(QStringLiteral("Glintbox Help.html")));
    const QString pageText = page.toPlainText().simplified();
    const QString helpText = readHelpFile(QStringLiteral("Glintbox Help.txt")).simplified();

    // Captions as the user reads them: no access letters, no key in angle brackets.
    static const QRegularExpression keyText(QStringLiteral("<[^>]*>"));
    QStringList captions;
    const QList<QMenu *> menus = w.menuBar()->findChildren<QMenu *>();
    for (QMenu *menu : menus) {
        captions.append(menu->title());
        const QList<QAction *> actions = menu->actions();
        for (const QAction *action : actions) {
            if (!action->isSeparator())
                captions.append(action->text());
        }
    }
    QVERIFY(captions.size() >= 30);
    QStringList missing;
    for (QString caption : std::as_const(captions)) {
        caption = caption.remove(u'&').remove(keyText).simplified();
        if (!helpText.contains(caption) || !pageText.contains(caption))
            missing.append(caption);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void TestInfo::aboutShowsVersionMakerAndLicence()
{
    ShellFixture f;
    frmGlintbox &w = openActive(f);
    QStringList labels;
    bool seen = false;
    inspectNextModal(
        [&](QWidget &about) {
            labels.append(about.windowTitle());
            for (const char *name : {"Label2", "Label3", "Label5", "Label6", "Label9", "Label7",
                                     "Label4", "Label8", "Label1", "Label10"})
                labels.append(about.findChild<QLabel *>(QString::fromLatin1(name))->text());
        },
        seen);
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(seen);
    QCOMPARE(labels.mid(0, 10),
             (QStringList{"Glintbox - About", "Glintbox version", "2.00", "is brought to", "you by",
                          "Devezud Iziruvuz", "Visit our Website at:", product::WebAddress,
                          "Or email us at:", product::EmailAddress}));
    QVERIFY(labels.at(10).contains(QStringLiteral("GNU General Public License, version 3")));
}

void TestInfo::creditsRiseAndStartOver()
{
    frmBugBusters credits;
    QCOMPARE(credits.windowTitle(), QStringLiteral("Glintbox - Bug Busters"));
    QCOMPARE(credits.Timer1()->interval(), 100);
    for (int tick = 0; tick < 173; ++tick)
        credits.Timer1_Timer();
    QCOMPARE(credits.imageTopTwips(), -5190.0);
    QCOMPARE(credits.scrollDistance(), qint16(5190));
    QCOMPARE(credits.Image1()->y(), twipsToPixels(-5190, logicalDpiOf(credits)));
    credits.Timer1_Timer();
    QCOMPARE(credits.imageTopTwips(), 0.0);
    QCOMPARE(credits.scrollDistance(), qint16(0));
    QCOMPARE(credits.Image1()->y(), 0);

    // Opened from the main window, the list rises by itself.
    ShellFixture f;
    frmGlintbox &w = openActive(f);
    bool seen = false;
    bool rose = false;
    inspectNextModal(
        [&](QWidget &window) {
            auto *opened = qobject_cast<frmBugBusters *>(&window);
            rose = opened && QTest::qWaitFor([&] { return opened->Image1()->y() < 0; }, 5000);
        },
        seen);
    QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
    QVERIFY(seen && rose);
}

GLINTBOX_VIEWING_TEST_MAIN(TestInfo)
#include "tst_info.moc"
