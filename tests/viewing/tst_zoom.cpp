#include "../shell/ShellFixture.h"
#include "FakeDisplayHost.h"
#include "TestImages.h"
#include "ViewingTestMain.h"
#include "core/GlintboxState.h"
#include "core/lists/FileList.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/modes/ViewMode.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/zoom/ImageZoom.h"
#include "viewing/zoom/ZoomControls.h"
#include "viewing/zoom/ZoomRules.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QToolBar>

using namespace glintbox;

namespace {

// The zoom controls, a viewport and a player on a plain window, with the
// zoom handlers over a fake host.
struct ZoomRig {
    FakeDisplayHost host;
    GlintboxState state;
    ViewerControls c;
    QWidget window;
    std::unique_ptr<ImageZoom> zoom;

    ZoomRig()
    {
        auto *toolbar = new QToolBar(&window);
        addZoomControls(*toolbar, c);
        c.Picture2 = new ImageViewport(&window);
        c.Picture2->setGeometry(0, 40, 400, 300);
        c.ActiveMovie1 = new MoviePlayer(&window);
        zoom = std::make_unique<ImageZoom>(state, c, host);
    }

    void showPicture(QSizeF baseTwips, ViewMode mode = ViewMode::Image)
    {
        state.ViewMode = mode;
        state.baseWidth = baseTwips.width();
        state.baseHeight = baseTwips.height();
        c.Picture2->setPicture(Picture::fromImage(filledImage(4, 4)));
        c.Picture2->setImageRectTwips(QRectF(QPointF(0, 0), baseTwips));
    }

    QSizeF viewportTwips() const { return c.Picture2->sizeTwips(); }
    QRectF image() const { return c.Picture2->imageRectTwips(); }
    QString label() const { return c.Text2->text(); }
};

} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    void panStep();

    void panMovesByWholeSteps();
    void barSnapsBackOutsideImageAndMovie();
    void movieModeSetsWindowSizeAndKeeps100();
    void dragResizesLiveAndReleasePansBack();
    void zoomsFromTheBaseSizeAtTheTopLeft_data();
    void zoomsFromTheBaseSizeAtTheTopLeft();
    void clicksOnTheViewportGiveTheFocusBack();
    void wholeWindowZoomsALoadedPicture();
};

void TestZoom::panStep()
{
    QCOMPARE(glintbox::panStep(7000, 6000), 10);
    QCOMPARE(glintbox::panStep(6250, 6000), 2); // 2.5 to even below
    QCOMPARE(glintbox::panStep(6350, 6000), 4); // 3.5 to even above
    // Extents are whole twips before the subtraction: 6249.5 is 6250 less
    // 6000, 2.5, which goes down to 2.
    QCOMPARE(glintbox::panStep(6249.5, 6000), 2);
    QCOMPARE(glintbox::panStep(6266.67, 6000), 3);
}

void TestZoom::panMovesByWholeSteps()
{
    // Scroll bar, how far the picture overflows the view, the bar's value,
    // and where the picture's edge lands.
    const std::tuple<Qt::Orientation, double, int, double> pans[] = {
        {Qt::Horizontal, 1000, 37, -370},
        {Qt::Horizontal, -1000, 37, 370}, // narrower moves right
        {Qt::Vertical, 2000, 50, -1000},
    };
    for (const auto &[orientation, overflow, value, edge] : pans) {
        ZoomRig rig;
        const QSizeF viewport = rig.viewportTwips();
        const bool across = orientation == Qt::Horizontal;
        const QSizeF base = across ? QSizeF(viewport.width() + overflow, 500)
                                   : QSizeF(500, viewport.height() + overflow);
        rig.showPicture(base);
        rig.host.focusCount = 0;
        (across ? rig.c.Picture2->HScroll1() : rig.c.Picture2->VScroll1())->setValue(value);
        QCOMPARE(across ? rig.image().left() : rig.image().top(), edge);
        QCOMPARE(rig.image().size(), base);
        QCOMPARE(rig.host.focusCount, 1);
    }
}

void TestZoom::barSnapsBackOutsideImageAndMovie()
{
    ZoomRig rig;
    rig.showPicture(QSizeF(200, 100), ViewMode::Text);
    // The bar snaps back without a message, the picture unchanged.
    rig.c.Zoom->setValue(400);
    QCOMPARE(rig.image(), QRectF(0, 0, 200, 100));
    QCOMPARE(rig.c.Zoom->value(), 100);
    QVERIFY(rig.host.scriptedPrompts.records().isEmpty());
}

void TestZoom::movieModeSetsWindowSizeAndKeeps100()
{
    // The preset buttons a movie enables, by index.
    const std::pair<int, MovieWindowSize> presets[] = {{3, MovieWindowSize::Own},
                                                       {4, MovieWindowSize::Double},
                                                       {5, MovieWindowSize::QuarterScreen},
                                                       {6, MovieWindowSize::HalfScreen}};
    for (const auto &[index, size] : presets) {
        ZoomRig rig;
        rig.state.ViewMode = ViewMode::Movie;
        rig.c.ActiveMovie1->setMovieWindowSize(MovieWindowSize::QuarterScreen);
        rig.zoom->btnZoom_Click(index);
        QCOMPARE(rig.c.ActiveMovie1->movieWindowSize(), size);
        QCOMPARE(rig.c.Zoom->value(), 100);
        QVERIFY(rig.host.scriptedPrompts.records().isEmpty());
        // No player engine is started by a zoom.
        QVERIFY(!rig.c.ActiveMovie1->hasEngine());
    }
}

void TestZoom::dragResizesLiveAndReleasePansBack()
{
    ZoomRig rig;
    const QSizeF viewport = rig.viewportTwips();
    rig.showPicture(QSizeF(viewport.width() + 1000, viewport.height() + 1000));
    rig.c.Picture2->HScroll1()->setValue(50);
    QCOMPARE(rig.image().left(), -500.0);
    rig.host.focusCount = 0;

    QSlider &bar = *rig.c.Zoom;
    bar.setSliderDown(true);
    bar.setSliderPosition(200);
    QCOMPARE(rig.label(), QStringLiteral("200 %"));
    QCOMPARE(rig.image().left(), -500.0);
    QCOMPARE(rig.image().width(), 2 * (viewport.width() + 1000));
    QCOMPARE(bar.value(), 100);
    QCOMPARE(rig.host.focusCount, 0);

    bar.setSliderDown(false);
    QCOMPARE(bar.value(), 200);
    QCOMPARE(rig.c.Picture2->HScroll1()->value(), 0);
    QVERIFY(rig.host.focusCount > 0);
}

void TestZoom::zoomsFromTheBaseSizeAtTheTopLeft_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<char>("command"); // a key step, or the digit of a preset button
    QTest::addColumn<int>("expected");
    QTest::newRow("= is in") << 100 << '=' << 125;
    QTest::newRow("in at 990 stops at 1000") << 990 << '+' << 1000;
    QTest::newRow("out at 40 stops at 25") << 40 << '-' << 25;
    QTest::newRow("_ is out") << 300 << '_' << 275;
    QTest::newRow("300% preset") << 100 << '5' << 300;
    // Presets never build on the previous size: 75% is 75% of the base.
    QTest::newRow("75% preset from 25%") << 25 << '2' << 75;
}

void TestZoom::zoomsFromTheBaseSizeAtTheTopLeft()
{
    QFETCH(int, start);
    QFETCH(char, command);
    QFETCH(int, expected);
    ZoomRig rig;
    rig.showPicture(QSizeF(100000, 100000));
    rig.c.Zoom->setValue(start);
    rig.c.Picture2->HScroll1()->setValue(30);
    rig.c.Picture2->VScroll1()->setValue(60);
    rig.host.focusCount = 0;
    if (command >= '0' && command <= '8')
        rig.zoom->btnZoom_Click(command - '0');
    else
        rig.zoom->zoomStep(command);
    QCOMPARE(rig.c.Zoom->value(), expected);
    QCOMPARE(rig.label(), zoomLabel(expected));
    QCOMPARE(rig.image(), QRectF(0, 0, 1000.0 * expected, 1000.0 * expected));
    QCOMPARE(rig.c.Picture2->VScroll1()->value(), 0);
    QVERIFY(rig.host.focusCount > 0);
    QVERIFY(rig.host.scriptedPrompts.records().isEmpty());
}

void TestZoom::clicksOnTheViewportGiveTheFocusBack()
{
    ZoomRig rig;
    rig.showPicture(QSizeF(1500, 1500));
    rig.window.show();
    QTest::mouseClick(rig.c.Picture2, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(rig.host.focusCount, 1);
    QTest::mouseClick(rig.c.Picture2, Qt::LeftButton, {}, QPoint(300, 200));
    QCOMPARE(rig.host.focusCount, 2);
}

void TestZoom::wholeWindowZoomsALoadedPicture()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.bmp"), encodedImage(filledImage(40, 20), "BMP"));
    frmGlintbox &w = f.load();
    w.show();
    ViewerControls &v = w.viewer();
    const QSizeF base(w.state().baseWidth, w.state().baseHeight);
    QVERIFY(!base.isEmpty());

    QTest::mouseClick(v.btnZoom[5], Qt::LeftButton);
    QCOMPARE(v.Picture2->imageRectTwips(), QRectF(QPointF(0, 0), base * 3));
    QCOMPARE(v.Text2->text(), QStringLiteral("300 %"));
    QVERIFY(w.controls().File1->hasFocus() || !QApplication::focusWidget());

    // Showing the file again puts it back at 100%.
    w.File1_Click();
    QCOMPARE(v.Zoom->value(), 100);
    QCOMPARE(v.Picture2->imageRectTwips(), QRectF(QPointF(0, 0), base));
    QVERIFY(f.prompts.records().isEmpty());
}

GLINTBOX_VIEWING_TEST_MAIN(TestZoom)
#include "tst_zoom.moc"
