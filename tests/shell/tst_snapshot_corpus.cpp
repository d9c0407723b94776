// Every file of the shared corpus goes through glintbox-snapshot with a time
// limit: it is shown, or it gives one clear error prompt; nothing crashes or
// hangs.
#include "Corpus.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace glintbox;

class TestSnapshotCorpus : public QObject {
    Q_OBJECT

private slots:
    void everyFileShownOrOneError();
};

void TestSnapshotCorpus::everyFileShownOrOneError()
{
    const QString tool = qEnvironmentVariable("GLINTBOX_SNAPSHOT");
    if (!QFile::exists(tool))
        QSKIP("glintbox-snapshot is not built");
    QStringList files = corpusFiles(QString());
    files.removeIf([](const QString &file) { return file.endsWith(u".md"); });
    if (files.isEmpty())
        QSKIP("no corpus beside the project");
    QTemporaryDir out;
    QStringList failures;
    int shown = 0;
    int refused = 0;
    constexpr qsizetype Parallel = 2;
    for (qsizetype first = 0; first < files.size(); first += Parallel) {
        const QStringList batch = files.mid(first, Parallel);
        std::array<QProcess, Parallel> running;
        for (qsizetype i = 0; i < batch.size(); ++i)
            running[i].start(tool, {batch[i], out.filePath(QStringLiteral("%1.png").arg(i)),
                                    QStringLiteral("--timeout"), QStringLiteral("5000")});
        for (qsizetype i = 0; i < batch.size(); ++i) {
            QProcess &process = running[i];
            if (!process.waitForFinished(30000)) {
                process.kill();
                process.waitForFinished();
                failures.append(batch[i] + QStringLiteral(": hung"));
                continue;
            }
            const QString output = QString::fromUtf8(process.readAllStandardOutput());
            const qsizetype prompts = (u'\n' + output).count(QStringLiteral("\nprompt: "));
            if (process.exitStatus() != QProcess::NormalExit)
                failures.append(batch[i] + QStringLiteral(": crashed"));
            else if (process.exitCode() == 0 && output.contains(QStringLiteral("view mode:")))
                ++shown;
            else if (process.exitCode() == 2 && prompts == 1)
                ++refused;
            else
                failures.append(batch[i] + QStringLiteral(": exit %1, output: %2")
                                               .arg(process.exitCode())
                                               .arg(output.simplified()));
        }
    }
    qInfo("%d files shown, %d refused with one clear error", shown, refused);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestSnapshotCorpus)
#include "tst_snapshot_corpus.moc"
