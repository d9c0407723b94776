#include "Corpus.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "ViewingTestMain.h"
#include "browser/OfflineRequestInterceptor.h"
#include "viewing/web/LocalPages.h"
#include "viewing/web/WebBrowserView.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>

using namespace glintbox;

namespace {

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

// A page with one picture that names, in its title, whether it was shown.
QByteArray picturePage(const char *source)
{
    return QByteArray("<html><body><img src=\"") + source +
           "\" onload=\"document.title='shown'\" onerror=\"document.title='refused'\">"
           "</body></html>";
}

// A page that names, in its title, the encoding the engine read it in.
QByteArray encodingPage(const QByteArray &head, const QByteArray &body)
{
    return head + "<html><body>" + body +
           "<script>document.title = document.characterSet;</script></body></html>";
}

class ShownBrowser : public WebBrowserView {
public:
    ShownBrowser()
    {
        resize(400, 300);
        show();
    }
};

} // namespace

class TestWebBrowser : public QObject {
    Q_OBJECT
private slots:
    void pageUrlFollowsTheFileSystem();
    void pagesLoadOneAfterAnother();
    void deletingTheViewInItsLoadFinishedIsSafe();

    void onlyLocalAddressesAreReachableOffline();
    void offlineSwitch_data();
    void offlineSwitch();
    void pageShows_data();
    void pageShows();
    void scriptsReadNoLocalFile();
};

void TestWebBrowser::pageUrlFollowsTheFileSystem()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("real/sub"));
    QVERIFY(writeFile(dir.filePath("real/page.html"), "right"));
    QVERIFY(writeFile(dir.filePath("page.html"), "wrong"));
    QVERIFY(QFile::link(dir.filePath("real/sub"), dir.filePath("link")));

    // "link/.." is the folder above the link's target, not the link's own folder.
    const QString viaLink = dir.filePath("link/../page.html");
    QCOMPARE(QFileInfo(localPagePath(localPageUrl(viaLink))).canonicalFilePath(),
             QFileInfo(dir.filePath("real/page.html")).canonicalFilePath());
}

void TestWebBrowser::pagesLoadOneAfterAnother()
{
    QTemporaryDir dir;
    ShownBrowser browser;
    QVERIFY(!browser.hasEngine());
    QSignalSpy loaded(&browser, &WebBrowserView::loadFinished);
    QSignalSpy ready(&browser, &WebBrowserView::pageReady);
    // A missing page gets the engine's error page; the pages after it load.
    browser.navigate(dir.filePath("missing.html"));
    QVERIFY(browser.hasEngine());
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QCOMPARE(loaded.first().first().toBool(), false);
    // Its readiness comes a round trip later; counted here, not as the next page's.
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);

    // Names with characters that are special in a URL, then real pages.
    QStringList pages{dir.filePath("page.html"), dir.filePath("my page #1?.htm"),
                      dir.filePath(QStringLiteral("p\u00e1gina \u00fc.html"))};
    for (int i = 0; i < pages.size(); ++i)
        QVERIFY(writeFile(pages[i], "<title>page " + QByteArray::number(i) + "</title>"));
    const qsizetype ownPages = pages.size();
    pages += corpusFiles(QStringLiteral("html"));
    for (int i = 0; i < pages.size(); ++i) {
        loaded.clear();
        ready.clear();
        browser.navigate(pages[i]);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
        QVERIFY2(loaded.first().first().toBool(), qPrintable(pages[i]));
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);
        QCOMPARE(QFileInfo(localPagePath(browser.url())).canonicalFilePath(),
                 QFileInfo(pages[i]).canonicalFilePath());
        if (i < ownPages)
            QCOMPARE(browser.title(), QStringLiteral("page %1").arg(i));
    }
}

void TestWebBrowser::deletingTheViewInItsLoadFinishedIsSafe()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("page.html"), "<title>x</title>"));
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
    const QString path = dir.filePath("remote.html");
    QVERIFY(
        writeFile(path, "<html><head><title>waiting</title></head><body>" +
                            body.replace("PORT", QString::number(server.serverPort())).toUtf8() +
                            "</body></html>"));

    ShownBrowser browser;
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

void TestWebBrowser::pageShows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("title");
    // Only the page's folder and what is below it are served.
    QTest::newRow("beside the page") << "page.html" << picturePage("dot.bmp") << "shown";
    QTest::newRow("below the page") << "page.html" << picturePage("pictures/dot.bmp") << "shown";
    QTest::newRow("above the page") << "page.html" << picturePage("../outside.bmp") << "refused";
    QTest::newRow("folder of a similar name")
        << "page.html" << picturePage("../site2/dot.bmp") << "refused";
    QTest::newRow("link leading out") << "page.html" << picturePage("link.bmp") << "refused";
    QTest::newRow("absolute path elsewhere") << "page.html" << picturePage("OUTSIDE") << "refused";
    // A page is known by the last three characters of its name.
    QTest::newRow("no dot") << "pagehtml" << picturePage("pictures/dot.bmp") << "shown";
    QTest::newRow("short tail") << "x.tml" << picturePage("pictures/dot.bmp") << "shown";
    QTest::newRow("upper case") << "PAGE.HTM" << picturePage("pictures/dot.bmp") << "shown";
    // As the viewer reads text: UTF-8 when valid, else Windows-1252; a page's
    // own declaration wins.
    QTest::newRow("UTF-8, undeclared") << "page.html" << encodingPage({}, "caf\xc3\xa9") << "UTF-8";
    QTest::newRow("Latin-1, undeclared")
        << "page.html" << encodingPage({}, "caf\xe9") << "windows-1252";
    QTest::newRow("declared") << "page.html"
                              << encodingPage("<meta charset=\"iso-8859-2\">", "caf\xc3\xa9")
                              << "ISO-8859-2";
    QTest::newRow("byte-order mark")
        << "page.html" << encodingPage("\xef\xbb\xbf", "caf\xe9") << "UTF-8";
}

void TestWebBrowser::pageShows()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, page);
    QFETCH(QString, title);
    QTemporaryDir dir;
    for (const char *picture :
         {"site/dot.bmp", "site/pictures/dot.bmp", "outside.bmp", "site2/dot.bmp"})
        QVERIFY(writeFile(dir.filePath(picture), encodedImage(filledImage(4, 4), "BMP")));
    QVERIFY(QFile::link(dir.filePath("outside.bmp"), dir.filePath("site/link.bmp")));
    page.replace("OUTSIDE", localPageUrl(dir.filePath("outside.bmp")).toEncoded());
    QVERIFY(writeFile(dir.filePath("site/" + name), page));
    ShownBrowser browser;
    browser.navigate(dir.filePath("site/" + name));
    QTRY_COMPARE_WITH_TIMEOUT(browser.title(), title, 20000);
}

void TestWebBrowser::scriptsReadNoLocalFile()
{
    QTemporaryDir dir;
    const QString outside = dir.filePath("secret.txt");
    QVERIFY(writeFile(outside, "SECRET elsewhere"));
    QVERIFY(writeFile(dir.filePath("site/notes.txt"), "SECRET beside the page"));
    QVERIFY(writeFile(dir.filePath("site/style.css"), "body { color: rgb(1, 2, 3) }"));
    QVERIFY(writeFile(dir.filePath("site/app.js"), "window.appLoaded = true;"));
    QVERIFY(
        writeFile(dir.filePath("site/pictures/dot.bmp"), encodedImage(filledImage(4, 4), "BMP")));
    QVERIFY(writeFile(dir.filePath("site/page.html"), pryingPage(outside)));
    for (bool offline : {true, false}) {
        ShownBrowser browser;
        browser.setOffline(offline);
        browser.navigate(dir.filePath("site/page.html"));
        QTRY_VERIFY_WITH_TIMEOUT(browser.title().startsWith(QStringLiteral("own ")), 30000);
        const QString title = browser.title();
        QVERIFY2(title.startsWith(QStringLiteral("own true,true,true ")), qPrintable(title));
        QVERIFY2(!title.contains(QStringLiteral("SECRET")), qPrintable(title));
    }
}

// The page's own pictures, inline data and blank pages still load offline;
// nothing that would reach a file or the network does.
void TestWebBrowser::onlyLocalAddressesAreReachableOffline()
{
    for (const QString &url :
         {QString(LocalPageScheme) + QStringLiteral(":/tmp/page.html"),
          QStringLiteral("DATA:text/plain,hello"), QStringLiteral("qrc:/icons/open.svg"),
          QStringLiteral("about:blank"), QStringLiteral("blob:null/6f1c2d3e")})
        QVERIFY2(isReachableOffline(QUrl(url)), qPrintable(url));
    for (const char *url :
         {"file:///tmp/page.html", "http://127.0.0.1/", "wss://example.org/", "ftp://example.org/f",
          "filesystem:http://example.org/t/x", "//example.org/x"})
        QVERIFY2(!isReachableOffline(QUrl(QString::fromLatin1(url))), url);
}

GLINTBOX_VIEWING_TEST_MAIN(TestWebBrowser)
#include "tst_webbrowser.moc"
