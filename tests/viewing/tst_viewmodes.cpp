#include "viewing/modes/IconFrames.h"
#include "viewing/modes/SizeLevel.h"
#include "viewing/modes/ViewMode.h"

#include <QTest>

using namespace glintbox;

Q_DECLARE_METATYPE(glintbox::ViewMode)

class TestViewModes : public QObject {
    Q_OBJECT

private slots:
    void classification_data();
    void classification();
    void sizeLevel_data();
    void sizeLevel();
    void iconFramesAreDistinctAndCycle();
};

void TestViewModes::classification_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fileExt");
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<bool>("html");
    QTest::addColumn<bool>("richText");

    const auto row = [](const char *name, const char *ext, ViewMode mode, bool html = false,
                        bool rich = false) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(ext) << mode << html
                            << rich;
    };
    // Only the last three characters count, in any case.
    row("README", "DME", ViewMode::Text);
    row("ab", "ab", ViewMode::Text);
    row("A.BMP", "BMP", ViewMode::Image);
    row("x.Cur", "Cur", ViewMode::Image);
    row("scan.dib", "dib", ViewMode::Image);
    // The movie list is tested first.
    row("photo.jpeg", "peg", ViewMode::Movie);
    row("clip.qt", ".qt", ViewMode::Movie);
    row("tune.rmi", "rmi", ViewMode::Movie);
    row("COMMAND.COM", "COM", ViewMode::Launcher);
    row("page.HTM", "HTM", ViewMode::Text, true);
    row("pagehtml", "tml", ViewMode::Text, true);
    row("LETTER.RTF", "RTF", ViewMode::Text, false, true);
}

void TestViewModes::classification()
{
    QFETCH(QString, fileName);
    QFETCH(QString, fileExt);
    QFETCH(ViewMode, mode);
    QFETCH(bool, html);
    QFETCH(bool, richText);

    QCOMPARE(fileExtOf(fileName), fileExt);
    QCOMPARE(classifyViewMode(fileExt), mode);
    QCOMPARE(isHtmlExt(fileExt), html);
    QCOMPARE(isRichTextExt(fileExt), richText);
}

void TestViewModes::sizeLevel_data()
{
    QTest::addColumn<double>("fileSize");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("level");

    const double max = 20480000;
    QTest::newRow("half") << max / 2 << max << 5;
    QTest::newRow("quarter: 2.5 to even") << max / 4 << max << 2;
    QTest::newRow("three quarters: 7.5 to even") << max * 3 / 4 << max << 8;
    QTest::newRow("0.5 to even") << 5.0 << 100.0 << 0;
    QTest::newRow("at maximum") << 524288.0 << 524288.0 << 10;
    QTest::newRow("one and a half") << max * 1.5 << max << 10;
    QTest::newRow("huge ratio") << 1e300 << 1e-300 << 10;
    QTest::newRow("maximum 0") << 1.0 << 0.0 << 10;
    QTest::newRow("empty, maximum 0") << 0.0 << 0.0 << 0;
    QTest::newRow("negative maximum") << 10.0 << -5120.0 << 0;
}

void TestViewModes::sizeLevel()
{
    QFETCH(double, fileSize);
    QFETCH(double, maximum);
    QFETCH(int, level);
    QCOMPARE(glintbox::sizeLevel(fileSize, maximum), level);
}

void TestViewModes::iconFramesAreDistinctAndCycle()
{
    QCOMPARE(nextIconFrame(IconFrameCount - 1), 0);
    QImage previous;
    for (int i = 0; i < IconFrameCount; ++i) {
        const QImage image = iconFrame(i).pixmap(32, 32).toImage();
        QVERIFY(qAlpha(image.pixel(12, 20)) == 255); // the box's front face
        QVERIFY2(image != previous, "each frame must differ from the one before");
        previous = image;
    }
}

QTEST_MAIN(TestViewModes)
#include "tst_viewmodes.moc"
