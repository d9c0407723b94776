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
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTimer>

using namespace glintbox;

namespace {

void clickTab(frmHelp &help, int index)
{
    QTabBar *bar = help.TabStrip1()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// The Help window that F1 opens over a main window, on the help files of folder.
frmHelp *pressF1(frmGlintbox &w, const QString &folder)
{
    w.helpMenu().setHelpFolder(folder);
    QTest::keyClick(&w, Qt::Key_F1);
    return w.helpMenu().helpWindow();
}

// Runs check on the modal window that the next command opens, then closes it.
void inspectNextModal(const std::function<void(QWidget &)> &check)
{
    QTimer::singleShot(0, [check] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            check(*dialog);
            dialog->close();
        }
    });
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void helpBesideTheProgramKeepsItsMinimum()
    {
        ShellFixture f;
        // The program may be started from anywhere.
        QDir::setCurrent(f.dir.path());
        frmGlintbox &w = f.loadActive();
        QTest::keyClick(&w, Qt::Key_F1);
        frmHelp *help = w.helpMenu().helpWindow();
        QVERIFY(help);
        QFile file(QCoreApplication::applicationDirPath() + "/Glintbox Help.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString expected = decodeText(file.readAll());
        QTRY_COMPARE(help->RichTextBox1()->text(), expected);
        QVERIFY(f.prompts.records().isEmpty());
        const double dpi = logicalDpiOf(*help);
        help->resize(200, 100);
        QTRY_VERIFY(pixelsToTwips(help->frameGeometry().width(), dpi) >= HelpMinimumWidth);
        QTRY_VERIFY(pixelsToTwips(help->frameGeometry().height(), dpi) >= HelpMinimumHeight);
        QCOMPARE(help->TabStrip1()->geometry(), help->rect());
    }

    void missingFilesMessage()
    {
        ShellFixture f;
        frmGlintbox &w = f.loadActive();
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

    void secondHelpCommandReadsNothingAndPagesStayOffline()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QTemporaryDir folder;
        const QString helpText = folder.filePath(QStringLiteral("Glintbox Help.txt"));
        writeFile(helpText, "first");
        writeFile(folder.filePath(QStringLiteral("Glintbox Updates.txt")), "updates");
        // A WebSocket is what the engine's own settings let through.
        writeFile(folder.filePath(QStringLiteral("Glintbox Updates.html")),
                  "<script>const s = new WebSocket('ws://127.0.0.1:" +
                      QByteArray::number(server.serverPort()) +
                      "/'); s.onerror = s.onclose = () => document.title = 'settled';</script>");
        ShellFixture f;
        frmGlintbox &w = f.loadActive();
        // Offline whatever the main window's browser switch says.
        w.state().WebMode = true;
        QPointer<frmHelp> help = pressF1(w, folder.path());
        QVERIFY(help);
        QTRY_COMPARE(QApplication::activeWindow(), help.data());
        writeFile(helpText, "second");
        // F1 and the toolbar's Help button bring the same window up, reading nothing.
        for (const bool byButton : {false, true}) {
            QVERIFY(f.activate());
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
        clickTab(*help, 3);
        QTRY_COMPARE_WITH_TIMEOUT(help->WebBrowser2()->title(), QStringLiteral("settled"), 30000);
        QVERIFY(!server.hasPendingConnections());
        // Closing destroys it; the next command opens a new one on the first tab.
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

    void aboutAndCreditsOpenFromTheirKeys()
    {
        ShellFixture f;
        frmGlintbox &w = f.loadActive();
        QString shown;
        inspectNextModal([&](QWidget &about) {
            for (const QLabel *label : about.findChildren<QLabel *>())
                shown += label->text() + u'\n';
        });
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
        QVERIFY2(shown.contains("2.00") && shown.contains(product::WebAddress), qPrintable(shown));
        // Opened from the main window, the list rises by itself.
        QVERIFY(f.activate());
        bool rose = false;
        inspectNextModal([&](QWidget &window) {
            auto *opened = qobject_cast<frmBugBusters *>(&window);
            rose = opened && QTest::qWaitFor([&] { return opened->Image1()->y() < 0; }, 5000);
        });
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(rose);
    }
};

GLINTBOX_VIEWING_TEST_MAIN(TestInfo)
#include "tst_info.moc"
