#include "Corpus.h"
#include "TestFiles.h"

#include "core/RunTimeError.h"
#include "formats/metafile/Metafile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QtTest>

using namespace glintbox;

namespace {

// The share of pixels whose colour differs from the reference by more than antialiasing and
// the references' reduced palette explain.
double differingShare(const QImage &picture, const QImage &reference)
{
    const QImage a = picture.convertToFormat(QImage::Format_RGB32);
    const QImage b = reference.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int distance =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
            differing += distance > 64;
        }
    }
    return double(differing) / (qint64(a.width()) * a.height());
}

} // namespace

// Every metafile of the shared corpus loads, or is refused with the picture error when it is
// corrupt, and draws within its time budget without crashing. Those drawn right keep their
// look: a reference render (the file's name plus ".png", kept beside this test) is drawn again
// at its size and compared.
class tst_MetafileCorpus : public QObject {
    Q_OBJECT

private slots:
    void rendersEveryFile_data()
    {
        QTest::addColumn<QString>("path");
        const QStringList files =
            corpusFiles(QStringLiteral("wmf")) + corpusFiles(QStringLiteral("emf"));
        QVERIFY(!files.isEmpty());
        for (const QString &path : files)
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
    void rendersEveryFile()
    {
        QFETCH(QString, path);
        const QByteArray bytes = readFile(path);
        const QString name = QFileInfo(path).fileName();
        const bool corrupt = name.startsWith(QLatin1String("bad_"));
        QVERIFY(Metafile::looksLikeMetafile(bytes.left(64)) || corrupt);
        const QString referencePath = QStringLiteral(METAFILE_REFERENCES_DIR "/%1.png").arg(name);
        const QImage reference(referencePath);
        QElapsedTimer timer;
        timer.start();
        try {
            const Metafile picture = Metafile::fromBytes(bytes);
            const QSizeF twips = picture.naturalSizeTwips();
            QVERIFY(twips.width() > 0 && twips.height() > 0);
            const double scale = 600 / std::max(twips.width(), twips.height());
            const QSize pixels = reference.isNull()
                                     ? QSize(std::max(1, int(twips.width() * scale)),
                                             std::max(1, int(twips.height() * scale)))
                                     : reference.size();
            const QImage image = picture.toImage(pixels, Qt::white);
            QVERIFY(!image.isNull());
            const double share = reference.isNull() ? 0 : differingShare(image, reference);
            if (share > 0.02)
                image.save(QDir::temp().filePath(QFileInfo(referencePath).fileName()));
            QVERIFY2(share <= 0.02,
                     qPrintable(QStringLiteral("%1% of the pixels differ from the reference; the "
                                               "render is saved in the temporary folder")
                                    .arg(share * 100, 0, 'f', 1)));
        } catch (const RunTimeError &error) {
            QVERIFY2(corrupt && reference.isNull(), qPrintable(error.detail()));
            QCOMPARE(error.number(), int(InvalidPicture));
        }
        // Each drawing is cut off after 600 ms; loading and drawing together stay well inside 5 s.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_MAIN(tst_MetafileCorpus)
#include "tst_metafile_corpus.moc"
