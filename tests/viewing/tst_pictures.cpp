#include "Corpus.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "core/RunTimeError.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/pictures/PictureLoader.h"

#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QtEndian>

#include <ctime>

using namespace glintbox;

namespace {

// Every picture in these tests is measured at 96 DPI: 15 twips a pixel.
constexpr double Dpi = 96;

QSize pixelSize(const Picture &picture)
{
    return (picture.naturalSizeTwips(Dpi) / 15).toSize();
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void corpusLoadsOrRefusesQuickly_data();
    void corpusLoadsOrRefusesQuickly();
    void loadsByContent_data();
    void loadsByContent();

    void viewportPlacesAndPaintsThePicture();
};

void TestPictures::corpusLoadsOrRefusesQuickly_data()
{
    QTest::addColumn<QString>("path");
    for (const char *folder : {"bmp", "gif", "jpeg", "ico"}) {
        const QStringList files = corpusFiles(QString::fromLatin1(folder));
        QVERIFY2(!files.isEmpty(), folder);
        for (const QString &path : files)
            QTest::newRow(qPrintable(path.section('/', -2))) << path;
    }
}

void TestPictures::corpusLoadsOrRefusesQuickly()
{
    QFETCH(QString, path);
    const QByteArray bytes = readFile(path);
    // CPU time of this thread, not wall time: other work on a busy machine
    // must not fail the test, a reader that spins must.
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    };
    const qint64 start = cpuMs();
    try {
        const Picture picture = loadPicture(bytes);
        QVERIFY(!picture.isNull() && !picture.naturalSizeTwips(Dpi).isEmpty());
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), int(InvalidPicture));
        // Well-formed bitmaps always load.
        QVERIFY(!path.contains(u"/bmp/good/"));
    }
    // Generous for a debug build: no corpus file is over 2 MB.
    const qint64 spent = cpuMs() - start;
    QVERIFY2(spent < 3000, qPrintable(QString::number(spent)));
}

void TestPictures::loadsByContent_data()
{
    const QImage image = filledImage(4, 3);
    const QString corpus = corpusFolder();
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size"); // none: refused as an invalid picture
    QTest::newRow("bmp") << encodedImage(image, "BMP") << QSize(4, 3);
    QTest::newRow("jpeg") << encodedImage(image, "JPEG") << QSize(4, 3);
    // Qt writes no GIF: a one-pixel GIF89a by hand.
    QTest::newRow("gif") << QByteArray("GIF89a\1\0\1\0\x80\0\0\xff\0\0\0\0\0"
                                       ",\0\0\0\0\1\0\1\0\0\2\2D\1\0;",
                                       35)
                         << QSize(1, 1);
    QTest::newRow("large photo") << encodedImage(filledImage(8000, 6000), "JPEG")
                                 << QSize(8000, 6000);
    QTest::newRow("photo turned upright")
        << readFile(corpus + "/jpeg/Landscape_6.jpg") << QSize(1800, 1200);
    // An icon or cursor shows its largest image.
    QTest::newRow("largest last") << readFile(corpus + "/ico/python.ico") << QSize(48, 48);
    QTest::newRow("largest in the middle, compressed")
        << readFile(corpus + "/ico/colors.ico") << QSize(256, 256);
    QTest::newRow("largest first") << readFile(corpus + "/ico/pillow.ico") << QSize(256, 256);
    QTest::newRow("cursor") << readFile(corpus + "/ico/deerstalker.cur") << QSize(32, 32);
    // Formats outside the viewer's list are refused even though Qt reads them.
    QTest::newRow("png") << encodedImage(image, "PNG") << QSize();
    QTest::newRow("empty") << QByteArray() << QSize();
    QTest::newRow("bmp header only") << QByteArray("BM\0\0\0\0", 6) << QSize();
    // A 60-byte bitmap claiming 40000 x 40000 pixels: refused before any
    // memory for it is taken.
    QByteArray giant = encodedImage(filledImage(1, 1), "BMP");
    qToLittleEndian<qint32>(40000, giant.data() + 18);
    qToLittleEndian<qint32>(40000, giant.data() + 22);
    QTest::newRow("giant declared size") << giant << QSize();
}

void TestPictures::loadsByContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    if (size.isValid())
        QCOMPARE(pixelSize(loadPicture(bytes)), size);
    else
        QVERIFY_THROWS_EXCEPTION(RunTimeError, loadPicture(bytes));
}

void TestPictures::viewportPlacesAndPaintsThePicture()
{
    ImageViewport viewport;
    viewport.resize(200, 150);
    viewport.HScroll1()->setValue(40);
    const double twipsPerPixel = 1440 / viewport.logicalDpi();
    // A new picture shows at its natural size at the top left.
    viewport.setPicture(Picture::fromImage(filledImage(20, 10, Qt::yellow)));
    QCOMPARE(viewport.imageRectTwips(), QRectF(0, 0, 20 * twipsPerPixel, 10 * twipsPerPixel));
    QCOMPARE(viewport.HScroll1()->value(), 0);
    QImage shown = viewport.grab().toImage();
    QCOMPARE(shown.pixelColor(19, 9), QColor(Qt::yellow));
    QCOMPARE(shown.pixelColor(20, 9), QColor(0x80, 0x80, 0x80));
    QCOMPARE(shown.pixelColor(19, 10), QColor(0x80, 0x80, 0x80));

    viewport.setBackColour(0x0000FF); // red in 0x00BBGGRR
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixelColor(0, 0, Qt::green);
    image.setPixelColor(1, 0, Qt::blue);
    viewport.setPicture(Picture::fromImage(image));
    // Ten times enlarged and moved left, as a zoom and pan would place it.
    viewport.setImageRectTwips(
        QRectF(-5 * twipsPerPixel, 0, 20 * twipsPerPixel, 10 * twipsPerPixel));
    // Enlargement is smooth, so the two colours blend towards the middle; the
    // picture's left half is cut off by the pan and it ends at pixel 15.
    shown = viewport.grab().toImage();
    const QColor left = shown.pixelColor(0, 5);
    const QColor right = shown.pixelColor(14, 5);
    QVERIFY(left.green() > 2 * left.blue() && left.red() == 0);
    QVERIFY(right.blue() > 2 * right.green() && right.red() == 0);
    QCOMPARE(shown.pixelColor(15, 5), QColor(Qt::red));

    // Cleared, only the background is left.
    viewport.clearPicture();
    QCOMPARE(viewport.grab().toImage().pixelColor(10, 5), QColor(Qt::red));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
