#include "Corpus.h"
#include "ViewingTestMain.h"
#include "browser/OfflineRequestInterceptor.h"
#include "viewing/web/LocalPages.h"
#include "viewing/web/WebBrowserView.h"

#include <QHostAddress>
#include <QImage>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>

using namespace glintbox;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

void writePicture(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(path, "BMP"));
}

// A page that tries to read files with every means a script has and then
// reports, in its title, whether its own style, script and picture loaded and
// what each attempt read.
QByteArray pryingPage(const QString &outside)
{
    return QByteArray(R"(<html><head><title>waiting</title>
<link rel="stylesheet" href="style.css"><script src="app.js"></script></head>
<body><img id="picture" src="pictures/dot.bmp"><script>
const settle = (attempt) => Promise.race([attempt.catch(() => 'refused'),
    new Promise(done => setTimeout(() => done('timed out'), 5000))]);
const read = (url) => settle(new Promise((done, fail) => {
    const request = new XMLHttpRequest();
    request.open('GET', url);
    request.onload = () => done(request.responseText);
    request.onerror = fail;
    request.send();
}));
const fetched = (url) => settle(fetch(url).then(response => response.text()));
const framed = (url) => settle(new Promise((done, fail) => {
    const frame = document.createElement('iframe');
    frame.onload = () => {
        try { done(frame.contentDocument.body.innerText); } catch (error) { fail(error); }
    };
    frame.src = url;
    document.body.appendChild(frame);
}));
window.onload = () => Promise.all([read('file://OUTSIDE'), read('../secret.txt'),
        read('notes.txt'), fetched('notes.txt'), fetched('file://OUTSIDE'), framed('notes.txt')])
    .then(results => {
        const own = [window.appLoaded === true,
            getComputedStyle(document.body).color === 'rgb(1, 2, 3)',
            document.getElementById('picture').naturalWidth === 4];
        document.title = 'own ' + own.join(',') + ' read ' + results.join(',');
    });
</script></body></html>)")
        .replace("OUTSIDE", QUrl::toPercentEncoding(outside, "/"));
}

} // namespace

class TestWebBrowser : public QObject {
    Q_OBJECT
private slots:
    void reachableOffline_data();
    void reachableOffline();

    void pageUrlFollowsTheFileSystem();
    void startsNoEngineUntilAPageIsShown();
    void localPageLoadsAndHasItsTitle_data();
    void localPageLoadsAndHasItsTitle();
    void missingPageShowsErrorPageAndRecovers();
    void deletingTheViewInItsLoadFinishedIsSafe();

    void offlineSwitch_data();
    void offlineSwitch();
    void pageWithoutPageExtensionRenders_data();
    void pageWithoutPageExtensionRenders();
    void pageEncoding_data();
    void pageEncoding();
    void servesThePageFolderOnly_data();
    void servesThePageFolderOnly();
    void scriptsReadNoLocalFile_data();
    void scriptsReadNoLocalFile();

    void corpusPagesLoadOneAfterAnother();
};

void TestWebBrowser::reachableOffline_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("reachable");
    QTest::newRow("page of the folder") << QString(LocalPageScheme) + ":/tmp/page.html" << true;
    QTest::newRow("local file") << "file:///tmp/page.html" << false;
    QTest::newRow("file on a share") << "file://server/share/page.html" << false;
    QTest::newRow("data") << "data:text/plain,hello" << true;
    QTest::newRow("qrc") << "qrc:/icons/open.svg" << true;
    QTest::newRow("about") << "about:blank" << true;
    QTest::newRow("blob") << "blob:null/6f1c2d3e" << true;
    QTest::newRow("upper-case scheme") << "DATA:text/plain,hello" << true;
    QTest::newRow("http") << "http://127.0.0.1/" << false;
    QTest::newRow("https") << "https://example.org/" << false;
    QTest::newRow("websocket") << "ws://127.0.0.1:8080/" << false;
    QTest::newRow("secure websocket") << "wss://example.org/" << false;
    QTest::newRow("ftp") << "ftp://example.org/file" << false;
    QTest::newRow("filesystem") << "filesystem:http://example.org/temporary/x" << false;
    QTest::newRow("no scheme") << "//example.org/x" << false;
}

void TestWebBrowser::reachableOffline()
{
    QFETCH(QString, url);
    QFETCH(bool, reachable);
    QCOMPARE(isReachableOffline(QUrl(url)), reachable);
}

void TestWebBrowser::pageUrlFollowsTheFileSystem()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("real/sub"));
    writeFile(dir.filePath("real/page.html"), "right");
    writeFile(dir.filePath("page.html"), "wrong");
    QVERIFY(QFile::link(dir.filePath("real/sub"), dir.filePath("link")));

    // "link/.." is the folder above the link's target, not the link's own folder.
    const QString viaLink = dir.filePath("link/../page.html");
    QCOMPARE(QFileInfo(localPagePath(localPageUrl(viaLink))).canonicalFilePath(),
             QFileInfo(dir.filePath("real/page.html")).canonicalFilePath());
    // Names that are special in a URL stay part of the file name.
    QCOMPARE(localPageUrl(dir.filePath("a #1?.html")).fileName(), QStringLiteral("a #1?.html"));
    // A file that does not exist still gets its place, so the engine can say so.
    QCOMPARE(localPageUrl(dir.filePath("missing.html")).fileName(), QStringLiteral("missing.html"));
}

void TestWebBrowser::startsNoEngineUntilAPageIsShown()
{
    WebBrowserView browser;
    browser.setOffline(false);
    browser.resize(400, 300);
    browser.show();
    QVERIFY(!browser.hasEngine());
    QVERIFY(!browser.hasEngine());
}

void TestWebBrowser::localPageLoadsAndHasItsTitle_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain name") << "page.html";
    QTest::newRow("hash, blank and question mark") << "my page #1?.htm";
    QTest::newRow("non-ASCII") << "página ü.html";
}

void TestWebBrowser::localPageLoadsAndHasItsTitle()
{
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(fileName);
    writeFile(path, "<html><head><title>Glintbox test page</title></head>"
                    "<body><p>Hello</p></body></html>");

    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy loaded(&browser, &WebBrowserView::loadFinished);
    QSignalSpy ready(&browser, &WebBrowserView::pageReady);
    browser.navigate(path);
    QVERIFY(browser.hasEngine());
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QCOMPARE(loaded.first().first().toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);
    QCOMPARE(ready.first().first().toBool(), true);
    QCOMPARE(browser.title(), QStringLiteral("Glintbox test page"));
    QCOMPARE(localPagePath(browser.url()), path);
}

void TestWebBrowser::missingPageShowsErrorPageAndRecovers()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy loaded(&browser, &WebBrowserView::loadFinished);

    browser.navigate(dir.filePath("missing.html"));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QCOMPARE(loaded.takeFirst().first().toBool(), false);

    const QString good = dir.filePath("good.html");
    writeFile(good, "<title>After the error</title>");
    browser.navigate(good);
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QCOMPARE(loaded.first().first().toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(browser.title(), QStringLiteral("After the error"), 10000);
}

void TestWebBrowser::deletingTheViewInItsLoadFinishedIsSafe()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath("page.html"), "<title>x</title>");
    QPointer<WebBrowserView> browser = new WebBrowserView;
    browser->show();
    connect(browser, &WebBrowserView::loadFinished, browser, [&browser] { delete browser; });
    browser->navigate(dir.filePath("page.html"));
    QTRY_VERIFY_WITH_TIMEOUT(browser.isNull(), 20000);
}

void TestWebBrowser::offlineSwitch_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("navigates");
    // Each page sets its title to "settled" once its attempt has ended one
    // way or the other (a page that navigates away ends with a failed load),
    // so that "no connection" is checked after the fact.
    QTest::newRow("image") << R"(<link rel="preconnect" href="http://127.0.0.1:PORT/">
        <img src="http://127.0.0.1:PORT/picture.png"
             onerror="document.title='settled'" onload="document.title='settled'">)"
                           << false;
    QTest::newRow("fetch") << R"(<script>
        const settle = () => document.title = 'settled';
        fetch('http://127.0.0.1:PORT/data').then(settle, settle);
        </script>)" << false;
    QTest::newRow("frame") << R"(<iframe src="http://127.0.0.1:PORT/frame"
        onload="document.title='settled'"></iframe>)"
                           << false;
    QTest::newRow("websocket") << R"(<script>
        const socket = new WebSocket('ws://127.0.0.1:PORT/socket');
        socket.onerror = socket.onclose = () => document.title = 'settled';
        </script>)" << false;
    QTest::newRow("navigation")
        << R"(<script>location.href = 'http://127.0.0.1:PORT/next';</script>)" << true;
}

void TestWebBrowser::offlineSwitch()
{
    QFETCH(QString, body);
    QFETCH(bool, navigates);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            ++connections;
            // Closing at once lets the page's attempt end.
            socket->abort();
            socket->deleteLater();
        }
    });

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("remote.html");
    writeFile(path, "<html><head><title>waiting</title></head><body>" +
                        body.replace("PORT", QString::number(server.serverPort())).toUtf8() +
                        "</body></html>");

    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy loaded(&browser, &WebBrowserView::loadFinished);

    browser.setOffline(true);
    browser.navigate(path);
    if (navigates) {
        // The page is left before it has finished: one load, failed.
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
        QCOMPARE(loaded.last().first().toBool(), false);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(browser.title(), QStringLiteral("settled"), 10000);
    }
    QCOMPARE(connections, 0);

    browser.setOffline(false);
    browser.navigate(path);
    QTRY_VERIFY_WITH_TIMEOUT(connections > 0, 10000);
}

void TestWebBrowser::pageWithoutPageExtensionRenders_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("no dot") << "pagehtml";
    QTest::newRow("short tail") << "x.tml";
    QTest::newRow("upper case") << "PAGE.HTM";
}

void TestWebBrowser::pageWithoutPageExtensionRenders()
{
    // Shown as the viewer classifies it, by its last three characters, with
    // its folder as the base of its links.
    QFETCH(QString, name);
    QTemporaryDir dir;
    writePicture(dir.filePath("pictures/dot.bmp"));
    writeFile(dir.filePath(name), R"(<html><head><title>source</title></head><body>
        <img src="pictures/dot.bmp" onload="document.title = 'rendered'"></body></html>)");
    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    browser.navigate(dir.filePath(name));
    QTRY_COMPARE_WITH_TIMEOUT(browser.title(), QStringLiteral("rendered"), 20000);
}

void TestWebBrowser::pageEncoding_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("encoding");
    // As the viewer reads text: UTF-8 when valid, else Windows-1252; a page's
    // own declaration wins.
    QTest::newRow("UTF-8, undeclared") << QByteArray() << QByteArray("caf\xc3\xa9") << "UTF-8";
    QTest::newRow("Latin-1, undeclared") << QByteArray() << QByteArray("caf\xe9") << "windows-1252";
    QTest::newRow("declared") << QByteArray("<meta charset=\"iso-8859-2\">")
                              << QByteArray("caf\xc3\xa9") << "ISO-8859-2";
    QTest::newRow("byte-order mark")
        << QByteArray("\xef\xbb\xbf") << QByteArray("caf\xe9") << "UTF-8";
}

void TestWebBrowser::pageEncoding()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, body);
    QFETCH(QString, encoding);
    QTemporaryDir dir;
    writeFile(dir.filePath("page.html"), head + "<html><body>" + body +
                                             "<script>document.title = document.characterSet;"
                                             "</script></body></html>");
    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    browser.navigate(dir.filePath("page.html"));
    QTRY_COMPARE_WITH_TIMEOUT(browser.title(), encoding, 20000);
}

void TestWebBrowser::servesThePageFolderOnly_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("shown");
    QTest::newRow("beside the page") << "dot.bmp" << true;
    QTest::newRow("below the page") << "pictures/dot.bmp" << true;
    QTest::newRow("above the page") << "../outside.bmp" << false;
    QTest::newRow("folder of a similar name") << "../site2/dot.bmp" << false;
    QTest::newRow("link leading out") << "link.bmp" << false;
    QTest::newRow("absolute path elsewhere") << "OUTSIDE" << false;
}

void TestWebBrowser::servesThePageFolderOnly()
{
    QFETCH(QString, source);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    for (const char *picture :
         {"site/dot.bmp", "site/pictures/dot.bmp", "outside.bmp", "site2/dot.bmp"})
        writePicture(dir.filePath(picture));
    QVERIFY(QFile::link(dir.filePath("outside.bmp"), dir.filePath("site/link.bmp")));
    source.replace("OUTSIDE", localPageUrl(dir.filePath("outside.bmp")).toString());
    writeFile(dir.filePath("site/page.html"),
              "<html><body><img src=\"" + source.toUtf8() +
                  "\" onload=\"document.title='shown'\" onerror=\"document.title='refused'\">"
                  "</body></html>");
    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    browser.navigate(dir.filePath("site/page.html"));
    const QString expected = shown ? QStringLiteral("shown") : QStringLiteral("refused");
    QTRY_COMPARE_WITH_TIMEOUT(browser.title(), expected, 20000);
}

void TestWebBrowser::scriptsReadNoLocalFile_data()
{
    QTest::addColumn<bool>("online");
    QTest::newRow("offline") << false;
    QTest::newRow("online") << true;
}

void TestWebBrowser::scriptsReadNoLocalFile()
{
    QFETCH(bool, online);
    QTemporaryDir dir;
    const QString outside = dir.filePath("secret.txt");
    writeFile(outside, "SECRET elsewhere");
    writeFile(dir.filePath("site/notes.txt"), "SECRET beside the page");
    writeFile(dir.filePath("site/style.css"), "body { color: rgb(1, 2, 3) }");
    writeFile(dir.filePath("site/app.js"), "window.appLoaded = true;");
    writePicture(dir.filePath("site/pictures/dot.bmp"));
    writeFile(dir.filePath("site/page.html"), pryingPage(outside));

    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    browser.setOffline(!online);
    browser.navigate(dir.filePath("site/page.html"));
    QTRY_VERIFY_WITH_TIMEOUT(browser.title().startsWith(QStringLiteral("own ")), 30000);
    const QString title = browser.title();
    QVERIFY2(title.startsWith(QStringLiteral("own true,true,true ")), qPrintable(title));
    QVERIFY2(!title.contains(QStringLiteral("SECRET")), qPrintable(title));
}

void TestWebBrowser::corpusPagesLoadOneAfterAnother()
{
    const QStringList pages = corpusFiles(QStringLiteral("html"));
    if (pages.isEmpty())
        QSKIP("no html files in the corpus");
    WebBrowserView browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy loaded(&browser, &WebBrowserView::loadFinished);
    for (const QString &page : pages) {
        loaded.clear();
        browser.navigate(page);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
        QVERIFY2(loaded.first().first().toBool(), qPrintable(page));
        QCOMPARE(QFileInfo(localPagePath(browser.url())).canonicalFilePath(),
                 QFileInfo(page).canonicalFilePath());
    }
}

GLINTBOX_VIEWING_TEST_MAIN(TestWebBrowser)
#include "tst_webbrowser.moc"
