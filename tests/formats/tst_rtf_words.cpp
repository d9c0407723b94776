#include "Corpus.h"
#include "TestFiles.h"
#include "formats/rtf/RtfReader.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QTest>

using namespace glintbox;

namespace {

// Words are runs of letters, digits and combining marks; everything else separates them, so
// punctuation and line breaks do not decide a match. A picture is no text: the reference has
// nothing where the document shows one.
QHash<QString, int> countWords(const QString &text)
{
    QHash<QString, int> counts;
    QString word;
    for (const QChar c : text + u' ') {
        if (c == QChar::ObjectReplacementCharacter)
            continue;
        if (c.isLetterOrNumber() || c.isMark() || c.isSurrogate()) {
            word += c;
        } else if (!word.isEmpty()) {
            ++counts[word];
            word.clear();
        }
    }
    return counts;
}

} // namespace

// The words of every corpus RTF against a reference list kept beside this test (see
// rtf-words/README.md): each file must hold 97% of its words, the corpus 99% of all, and each
// must read within seconds.
class TestRtfWords : public QObject {
    Q_OBJECT

private slots:
    void wordsMatchTheReference()
    {
        const QStringList files = corpusFiles(QStringLiteral("rtf"));
        QVERIFY(!files.isEmpty());
        int referenceWords = 0;
        int matchedWords = 0;
        QStringList failures;
        for (const QString &path : files) {
            const QString name = QFileInfo(path).completeBaseName();
            const QString referencePath = QStringLiteral(RTF_WORDS_DIR "/%1.txt").arg(name);
            QVERIFY2(QFileInfo::exists(referencePath), qPrintable(referencePath));
            const auto reference = countWords(QString::fromUtf8(readFile(referencePath)));
            QElapsedTimer timer;
            timer.start();
            const auto read = countWords(readRtf(readFile(path)).document->toPlainText());
            if (timer.elapsed() > 5000)
                failures << QStringLiteral("%1: %2 ms").arg(name).arg(timer.elapsed());
            int expected = 0;
            int found = 0; // each word counted as often as both have it
            for (auto it = reference.cbegin(); it != reference.cend(); ++it) {
                expected += it.value();
                found += qMin(it.value(), read.value(it.key()));
            }
            referenceWords += expected;
            matchedWords += found;
            const double share = expected ? 100.0 * found / expected : 100.0;
            qInfo("%6.1f%% of %5d words  %s", share, expected, qPrintable(name));
            if (share < 97.0)
                failures << QStringLiteral("%1: %2%").arg(name).arg(share, 0, 'f', 1);
        }
        const double overall = 100.0 * matchedWords / qMax(referenceWords, 1);
        qInfo("%6.1f%% of %5d words  in all", overall, referenceWords);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
        QVERIFY2(overall >= 99.0, qPrintable(QString::number(overall)));
    }
};

QTEST_MAIN(TestRtfWords)
#include "tst_rtf_words.moc"
