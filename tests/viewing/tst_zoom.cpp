#include "../shell/ShellFixture.h"
#include "FakeDisplayHost.h"
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
#include <QBuffer>
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
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        c.Picture2->setPicture(Picture::fromImage(image));
        c.Picture2->setImageRectTwips(QRectF(QPointF(0, 0), baseTwips));
    }

    QSizeF viewportTwips() const { return c.Picture2->sizeTwips(); }
    QRectF image() const { return c.Picture2->imageRectTwips(); }
    QString label() const { return c.Text2->text(); }
};

const QString RefusalText = QStringLiteral("Sorry, Glintbox must be in Image or Movie mode");

} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    void panStep_data();
    void panStep();
    void keySteps_data();
    void keySteps();
    void presetsCaptionsAndToolTips();

    void presetZoomsFromTheBaseSizeAtTheTopLeft();
    void panMovesByWholeSteps_data();
    void panMovesByWholeSteps();
    void refusedOutsideImageAndMovie_data();
    void refusedOutsideImageAndMovie();
    void movieModeSetsWindowSizeAndKeeps100_data();
    void movieModeSetsWindowSizeAndKeeps100();
    void dragResizesLiveAndReleasePansBack();
    void keyStepPansBackEvenAtTheLimits_data();
    void keyStepPansBackEvenAtTheLimits();
    void clicksOnTheViewportGiveTheFocusBack();
    void wholeWindowZoomsALoadedPicture();
};

void TestZoom::panStep_data()
{
    QTest::addColumn<double>("picture");
    QTest::addColumn<double>("viewport");
    QTest::addColumn<int>("step");
    QTest::newRow("1000 wider") << 7000.0 << 6000.0 << 10;
    QTest::newRow("1000 narrower") << 5000.0 << 6000.0 << -10;
    QTest::newRow("2.5 to even below") << 6250.0 << 6000.0 << 2;
    QTest::newRow("3.5 to even above") << 6350.0 << 6000.0 << 4;
    QTest::newRow("-2.5 to even") << 5750.0 << 6000.0 << -2;
    QTest::newRow("0.5 to zero") << 6050.0 << 6000.0 << 0;
    QTest::newRow("1.5 to two") << 6150.0 << 6000.0 << 2;
    QTest::newRow("same size") << 6000.0 << 6000.0 << 0;
    // Extents are whole twips before the subtraction: 6249.5 is 6250 less
    // 6000, 2.5, which goes down to 2; 6250.5 is 6250 too.
    QTest::newRow("half twip to even") << 6249.5 << 6000.0 << 2;
    QTest::newRow("unrounded zoom width") << 6266.67 << 6000.0 << 3;
    QTest::newRow("very large picture") << 600000.0 << 6000.0 << 5940;
}

void TestZoom::panStep()
{
    QFETCH(double, picture);
    QFETCH(double, viewport);
    QFETCH(int, step);
    QCOMPARE(glintbox::panStep(picture, viewport), step);
}

void TestZoom::keySteps_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("plus") << 100 << int('+') << 125;
    QTest::newRow("equals is plus") << 100 << int('=') << 125;
    QTest::newRow("minus") << 100 << int('-') << 75;
    QTest::newRow("underscore is minus") << 100 << int('_') << 75;
    QTest::newRow("plus at 1000") << 1000 << int('+') << 1000;
    QTest::newRow("plus at 990 stops at 1000") << 990 << int('+') << 1000;
    QTest::newRow("minus at 25") << 25 << int('-') << 25;
    QTest::newRow("minus at 26 stops at 25") << 26 << int('-') << 25;
    QTest::newRow("minus at 40 stops at 25") << 40 << int('-') << 25;
    QTest::newRow("minus at 50") << 50 << int('-') << 25;
    QTest::newRow("other key") << 100 << int('a') << 100;
}

void TestZoom::keySteps()
{
    QFETCH(int, zoom);
    QFETCH(int, key);
    QFETCH(int, expected);
    QCOMPARE(zoomAfterKey(zoom, zoomKeyOf(key)), expected);
}

void TestZoom::presetsCaptionsAndToolTips()
{
    ZoomRig rig;
    QStringList captions;
    for (QAbstractButton *button : rig.c.btnZoom)
        captions.append(button->text());
    QCOMPARE(captions,
             QStringList({"25%", "50%", "75%", "100%", "200%", "300%", "400%", "500%", "1000%"}));
    QCOMPARE(rig.c.btnZoom[0]->toolTip(), QStringLiteral("25% Zoom - Image Only"));
    QCOMPARE(rig.c.btnZoom[6]->toolTip(), QStringLiteral("400% Zoom - Image and Movie"));
    QCOMPARE(rig.c.btnZoom[8]->objectName(), QStringLiteral("btnZoom8"));
    QSlider &bar = *rig.c.Zoom;
    QCOMPARE(bar.minimum(), 25);
    QCOMPARE(bar.maximum(), 1000);
    QCOMPARE(bar.singleStep(), 5);
    QCOMPARE(bar.pageStep(), 50);
    QCOMPARE(bar.value(), 100);
    QCOMPARE(bar.toolTip(), QStringLiteral("Zoom Control"));
    QCOMPARE(rig.label(), QStringLiteral("100 %"));
}

void TestZoom::presetZoomsFromTheBaseSizeAtTheTopLeft()
{
    ZoomRig rig;
    rig.showPicture(QSizeF(200, 100));
    rig.c.Picture2->HScroll1()->setValue(40);
    rig.host.focusCount = 0;
    rig.zoom->btnZoom_Click(5);
    QCOMPARE(rig.image(), QRectF(0, 0, 600, 300));
    QCOMPARE(rig.c.Picture2->HScroll1()->value(), 0);
    QCOMPARE(rig.c.Picture2->VScroll1()->value(), 0);
    QCOMPARE(rig.label(), QStringLiteral("300 %"));
    QCOMPARE(rig.c.Zoom->value(), 300);
    QVERIFY(rig.host.focusCount > 0);
    QVERIFY(rig.host.scriptedPrompts.records().isEmpty());

    // Zooms never build on the previous size: 25% then 75% is 75% of the base.
    rig.zoom->btnZoom_Click(0);
    rig.zoom->btnZoom_Click(2);
    QCOMPARE(rig.image(), QRectF(0, 0, 150, 75));
}

void TestZoom::panMovesByWholeSteps_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<double>("overflow");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("edge");
    QTest::newRow("wider at 37") << Qt::Horizontal << 1000.0 << 37 << -370.0;
    QTest::newRow("wider at 100") << Qt::Horizontal << 1000.0 << 100 << -1000.0;
    QTest::newRow("narrower moves right") << Qt::Horizontal << -1000.0 << 37 << 370.0;
    QTest::newRow("taller at 50") << Qt::Vertical << 2000.0 << 50 << -1000.0;
    QTest::newRow("lower moves down") << Qt::Vertical << -500.0 << 100 << 500.0;
}

void TestZoom::panMovesByWholeSteps()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(double, overflow);
    QFETCH(int, value);
    QFETCH(double, edge);
    ZoomRig rig;
    const QSizeF viewport = rig.viewportTwips();
    const QSizeF base = orientation == Qt::Horizontal ? QSizeF(viewport.width() + overflow, 500)
                                                      : QSizeF(500, viewport.height() + overflow);
    rig.showPicture(base);
    rig.host.focusCount = 0;
    QScrollBar *bar =
        orientation == Qt::Horizontal ? rig.c.Picture2->HScroll1() : rig.c.Picture2->VScroll1();
    bar->setValue(value);
    const QRectF image = rig.image();
    QCOMPARE(orientation == Qt::Horizontal ? image.left() : image.top(), edge);
    QCOMPARE(orientation == Qt::Horizontal ? image.top() : image.left(), 0.0);
    QCOMPARE(image.size(), base);
    QCOMPARE(rig.host.focusCount, 1);
}

void TestZoom::refusedOutsideImageAndMovie_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::newRow("text") << ViewMode::Text;
    QTest::newRow("launcher") << ViewMode::Launcher;
}

void TestZoom::refusedOutsideImageAndMovie()
{
    QFETCH(ViewMode, mode);
    ZoomRig rig;
    rig.showPicture(QSizeF(200, 100), mode);
    rig.zoom->btnZoom_Click(4);
    QCOMPARE(rig.host.scriptedPrompts.texts(), QStringList({RefusalText}));
    const ScriptedPrompts::Record record = rig.host.scriptedPrompts.records().first();
    QCOMPARE(record.caption, QStringLiteral("Glintbox - Zoom"));
    QCOMPARE(record.icon, PromptIcon::Information);
    QCOMPARE(rig.label(), QStringLiteral("100 %"));
    QCOMPARE(rig.c.Zoom->value(), 100);
    QCOMPARE(rig.image(), QRectF(0, 0, 200, 100));

    // The key step gives the same message and changes nothing else.
    rig.host.scriptedPrompts.clear();
    rig.zoom->zoomStep('+');
    QCOMPARE(rig.host.scriptedPrompts.texts(), QStringList({RefusalText}));
    QCOMPARE(rig.c.Zoom->value(), 100);

    // The bar snaps back without a message.
    rig.host.scriptedPrompts.clear();
    rig.c.Zoom->setValue(400);
    QCOMPARE(rig.c.Zoom->value(), 100);
    QVERIFY(rig.host.scriptedPrompts.records().isEmpty());
}

void TestZoom::movieModeSetsWindowSizeAndKeeps100_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<MovieWindowSize>("size");
    QTest::newRow("25% leaves it") << 0 << MovieWindowSize::QuarterScreen;
    QTest::newRow("100% own size") << 3 << MovieWindowSize::Own;
    QTest::newRow("200% double") << 4 << MovieWindowSize::Double;
    QTest::newRow("300% quarter screen") << 5 << MovieWindowSize::QuarterScreen;
    QTest::newRow("400% half screen") << 6 << MovieWindowSize::HalfScreen;
    QTest::newRow("500% leaves it") << 7 << MovieWindowSize::QuarterScreen;
    QTest::newRow("1000% leaves it") << 8 << MovieWindowSize::QuarterScreen;
}

void TestZoom::movieModeSetsWindowSizeAndKeeps100()
{
    QFETCH(int, index);
    QFETCH(MovieWindowSize, size);
    ZoomRig rig;
    rig.state.ViewMode = ViewMode::Movie;
    rig.c.ActiveMovie1->setMovieWindowSize(MovieWindowSize::QuarterScreen);
    rig.zoom->btnZoom_Click(index);
    QCOMPARE(rig.c.ActiveMovie1->movieWindowSize(), size);
    QCOMPARE(rig.c.Zoom->value(), 100);
    QCOMPARE(rig.label(), QStringLiteral("100 %"));
    QVERIFY(rig.host.scriptedPrompts.records().isEmpty());
    // No player engine is started by a zoom.
    QVERIFY(!rig.c.ActiveMovie1->hasEngine());
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
    QCOMPARE(rig.c.Picture2->HScroll1()->value(), 50);
    QCOMPARE(bar.value(), 100);
    QCOMPARE(rig.host.focusCount, 0);

    bar.setSliderDown(false);
    QCOMPARE(bar.value(), 200);
    QCOMPARE(rig.image().topLeft(), QPointF(0, 0));
    QCOMPARE(rig.c.Picture2->HScroll1()->value(), 0);
    QVERIFY(rig.host.focusCount > 0);
}

void TestZoom::keyStepPansBackEvenAtTheLimits_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("in") << 100 << int('+') << 125;
    QTest::newRow("in at 1000") << 1000 << int('+') << 1000;
    QTest::newRow("out at 25") << 25 << int('-') << 25;
    QTest::newRow("out") << 300 << int('_') << 275;
}

void TestZoom::keyStepPansBackEvenAtTheLimits()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    ZoomRig rig;
    rig.showPicture(QSizeF(100000, 100000));
    rig.c.Zoom->setValue(start);
    rig.c.Picture2->HScroll1()->setValue(30);
    rig.c.Picture2->VScroll1()->setValue(60);
    QVERIFY(rig.image().left() < 0 && rig.image().top() < 0);
    rig.host.focusCount = 0;
    rig.zoom->zoomStep(key);
    QCOMPARE(rig.c.Zoom->value(), expected);
    QCOMPARE(rig.label(), zoomLabel(expected));
    QCOMPARE(rig.image(), QRectF(0, 0, 1000.0 * expected, 1000.0 * expected));
    QCOMPARE(rig.c.Picture2->HScroll1()->value(), 0);
    QCOMPARE(rig.c.Picture2->VScroll1()->value(), 0);
    QVERIFY(rig.host.focusCount > 0);
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
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer bmp;
    bmp.open(QIODevice::WriteOnly);
    image.save(&bmp, "BMP");
    f.makeFile(QStringLiteral("a.bmp"), bmp.data());
    frmGlintbox &w = f.load();
    w.show();
    ViewerControls &v = w.viewer();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(v.btnZoom[5]->isEnabled());
    const QSizeF base(w.state().baseWidth, w.state().baseHeight);
    QVERIFY(!base.isEmpty());

    v.btnZoom[5]->click();
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
