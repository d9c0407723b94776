#include "Corpus.h"

#include "core/RunTimeError.h"
#include "formats/metafile/Metafile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace glintbox;

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
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
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
};

QTEST_MAIN(tst_MetafileCorpus)
#include "tst_metafile_corpus.moc"
