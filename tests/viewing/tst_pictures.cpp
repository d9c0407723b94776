#include "Corpus.h"
#include "core/RunTimeError.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/pictures/PictureLoader.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <ctime>

using namespace glintbox;

namespace {

// Every picture in these tests is measured at 96 DPI: 15 twips a pixel.
constexpr double Dpi = 96;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QSize pixelSize(const Picture &picture)
{
    return (picture.naturalSizeTwips(Dpi) / 15).toSize();
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The number of the RunTimeError the loader throws, or 0 when it loads.
int loadError(const QByteArray &bytes)
{
    try {
        loadPicture(bytes);
        return 0;
    } catch (const RunTimeError &error) {
        return error.number();
    }
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void corpusLoadsOrRefusesQuickly_data();
    void corpusLoadsOrRefusesQuickly();
    void wellFormedBitmapsLoad();
    void dibNamedBitmapLoads();
    void kindComesFromContent_data();
    void kindComesFromContent();
    void iconShowsLargestImage_data();
    void iconShowsLargestImage();
    void photoTurnedUpright();
    void largePhotoLoads();
    void gigantDeclaredSizeRefused();

    void viewportShowsNaturalSizeAtTopLeft();
    void viewportPaintsStretchedRectangle();
    void clearPictureLeavesBackground();
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
    const QByteArray bytes = readAll(path);
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
        QVERIFY(!picture.isNull());
        QVERIFY(!picture.naturalSizeTwips(Dpi).isEmpty());
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), int(InvalidPicture));
    }
    // Generous for a debug build: no corpus file is over 2 MB.
    const qint64 spent = cpuMs() - start;
    QVERIFY2(spent < 3000, qPrintable(QString::number(spent)));
}

void TestPictures::wellFormedBitmapsLoad()
{
    const QStringList files = corpusFiles("bmp/good");
    QVERIFY(!files.isEmpty());
    for (const QString &path : files)
        QVERIFY2(loadError(readAll(path)) == 0, qPrintable(path));
}

void TestPictures::dibNamedBitmapLoads()
{
    QTemporaryDir folder;
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = folder.filePath("scan.dib");
    QVERIFY(image.save(path, "BMP"));

    const Picture picture = loadPicture(readAll(path));
    QCOMPARE(pixelSize(picture), QSize(7, 5));
}

void TestPictures::kindComesFromContent_data()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::newRow("bmp") << encoded(image, "BMP") << 0;
    QTest::newRow("jpeg") << encoded(image, "JPEG") << 0;
    // Qt writes no GIF: a one-pixel GIF89a by hand.
    QTest::newRow("gif") << QByteArray("GIF89a\1\0\1\0\x80\0\0\xff\0\0\0\0\0"
                                       ",\0\0\0\0\1\0\1\0\0\2\2D\1\0;",
                                       35)
                         << 0;
    QTest::newRow("ico") << encoded(image, "ICO") << 0;
    // Formats outside the viewer's list are refused even though Qt reads them.
    QTest::newRow("png") << encoded(image, "PNG") << int(InvalidPicture);
    QTest::newRow("empty") << QByteArray() << int(InvalidPicture);
    QTest::newRow("text") << QByteArray("Hello, world\r\n") << int(InvalidPicture);
    QTest::newRow("bmp header only") << QByteArray("BM\0\0\0\0", 6) << int(InvalidPicture);
}

void TestPictures::kindComesFromContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QCOMPARE(loadError(bytes), error);
}

void TestPictures::iconShowsLargestImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("largest last") << "python.ico" << QSize(48, 48);
    QTest::newRow("largest in the middle, compressed") << "colors.ico" << QSize(256, 256);
    QTest::newRow("largest first") << "pillow.ico" << QSize(256, 256);
    QTest::newRow("cursor") << "deerstalker.cur" << QSize(32, 32);
}

void TestPictures::iconShowsLargestImage()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const Picture picture = loadPicture(readAll(corpusFolder() + "/ico/" + name));
    QCOMPARE(pixelSize(picture), size);
}

void TestPictures::photoTurnedUpright()
{
    const QString folder = corpusFolder() + "/jpeg/";
    const QSize upright = pixelSize(loadPicture(readAll(folder + "Landscape_1.jpg")));
    const QSize turned = pixelSize(loadPicture(readAll(folder + "Landscape_6.jpg")));
    QVERIFY(upright.width() > upright.height());
    QCOMPARE(turned, upright);
}

void TestPictures::largePhotoLoads()
{
    QImage photo(8000, 6000, QImage::Format_RGB32);
    photo.fill(QColor(10, 120, 200));
    const Picture picture = loadPicture(encoded(photo, "JPEG"));
    QCOMPARE(pixelSize(picture), QSize(8000, 6000));
}

void TestPictures::gigantDeclaredSizeRefused()
{
    // A 60-byte bitmap claiming 40000 x 40000 pixels: refused before any
    // memory for it is taken.
    QByteArray bytes = encoded(QImage(1, 1, QImage::Format_RGB32), "BMP");
    qToLittleEndian<qint32>(40000, bytes.data() + 18);
    qToLittleEndian<qint32>(40000, bytes.data() + 22);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(loadError(bytes), int(InvalidPicture));
    QVERIFY(clock.elapsed() < 1000);
}

void TestPictures::viewportShowsNaturalSizeAtTopLeft()
{
    ImageViewport viewport;
    viewport.resize(200, 150);
    QCOMPARE(viewport.HScroll1()->maximum(), 100);
    QCOMPARE(viewport.VScroll1()->minimum(), 0);
    viewport.HScroll1()->setValue(40);

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    viewport.setPicture(Picture::fromImage(image));
    const double twipsPerPixel = 1440 / viewport.logicalDpi();
    QCOMPARE(viewport.imageRectTwips(), QRectF(0, 0, 20 * twipsPerPixel, 10 * twipsPerPixel));
    QCOMPARE(viewport.HScroll1()->value(), 0);

    const QImage shown = viewport.grab().toImage();
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::yellow));
    QCOMPARE(shown.pixelColor(19, 9), QColor(Qt::yellow));
    QCOMPARE(shown.pixelColor(20, 9), QColor(0x80, 0x80, 0x80));
    QCOMPARE(shown.pixelColor(19, 10), QColor(0x80, 0x80, 0x80));
}

void TestPictures::viewportPaintsStretchedRectangle()
{
    ImageViewport viewport;
    viewport.resize(200, 150);
    viewport.setBackColour(0x0000FF); // red in 0x00BBGGRR
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixelColor(0, 0, Qt::green);
    image.setPixelColor(1, 0, Qt::blue);
    viewport.setPicture(Picture::fromImage(image));
    // Ten times enlarged and moved left, as a zoom and pan would place it.
    const double twipsPerPixel = 1440 / viewport.logicalDpi();
    viewport.setImageRectTwips(
        QRectF(-5 * twipsPerPixel, 0, 20 * twipsPerPixel, 10 * twipsPerPixel));

    // Enlargement is smooth, so the two colours blend towards the middle; the
    // picture's left half is cut off by the pan and it ends at pixel 15.
    const QImage shown = viewport.grab().toImage();
    const auto mostlyGreen = [&](int x) {
        const QColor c = shown.pixelColor(x, 5);
        return c.green() > 2 * c.blue() && c.red() == 0;
    };
    const auto mostlyBlue = [&](int x) {
        const QColor c = shown.pixelColor(x, 5);
        return c.blue() > 2 * c.green() && c.red() == 0;
    };
    QVERIFY(mostlyGreen(0));
    QVERIFY(mostlyBlue(14));
    QCOMPARE(shown.pixelColor(15, 5), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(40, 5), QColor(Qt::red));
}

void TestPictures::clearPictureLeavesBackground()
{
    ImageViewport viewport;
    viewport.resize(100, 100);
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    viewport.setPicture(Picture::fromImage(image));
    viewport.clearPicture();
    QVERIFY(viewport.picture().isNull());
    QCOMPARE(viewport.grab().toImage().pixelColor(10, 10), QColor(0x80, 0x80, 0x80));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
