#include "ShellFixture.h"
#include "core/Twips.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "shell/MainMenus.h"
#include "shell/layout/LayoutGeometry.h"
#include "shell/layout/WindowLayout.h"
#include "shell/settings/SettingsKeys.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace glintbox;

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void arrangementSetting_data();
    void arrangementSetting();
    void minimumSizeAndListsAboveTheViewer();
    void viewsFillTheWindowAndShrinkingSpringsBack_data();
    void viewsFillTheWindowAndShrinkingSpringsBack();
    void layoutItemsKeepOneCheckMark();
    void resizeAndRestorePanThePictureBack();
    void countsShowWhole_data();
    void countsShowWhole();
    void rightClickNeverHidesTheToolbar();
};

void TestLayout::geometry_data()
{
    QTest::addColumn<bool>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QRectF>("dir1");
    QTest::addColumn<QRectF>("file1");
    QTest::addColumn<QRectF>("viewer");
    QTest::addColumn<QRectF>("status");
    QTest::newRow("top at width 12270")
        << true << 12270.0 << 9000.0 << QRectF(2500, 360, 4885, 1600)
        << QRectF(7435, 360, 4715, 1600) << QRectF(0, 1865, 12160, 6160)
        << QRectF(0, 8020, 12130, StatusBarHeight);
    QTest::newRow("top at the minimum")
        << true << 8000.0 << 6000.0 << QRectF(2500, 360, 2750, 1600)
        << QRectF(5300, 360, 2580, 1600) << QRectF(0, 1865, 7890, 3160)
        << QRectF(0, 5020, 7860, StatusBarHeight);
    QTest::newRow("side at height 8000")
        << false << 9000.0 << 8000.0 << QRectF(0, 1820, 2400, 2850) << QRectF(0, 4700, 2400, 2740)
        << QRectF(2450, 360, 6450, 6660) << QRectF(0, 7020, 8860, StatusBarHeight);
}

void TestLayout::geometry()
{
    QFETCH(bool, top);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QRectF, dir1);
    QFETCH(QRectF, file1);
    QFETCH(QRectF, viewer);
    QFETCH(QRectF, status);
    const LayoutGeometry g =
        computeLayout(top ? Arrangement::Top : Arrangement::Side, width, height);
    QCOMPARE(g.Dir1, dir1);
    QCOMPARE(g.File1, file1);
    QCOMPARE(g.viewer, viewer);
    QCOMPARE(g.StatusBar, status);
    QCOMPARE(g.Drive1, QRectF(0, 360, 2400, 315));
    // The status label follows the status line, less a margin at the side.
    QCOMPARE(g.InputFileProperties.width(), top ? status.width() : status.width() - 40);
}

void TestLayout::arrangementSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("top");
    QTest::newRow("Top") << "Top" << true;
    QTest::newRow("lower case top") << "top" << false;
    QTest::newRow("blank after Top") << "Top " << false;
}

void TestLayout::arrangementSetting()
{
    QFETCH(QString, setting);
    QFETCH(bool, top);
    QCOMPARE(arrangementOf(setting) == Arrangement::Top, top);
}

void TestLayout::minimumSizeAndListsAboveTheViewer()
{
    QCOMPARE(withMinimumSize(QSizeF(7999, 5000)), QSizeF(8000, 6000));
    QCOMPARE(withMinimumSize(QSizeF(12000, 5999)), QSizeF(12000, 6000));
    // The designed window adds frame, caption and menu bar to the client area.
    QCOMPARE(designedOuterSize(QSizeF(7890, 4960)), QSizeF(8000, 6000));

    const QRectF viewer(0, 1865, 12160, 6160);
    QCOMPARE(keptAbove(QRectF(2500, 360, 4885, 1600), viewer), QRectF(2500, 360, 4885, 1455));
    // Beside the viewer, or already above it, a list keeps its place.
    const QRectF side(0, 1820, 2400, 2850);
    QCOMPARE(keptAbove(side, QRectF(2450, 360, 6450, 6660)), side);
    const QRectF shortList(2500, 360, 100, 1000);
    QCOMPARE(keptAbove(shortList, viewer), shortList);
}

void TestLayout::viewsFillTheWindowAndShrinkingSpringsBack_data()
{
    QTest::addColumn<QString>("controls");
    QTest::newRow("top") << "Top";
    QTest::newRow("side") << "Side";
}

void TestLayout::viewsFillTheWindowAndShrinkingSpringsBack()
{
    QFETCH(QString, controls);
    ShellFixture f;
    frmGlintbox &w = f.open();
    w.state().controlsPosition = controls;
    w.resize(1000, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Form_Resize();
    const QRect client = w.centralWidget()->rect();
    const QRect view = w.viewer().Text1->geometry();
    const QRect status = w.controls().StatusBar->geometry();
    const QRect dir = w.controls().Dir1->geometry();
    const QRect file = w.controls().File1->geometry();
    // The status line runs along the bottom edge, the view ends just above it.
    QCOMPARE(status.bottom(), client.bottom());
    QVERIFY(qAbs(view.bottom() + 1 - status.top()) <= 1);
    QVERIFY(qAbs(view.right() - client.right()) <= 1);
    QVERIFY(!view.intersects(dir) && !view.intersects(file) && !dir.intersects(file));
    if (controls == u"Top")
        QVERIFY(view.left() == 0 && view.top() > dir.bottom() &&
                qAbs(file.right() - client.right()) <= 1);
    else
        QVERIFY(view.left() > dir.right() && view.top() == 0 && file.bottom() <= client.bottom());
    // Every view shares the one rectangle.
    QCOMPARE(w.viewer().Picture2->geometry(), view);

    // Too small a window springs back to the minimum, not beyond it.
    w.resize(300, 200);
    const WindowLayout &layout = w.windowLayout();
    QTRY_VERIFY(layout.outerSizeTwips().width() >= MinimumWindowWidth);
    QTRY_VERIFY(layout.outerSizeTwips().height() >= MinimumWindowHeight);
    QVERIFY(layout.outerSizeTwips().width() < MinimumWindowWidth + 30);
    QVERIFY(layout.outerSizeTwips().height() < MinimumWindowHeight + 30);
    QCOMPARE(w.controls().StatusBar->geometry().bottom(), w.centralWidget()->rect().bottom());
    // A window wide enough but too low only grows in height.
    w.resize(800, 200);
    QTRY_VERIFY(layout.outerSizeTwips().height() >= MinimumWindowHeight);
    QCOMPARE(w.width(), 800);
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
    top->trigger();
    QCOMPARE(w.state().controlsPosition, QStringLiteral("Top"));
    QVERIFY(w.controls().File1->x() > w.controls().Dir1->x());
    side->trigger();
    side->trigger();
    QVERIFY(side->isChecked() && !top->isChecked());
    QCOMPARE(w.state().controlsPosition, QStringLiteral("Side"));
    QCOMPARE(w.controls().File1->x(), w.controls().Dir1->x());
    // Any other index changes nothing but lays the window out again.
    w.controls().Dir1->setGeometry(0, 0, 1, 1);
    w.mnuControl_Click(5);
    QVERIFY(side->isChecked());
    QVERIFY(w.controls().Dir1->height() > 1);
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

void TestLayout::countsShowWhole_data()
{
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QSize>("size");
    QTest::newRow("top, default") << "Top" << QSize(800, 600);
    QTest::newRow("side, default") << "Side" << QSize(800, 600);
    QTest::newRow("side, minimum") << "Side" << QSize(300, 300);
    QTest::newRow("top, wide") << "Top" << QSize(1400, 900);
}

void TestLayout::countsShowWhole()
{
    QFETCH(QString, controls);
    QFETCH(QSize, size);
    ShellFixture f;
    frmGlintbox &w = f.open();
    w.state().controlsPosition = controls;
    w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const MainControls &c = w.controls();
    // As a folder of 9,999,999 files and as many folders shows them.
    c.Label2->setText(QStringLiteral("9999999"));
    c.Label5->setText(QStringLiteral("9999999"));
    w.Form_Resize();
    const QLabel *line[] = {c.Label1, c.Label2, c.Label4, c.Label5, c.Label6};
    for (size_t i = 0; i < std::size(line); ++i) {
        const int textRight =
            line[i]->x() + line[i]->fontMetrics().horizontalAdvance(line[i]->text());
        QVERIFY2(textRight <= line[i]->geometry().right() + 1, qPrintable(line[i]->objectName()));
        if (i + 1 < std::size(line))
            QVERIFY2(textRight < line[i + 1]->x(), qPrintable(line[i]->objectName()));
    }
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

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
