#include "ShellFixture.h"
#include "TestImages.h"
#include "WindowManager.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "shell/MainMenus.h"
#include "shell/StatusLine.h"
#include "shell/layout/WindowLayout.h"
#include "shell/layout/WindowPlacement.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace glintbox;

namespace {

// What is wrong with the window's layout, empty when nothing is: every control
// of the client area lies wholly inside it, the lists, the viewer and the
// status line overlap nothing, the status line runs along the whole bottom
// edge, the count line shows its captions and counts whole and apart, and
// every toolbar button and zoom control is shown whole.
QString layoutFault(frmGlintbox &w)
{
    const MainControls &c = w.controls();
    const QRect client = w.centralWidget()->rect();
    for (QWidget *control :
         w.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisible() && !client.contains(control->geometry()))
            return control->objectName() + QStringLiteral(" runs off the client area");
    }
    const QRect apart[] = {c.Dir1->geometry(), c.File1->geometry(), w.viewer().Text1->geometry(),
                           c.StatusBar->geometry()};
    for (size_t i = 0; i < std::size(apart); ++i)
        for (size_t j = i + 1; j < std::size(apart); ++j)
            if (apart[i].intersects(apart[j]))
                return QStringLiteral("lists, viewer and status line overlap");
    const QRect status = c.StatusBar->geometry();
    if (status.bottom() != client.bottom() || status.left() != 0 ||
        client.right() - status.right() > 2)
        return QStringLiteral("the status line does not run along the bottom edge");
    const QLabel *counts[] = {c.Label1, c.Label2, c.Label4, c.Label5, c.Label6};
    for (size_t i = 0; i < std::size(counts); ++i) {
        const int textRight =
            counts[i]->x() + counts[i]->fontMetrics().horizontalAdvance(counts[i]->text());
        if (textRight > counts[i]->geometry().right() + 1 ||
            (i + 1 < std::size(counts) && textRight >= counts[i + 1]->x()))
            return counts[i]->objectName() + QStringLiteral(" is cut off or overlapped");
    }
    QToolBar *toolbar = c.Toolbar1;
    if (!w.rect().contains(toolbar->geometry()))
        return QStringLiteral("the toolbar runs off the window");
    for (QAction *action : toolbar->actions()) {
        QWidget *item = toolbar->widgetForAction(action);
        if (!action->isSeparator() &&
            (!item->isVisible() || !toolbar->rect().contains(item->geometry())))
            return item->objectName() + action->objectName() + QStringLiteral(" is out of reach");
    }
    return {};
}

// Shows the window, waits until it is on screen, and gives it a size.
bool shownAt(frmGlintbox &w, QSize size)
{
    w.show();
    const bool exposed = QTest::qWaitForWindowExposed(&w);
    w.resize(size);
    return exposed;
}

// A frame that the test tells, as a window manager would.
class ToldFrame : public WindowFrame {
public:
    std::optional<QMargins> told;
    std::optional<QMargins> margins() override { return told; }
    void tell(const QMargins &margins)
    {
        told = margins;
        emit changed();
    }
};

// Whole pixels at 96 dpi.
const QRectF StoredTwips(3000, 1500, 10005, 7005);
const QRect StoredPixels(200, 100, 667, 467);
const QMargins Frame(1, 20, 1, 5);

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void controlsAndStatusLineStayInsideTheWindow_data();
    void controlsAndStatusLineStayInsideTheWindow();
    void zoomPresetOnTheWrappedRowTakesAClick();
    void layoutItemsKeepOneCheckMark();
    void resizeAndRestorePanThePictureBack();
    void rightClickNeverHidesTheToolbar();
    void windowLiesInsideTheFrameOnceTold_data();
    void windowLiesInsideTheFrameOnceTold();
    void mainWindowComesBackWhereItWasClosed_data();
    void mainWindowComesBackWhereItWasClosed();

private:
    WindowManager m_windowManager;
};

void TestLayout::initTestCase()
{
    // The runs under a real X server ask for a window manager: frames, and
    // sizes that the window manager grants rather than the test.
    if (qEnvironmentVariableIsSet("GLINTBOX_WINDOW_MANAGER"))
        QVERIFY2(m_windowManager.start(), qPrintable(m_windowManager.errorString()));
}

void TestLayout::controlsAndStatusLineStayInsideTheWindow_data()
{
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QSize>("size");
    for (const char *controls : {"Top", "Side"}) {
        // Below the minimum (it springs back), the default, and wider.
        for (const QSize size :
             {QSize(300, 200), QSize(600, 433), QSize(800, 600), QSize(1400, 900)})
            QTest::addRow("%s %dx%d", controls, size.width(), size.height())
                << QString::fromLatin1(controls) << size;
    }
}

void TestLayout::controlsAndStatusLineStayInsideTheWindow()
{
    QFETCH(QString, controls);
    QFETCH(QSize, size);
    ShellFixture f;
    f.makeFile("a file whose long name takes much of the status line.txt",
               QByteArray(1234567, 'x'));
    f.storeSetting(QStringLiteral("Controls"), controls);
    frmGlintbox &w = f.load();
    // As a folder of 9,999,999 files and as many folders shows them.
    w.controls().Label2->setText(QStringLiteral("9999999"));
    w.controls().Label5->setText(QStringLiteral("9999999"));
    QVERIFY(shownAt(w, size));
    QTRY_COMPARE_WITH_TIMEOUT(layoutFault(w), QString(), 10000);
    // Too small a window springs back to the minimum.
    QTRY_VERIFY(w.outerGeometryTwips().width() >= MinimumWindowWidth &&
                w.outerGeometryTwips().height() >= MinimumWindowHeight);

    // The file's name gives way; size and date are shown whole, within the label.
    const StatusLine *status = w.controls().InputFileProperties;
    const QString line = status->text();
    QVERIFY(line.contains(QStringLiteral("File Size: 1234567 bytes")));
    const QString tail = line.mid(line.indexOf(QStringLiteral("          File Size")));
    QTRY_VERIFY_WITH_TIMEOUT(status->shownLine().endsWith(tail) &&
                                 status->fontMetrics().horizontalAdvance(status->shownLine()) <=
                                     status->contentsRect().width(),
                             10000);
    QVERIFY(status->toolTip().contains(line));
}

void TestLayout::zoomPresetOnTheWrappedRowTakesAClick()
{
    ShellFixture f;
    QVERIFY(filledImage(40, 30).save(f.path("picture.bmp")));
    frmGlintbox &w = f.load();
    QVERIFY(shownAt(w, QSize(600, 433)));
    QAbstractButton *largest = w.viewer().btnZoom.back();
    QTRY_VERIFY_WITH_TIMEOUT(largest->isVisible() && largest->isEnabled(), 10000);
    QTest::mouseClick(largest, Qt::LeftButton);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("1000 %"));
}

void TestLayout::layoutItemsKeepOneCheckMark()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction *top = w.controls().menus->item(MenuCommand::mnuControl, 0);
    QAction *side = w.controls().menus->item(MenuCommand::mnuControl, 1);
    f.clickToolbarButton("TopView");
    QCOMPARE(w.state().controlsPosition, QStringLiteral("Top"));
    QVERIFY(w.controls().File1->x() > w.controls().Dir1->x());
    f.clickToolbarButton("SideView");
    side->trigger();
    QVERIFY(side->isChecked() && !top->isChecked());
    QCOMPARE(w.state().controlsPosition, QStringLiteral("Side"));
    QCOMPARE(w.controls().File1->x(), w.controls().Dir1->x());
}

void TestLayout::resizeAndRestorePanThePictureBack()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect view = w.viewer().Text1->geometry();
    ImageViewport *viewport = w.viewer().Picture2;
    viewport->HScroll1()->setValue(40);
    viewport->VScroll1()->setValue(70);
    viewport->setImageRectTwips(QRectF(-500, -300, 4000, 3000));
    w.resize(950, 720);
    w.Form_Resize();
    QCOMPARE(viewport->HScroll1()->value(), 0);
    QCOMPARE(viewport->VScroll1()->value(), 0);
    QCOMPARE(viewport->imageRectTwips(), QRectF(0, 0, 4000, 3000));

    // Minimised, nothing moves; restored, the picture is panned back.
    w.resize(900, 700);
    w.setWindowState(Qt::WindowMinimized);
    viewport->HScroll1()->setValue(40);
    w.Form_Resize();
    QCOMPARE(viewport->HScroll1()->value(), 40);
    w.setWindowState(Qt::WindowNoState);
    QCOMPARE(viewport->HScroll1()->value(), 0);
    QTRY_COMPARE(w.viewer().Text1->geometry(), view);
}

void TestLayout::rightClickNeverHidesTheToolbar()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QToolBar *toolbar = w.controls().Toolbar1;
    for (QWidget *target : {static_cast<QWidget *>(toolbar), static_cast<QWidget *>(w.menuBar())}) {
        bool offered = false;
        // A menu, if one opened, runs its own loop: look, and close it.
        QTimer::singleShot(200, [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                offered = true;
                popup->close();
            }
        });
        const QPoint empty(target->width() - 3, target->height() / 2);
        QTest::mouseClick(target, Qt::RightButton, {}, empty);
        QTest::qWait(300);
        QVERIFY2(!offered, qPrintable(target->objectName()));
    }
    QVERIFY(toolbar->isVisible());
}

void TestLayout::windowLiesInsideTheFrameOnceTold_data()
{
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QString>("told");
    QTest::newRow("no frame") << QMargins() << "before placing";
    QTest::newRow("uneven frame") << QMargins(4, 30, 6, 8) << "before placing";
    QTest::newRow("told once shown") << Frame << "once shown";
    QTest::newRow("told while maximised") << Frame << "while maximised";
}

void TestLayout::windowLiesInsideTheFrameOnceTold()
{
    QFETCH(QMargins, frame);
    QFETCH(QString, told);
    QWidget window;
    auto *windowManager = new ToldFrame;
    auto *placement = new WindowPlacement(window, std::unique_ptr<WindowFrame>(windowManager));
    if (told == u"before placing")
        windowManager->tell(frame);
    placement->place(StoredTwips);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (told == u"while maximised") {
        window.setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(window.geometry() != StoredPixels);
        const QRect maximised = window.geometry();
        // A maximised window's frame is not the one of its normal place.
        windowManager->tell(frame);
        QCOMPARE(window.geometry(), maximised);
        window.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(window.geometry(), StoredPixels);
    }
    // Until the frame is told the window stands where a frameless one would.
    QCOMPARE(window.geometry(),
             told == u"before placing" ? StoredPixels.marginsRemoved(frame) : StoredPixels);
    windowManager->tell(frame);
    QCOMPARE(window.geometry(), StoredPixels.marginsRemoved(frame));
    QCOMPARE(placement->outerTwips(), StoredTwips);
}

void TestLayout::mainWindowComesBackWhereItWasClosed_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("toldBeforeShown");
    QTest::newRow("first start, frame told before shown") << false << true;
    QTest::newRow("first start, frame told once shown") << false << false;
    QTest::newRow("stored, frame told before shown") << true << true;
    QTest::newRow("stored, frame told once shown") << true << false;
}

// Closed and started again, run after run, the main window keeps its outer
// size and place: the frame is neither added to the window nor lost, and the
// toolbar's first rows do not hold it taller than placed.
void TestLayout::mainWindowComesBackWhereItWasClosed()
{
    QFETCH(bool, stored);
    QFETCH(bool, toldBeforeShown);
    ShellFixture f;
    const char *keys[] = {"Left", "Top", "Width", "Height"};
    const QList<double> storedValues = {3000, 1500, 10005, 7005};
    for (int i = 0; stored && i < 4; ++i)
        f.storeSetting(keys[i], QString::number(storedValues[i]));
    auto kept = [&] {
        QList<double> values;
        for (const char *key : keys)
            values.append(f.storedSetting(key).toDouble());
        return values;
    };
    // The default 9000 x 6500 twips is 600 x 433 whole pixels.
    const QSize outer = stored ? StoredPixels.size() : QSize(600, 433);
    QList<double> first;
    for (int run = 0; run < 3; ++run) {
        frmGlintbox &w = f.open();
        auto *windowManager = new ToldFrame;
        w.windowPlacement().setFrame(std::unique_ptr<WindowFrame>(windowManager));
        if (toldBeforeShown)
            windowManager->tell(Frame);
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        windowManager->tell(Frame);
        QTRY_COMPARE_WITH_TIMEOUT(w.size(), outer.shrunkBy(Frame), 10000);
        f.closeAndReload();
        if (run == 0)
            first = kept();
        QCOMPARE(kept(), first);
    }
    QCOMPARE(first, (stored ? storedValues : QList<double>{first[0], first[1], 9000, 6495}));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
