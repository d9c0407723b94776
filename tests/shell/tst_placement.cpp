#include "ShellFixture.h"
#include "shell/layout/WindowPlacement.h"

using namespace glintbox;

namespace {

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

// Whole pixels at 96 dpi: 200, 100, 667 x 467.
const QRectF StoredTwips(3000, 1500, 10005, 7005);
const QRect StoredPixels(200, 100, 667, 467);
const QMargins Frame(1, 20, 1, 5);

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT

private slots:
    void windowLiesInsideTheFrameOnceTold_data();
    void windowLiesInsideTheFrameOnceTold();
    void mainWindowComesBackWhereItWasClosed_data();
    void mainWindowComesBackWhereItWasClosed();
};

void TestPlacement::windowLiesInsideTheFrameOnceTold_data()
{
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QString>("told"); // before placing, after, or while maximised
    QTest::newRow("no frame") << QMargins() << "before";
    QTest::newRow("told before placing") << Frame << "before";
    QTest::newRow("told after placing") << Frame << "after";
    QTest::newRow("uneven frame told after placing") << QMargins(4, 30, 6, 8) << "after";
    QTest::newRow("told while maximised") << Frame << "maximised";
}

void TestPlacement::windowLiesInsideTheFrameOnceTold()
{
    QFETCH(QMargins, frame);
    QFETCH(QString, told);
    QWidget window;
    auto owned = std::make_unique<ToldFrame>();
    ToldFrame &windowManager = *owned;
    auto *placement = new WindowPlacement(window, std::move(owned));
    if (told == u"before")
        windowManager.tell(frame);
    placement->place(StoredTwips);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (told != u"before") {
        // Until then the window stands where a frameless one would, and
        // counts as placed where it was asked.
        QCOMPARE(window.geometry(), StoredPixels);
        QCOMPARE(placement->outerTwips(), StoredTwips);
        if (told == u"maximised") {
            window.setWindowState(Qt::WindowMaximized);
            QTRY_VERIFY(window.isMaximized() && window.geometry() != StoredPixels);
        }
        const QRect before = window.geometry();
        windowManager.tell(frame);
        if (told == u"maximised") {
            // A maximised window stays as it is; restored, it takes the place
            // in the frame told after the restore.
            QCOMPARE(window.geometry(), before);
            QCOMPARE(placement->outerSize(), before.size().grownBy(frame));
            window.setWindowState(Qt::WindowNoState);
            QTRY_COMPARE(window.geometry(), StoredPixels);
            windowManager.tell(frame);
        }
    }
    QTRY_COMPARE(window.geometry(), StoredPixels.marginsRemoved(frame));
    QCOMPARE(placement->outerTwips(), StoredTwips);
    QCOMPARE(placement->outerSize(), StoredPixels.size());
}

void TestPlacement::mainWindowComesBackWhereItWasClosed_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("toldBeforeShown");
    for (const bool stored : {false, true})
        for (const bool before : {false, true})
            QTest::addRow("%s, frame told %s", stored ? "stored placement" : "first start",
                          before ? "before shown" : "once shown")
                << stored << before;
}

// Closed and opened again, run after run, the main window keeps its outer
// size and place: the frame is neither added to the window nor lost.
void TestPlacement::mainWindowComesBackWhereItWasClosed()
{
    QFETCH(bool, stored);
    QFETCH(bool, toldBeforeShown);
    ShellFixture f;
    if (stored) {
        f.storeSetting("Left", "3000");
        f.storeSetting("Top", "1500");
        f.storeSetting("Width", "10005");
        f.storeSetting("Height", "7005");
    }
    // The default 9000 x 6500 twips is 600 x 433 whole pixels.
    const QSize outer = stored ? StoredPixels.size() : QSize(600, 433);
    QRectF first;
    for (int run = 0; run < 3; ++run) {
        frmGlintbox &w = f.open();
        auto owned = std::make_unique<ToldFrame>();
        ToldFrame &windowManager = *owned;
        w.windowPlacement().setFrame(std::move(owned));
        if (toldBeforeShown)
            windowManager.tell(Frame);
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (!toldBeforeShown)
            windowManager.tell(Frame);
        QTRY_COMPARE_WITH_TIMEOUT(w.size(), outer.shrunkBy(Frame), 10000);
        f.closeAndReload();
        const QRectF kept(f.storedSetting("Left").toDouble(), f.storedSetting("Top").toDouble(),
                          f.storedSetting("Width").toDouble(),
                          f.storedSetting("Height").toDouble());
        if (run == 0)
            first = kept;
        QCOMPARE(kept, first);
    }
    if (stored)
        QCOMPARE(first, StoredTwips);
    else
        QCOMPARE(first.size(), QSizeF(9000, 6495));
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
