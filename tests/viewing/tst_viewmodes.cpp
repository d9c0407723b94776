#include "viewing/modes/IconFrames.h"
#include "viewing/modes/SizeLevel.h"
#include "viewing/modes/ViewMode.h"

#include <QTest>

using namespace glintbox;

class TestViewModes : public QObject {
    Q_OBJECT

private slots:
    void classification();
    void sizeLevel();
    void iconFramesAreDistinctAndCycle();
};

void TestViewModes::classification()
{
    // The extension, the mode, and whether it is a web page or rich text.
    using Kind = std::tuple<QString, ViewMode, bool, bool>;
    const auto kind = [](const char *name) {
        const QString ext = fileExtOf(QString::fromUtf8(name));
        return Kind(ext, classifyViewMode(ext), isHtmlExt(ext), isRichTextExt(ext));
    };
    // Only the last three characters count, in any case.
    QCOMPARE(kind("README"), Kind("DME", ViewMode::Text, false, false));
    QCOMPARE(kind("ab"), Kind("ab", ViewMode::Text, false, false));
    QCOMPARE(kind("A.BMP"), Kind("BMP", ViewMode::Image, false, false));
    QCOMPARE(kind("x.Cur"), Kind("Cur", ViewMode::Image, false, false));
    QCOMPARE(kind("scan.dib"), Kind("dib", ViewMode::Image, false, false));
    // The movie list is tested first.
    QCOMPARE(kind("photo.jpeg"), Kind("peg", ViewMode::Movie, false, false));
    QCOMPARE(kind("clip.qt"), Kind(".qt", ViewMode::Movie, false, false));
    QCOMPARE(kind("tune.rmi"), Kind("rmi", ViewMode::Movie, false, false));
    QCOMPARE(kind("COMMAND.COM"), Kind("COM", ViewMode::Launcher, false, false));
    QCOMPARE(kind("page.HTM"), Kind("HTM", ViewMode::Text, true, false));
    QCOMPARE(kind("pagehtml"), Kind("tml", ViewMode::Text, true, false));
    QCOMPARE(kind("LETTER.RTF"), Kind("RTF", ViewMode::Text, false, true));
}

void TestViewModes::sizeLevel()
{
    const double max = 20480000;
    QCOMPARE(glintbox::sizeLevel(max / 2, max), 5);
    QCOMPARE(glintbox::sizeLevel(max / 4, max), 2);     // 2.5 to even
    QCOMPARE(glintbox::sizeLevel(max * 3 / 4, max), 8); // 7.5 to even
    QCOMPARE(glintbox::sizeLevel(5, 100), 0);
    QCOMPARE(glintbox::sizeLevel(524288, 524288), 10);
    QCOMPARE(glintbox::sizeLevel(max * 1.5, max), 10);
    QCOMPARE(glintbox::sizeLevel(1e300, 1e-300), 10);
    QCOMPARE(glintbox::sizeLevel(1, 0), 10);
    QCOMPARE(glintbox::sizeLevel(0, 0), 0);
    QCOMPARE(glintbox::sizeLevel(10, -5120), 0);
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
