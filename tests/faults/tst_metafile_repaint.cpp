// A picture keeps the fonts and shaped glyphs of one drawing for the next: a
// repaint, a new zoom or a device of another resolution must still draw what
// a freshly read picture draws there.
#include "Corpus.h"
#include "TestFiles.h"
#include "formats/metafile/Metafile.h"

#include <QPainter>
#include <QTest>

using namespace glintbox;

namespace {

QImage drawn(const Metafile &picture, QSize pixels, int dpi)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.render(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

} // namespace

class TestMetafileRepaint : public QObject {
    Q_OBJECT
private slots:
    void laterDrawingsMatchAFreshPicture_data()
    {
        QTest::addColumn<QString>("file");
        // Text in fonts with advances, in a symbol font, in the other record language.
        for (const char *name : {"emf/rtfjs-image-2.emf", "wmf/symbol-font-tables.wmf",
                                 "emf/SimpleEMF_windows.emf", "emf/test-182.emf"})
            QTest::newRow(name) << corpusFolder() + QLatin1Char('/') + QLatin1String(name);
    }
    void laterDrawingsMatchAFreshPicture()
    {
        QFETCH(QString, file);
        const QByteArray bytes = readFile(file);
        const Metafile picture = Metafile::fromBytes(bytes);
        const QSize natural = (picture.naturalSizeTwips() / 15).toSize().expandedTo(QSize(8, 8));
        const QImage first = drawn(picture, natural, 96);
        QCOMPARE(drawn(picture, natural, 96), first);
        QCOMPARE(drawn(picture, natural * 3, 96),
                 drawn(Metafile::fromBytes(bytes), natural * 3, 96));
        QCOMPARE(drawn(picture, natural, 192), drawn(Metafile::fromBytes(bytes), natural, 192));
    }
};

QTEST_MAIN(TestMetafileRepaint)
#include "tst_metafile_repaint.moc"
