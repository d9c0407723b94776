// Every file of the shared corpus goes through glintbox-snapshot with a time
// limit: it is shown, or it gives one clear error prompt; nothing crashes or
// hangs.
#include "Corpus.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <deque>

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
    const QStringList files = corpusFiles(QString());
    if (files.isEmpty())
        QSKIP("no corpus beside the project");
    QTemporaryDir out;
    constexpr int Parallel = 2;
    constexpr int TimeLimitMs = 30000;
    std::deque<QString> pending(files.cbegin(), files.cend());
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [](const QString &f) { return f.endsWith(u".md"); }),
                  pending.end());
    QStringList failures;
    int shown = 0;
    int refused = 0;
    while (!pending.empty()) {
        std::vector<std::pair<QString, std::unique_ptr<QProcess>>> running;
        for (int i = 0; i < Parallel && !pending.empty(); ++i) {
            const QString file = pending.front();
            pending.pop_front();
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::SeparateChannels);
            process->start(tool, {file, out.filePath(QStringLiteral("%1.png").arg(i)),
                                  QStringLiteral("--timeout"), QStringLiteral("5000")});
            running.emplace_back(file, std::move(process));
        }
        for (auto &[file, process] : running) {
            if (!process->waitForFinished(TimeLimitMs)) {
                process->kill();
                process->waitForFinished();
                failures.append(file + QStringLiteral(": hung"));
                continue;
            }
            const QString output = QString::fromUtf8(process->readAllStandardOutput());
            const int prompts = int(output.count(QStringLiteral("\nprompt: "))) +
                                (output.startsWith(QStringLiteral("prompt: ")) ? 1 : 0);
            if (process->exitStatus() != QProcess::NormalExit)
                failures.append(file + QStringLiteral(": crashed"));
            else if (process->exitCode() == 0 && output.contains(QStringLiteral("view mode:")))
                ++shown;
            else if (process->exitCode() == 2 && prompts == 1)
                ++refused;
            else
                failures.append(file + QStringLiteral(": exit %1, output: %2")
                                           .arg(process->exitCode())
                                           .arg(output.simplified()));
        }
    }
    qInfo("%d files shown, %d refused with one clear error", shown, refused);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestSnapshotCorpus)
#include "tst_snapshot_corpus.moc"
