#include "../shell/ShellFixture.h"
#include "../viewing/ViewingTestMain.h"
#include "TestFiles.h"
#include "core/ProductInfo.h"
#include "core/TextDecoding.h"
#include "core/Twips.h"
#include "info/HelpLayout.h"
#include "info/HelpMenu.h"
#include "info/frmBugBusters.h"
#include "info/frmHelp.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTextDocument>
#include <QTimer>

using namespace glintbox;

namespace {

QString readHelpFile(const QString &name)
{
    QFile file(QCoreApplication::applicationDirPath() + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? decodeText(file.readAll()) : QString();
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

// The Help window that F1 opens over a main window, on the help files of folder.
frmHelp *pressF1(frmGlintbox &w, const QString &folder)
{
    w.helpMenu().setHelpFolder(folder);
    QTest::keyClick(&w, Qt::Key_F1);
    return w.helpMenu().helpWindow();
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

} // namespace

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void helpWindowLayoutAndMinimum()
    {
        ScriptedPrompts prompts;
        FaultyFileSystem fs;
        frmHelp help(QCoreApplication::applicationDirPath(), prompts, fs);
        help.Form_Load();
        help.resize(700, 500);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const double dpi = logicalDpiOf(help);
        // Where the layout rule puts the parts for a 10500 x 7500 twip client.
        QCOMPARE(help.TabStrip1()->geometry(), QRect(0, 0, 700, 500));
        QCOMPARE(help.frame(0)->geometry(), twipsToPixels(QRectF(120, 360, 10240, 7000), dpi));
        QCOMPARE(help.WebBrowser2()->geometry(), twipsToPixels(QRectF(120, 240, 10000, 6640), dpi));
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

    void missingFilesMessage()
    {
        ShellFixture f;
        frmGlintbox &w = openActive(f);
        QTemporaryDir empty;
        frmHelp *help = pressF1(w, empty.path());
        QVERIFY(help && help->isVisible());
        QCOMPARE(f.prompts.texts(),
                 QStringList("Sorry, but it has not been possible to find some or all of the help "
                             "files!\nPlease make sure these files are in the same directory as "
                             "glintbox."));
        QVERIFY(help->RichTextBox1()->text().isEmpty());
        // A missing page is the browser's to show; each text tab asks again.
        for (const int tab : {1, 2, 3, 0})
            clickTab(*help, tab);
        QVERIFY(help->frame(0)->isVisible() && !help->frame(2)->isVisible());
        QCOMPARE(f.prompts.captions(), QStringList(3, QStringLiteral("Glintbox - Help")));
    }

    void filesFoundBesideTheProgram()
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

    void secondHelpCommandReadsNothing()
    {
        ShellFixture f;
        frmGlintbox &w = openActive(f);
        QTemporaryDir folder;
        const QString helpText = folder.filePath(QStringLiteral("Glintbox Help.txt"));
        writeFile(helpText, "first");
        writeFile(folder.filePath(QStringLiteral("Glintbox Updates.txt")), "updates");
        QPointer<frmHelp> help = pressF1(w, folder.path());
        QVERIFY(help);
        QTRY_COMPARE(QApplication::activeWindow(), help.data());
        writeFile(helpText, "second");
        // F1 and the toolbar's Help button bring the same window up, reading nothing.
        for (const bool byButton : {false, true}) {
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            if (byButton)
                f.clickToolbarButton("Help");
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

    void helpBrowsersStayOffline()
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
        frmHelp *help = pressF1(w, folder.path());
        QVERIFY(help);
        clickTab(*help, 3);
        QTRY_COMPARE_WITH_TIMEOUT(help->WebBrowser2()->title(), QStringLiteral("settled"), 30000);
        QVERIFY(!server.hasPendingConnections());
    }

    void everyMenuCommandIsInTheHelp()
    {
        ShellFixture f;
        frmGlintbox &w = f.open();
        QTextDocument page;
        page.setHtml(readHelpFile(QStringLiteral("Glintbox Help.html")));
        const QString pageText = page.toPlainText().simplified();
        const QString helpText = readHelpFile(QStringLiteral("Glintbox Help.txt")).simplified();
        // Captions as the user reads them: no access letters, no key in angle brackets.
        static const QRegularExpression keyText(QStringLiteral("<[^>]*>"));
        QStringList missing;
        int captions = 0;
        for (QMenu *menu : w.menuBar()->findChildren<QMenu *>()) {
            QList<QAction *> actions = menu->actions();
            for (QAction *action : actions << menu->menuAction()) {
                const QString caption = action->text().remove(u'&').remove(keyText).simplified();
                captions += !action->isSeparator();
                if (!action->isSeparator() &&
                    (!helpText.contains(caption) || !pageText.contains(caption)))
                    missing.append(caption);
            }
        }
        QVERIFY(captions >= 30);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    void aboutShowsVersionMakerAndLicence()
    {
        ShellFixture f;
        frmGlintbox &w = openActive(f);
        QString shown;
        bool seen = false;
        inspectNextModal(
            [&](QWidget &about) {
                for (const QLabel *label : about.findChildren<QLabel *>())
                    shown += label->text() + u'\n';
            },
            seen);
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(seen);
        for (const QString &part :
             {QStringLiteral("2.00"), QStringLiteral("Devezud Iziruvuz"), product::WebAddress,
              product::EmailAddress, QStringLiteral("GNU General Public License, version 3")})
            QVERIFY2(shown.contains(part), qPrintable(part));
    }

    void creditsRiseAndStartOver()
    {
        frmBugBusters credits;
        for (int tick = 0; tick < 174; ++tick)
            credits.Timer1_Timer();
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
};

GLINTBOX_VIEWING_TEST_MAIN(TestInfo)
#include "tst_info.moc"
