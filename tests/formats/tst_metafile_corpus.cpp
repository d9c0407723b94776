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

// Every metafile of the shared corpus loads or is refused with the picture
// error, and renders within its time budget without crashing.
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
        QVERIFY(!bytes.isEmpty());
        const bool corrupt = QFileInfo(path).fileName().startsWith(QLatin1String("bad_"));
        QVERIFY(Metafile::looksLikeMetafile(bytes.left(64)) || corrupt);
        QElapsedTimer timer;
        timer.start();
        try {
            const Metafile picture = Metafile::fromBytes(bytes);
            const QSizeF twips = picture.naturalSizeTwips();
            QVERIFY(twips.width() > 0 && twips.height() > 0);
            const double scale = 600 / std::max(twips.width(), twips.height());
            const QSize pixels(std::max(1, int(twips.width() * scale)),
                               std::max(1, int(twips.height() * scale)));
            QVERIFY(!picture.toImage(pixels, Qt::white).isNull());
        } catch (const RunTimeError &error) {
            QVERIFY2(corrupt, qPrintable(error.detail()));
            QCOMPARE(error.number(), int(InvalidPicture));
        }
        // Each drawing is cut off after 600 ms; loading and drawing together stay well inside 5 s.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // The pictures drawn right keep their look: each reference (the corpus file's name plus
    // ".png", a small render) is drawn again at its size and compared.
    void matchesReferenceRenders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reference");
        const QDir references(QStringLiteral(METAFILE_REFERENCES_DIR));
        const QStringList names = references.entryList({QStringLiteral("*.png")}, QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names) {
            const QString file = name.chopped(4);
            const QString folder = QFileInfo(file).suffix().toLower();
            QTest::newRow(qPrintable(file))
                << corpusFolder() + QLatin1Char('/') + folder + QLatin1Char('/') + file
                << references.filePath(name);
        }
    }
    void matchesReferenceRenders()
    {
        QFETCH(QString, path);
        QFETCH(QString, reference);
        const QImage expected(reference);
        QVERIFY(!expected.isNull());
        const QByteArray bytes = readFile(path);
        QVERIFY2(!bytes.isEmpty(), qPrintable(path));
        const QImage picture = Metafile::fromBytes(bytes).toImage(expected.size(), Qt::white);
        const double share = differingShare(picture, expected);
        if (share > 0.02)
            picture.save(QDir::temp().filePath(QFileInfo(reference).fileName()));
        QVERIFY2(share <= 0.02, qPrintable(QStringLiteral("%1% of the pixels differ; the render "
                                                          "is saved in the temporary folder")
                                               .arg(share * 100, 0, 'f', 1)));
    }
};

QTEST_MAIN(tst_MetafileCorpus)
#include "tst_metafile_corpus.moc"
