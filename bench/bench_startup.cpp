// From process start to the first paint of the main window showing the first
// file of a folder, against a bare Qt program that paints one window with one
// label, alternating in the same run. Both report their first paint through
// GLINTBOX_QUIT_AFTER_FIRST_PAINT and quit.
#include "Median.h"
#include "Report.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 9;

struct Run {
    double milliseconds = 0;
    QByteArray created;
};

qint64 nowNanoseconds()
{
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs a program to its first paint; the time runs from just before the start.
Run runToFirstPaint(const QString &program, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 start = nowNanoseconds();
    process.start(program, {});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s did not paint and quit", qPrintable(program));
    Run run;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("first paint: "))
            run.milliseconds = double(line.mid(13).toLongLong() - start) / 1e6;
        else if (line.startsWith("created: "))
            run.created = line.mid(9);
    }
    return run;
}

// A folder whose first file is a page of text, with a picture and a web page
// after it, and the settings of a user who last looked at it.
void prepareFolder(const QTemporaryDir &root)
{
    const QString folder = root.filePath(QStringLiteral("files"));
    QDir().mkpath(folder);
    QFile text(folder + QStringLiteral("/a-notes.txt"));
    text.open(QIODevice::WriteOnly);
    for (int line = 0; line < 200; ++line)
        text.write("A line of notes, long enough to fill the width of the text view.\n");
    QFile page(folder + QStringLiteral("/b-page.htm"));
    page.open(QIODevice::WriteOnly);
    page.write("<html><body><p>A page</p></body></html>\n");
    QDir().mkpath(root.filePath(QStringLiteral("config/Glintbox")));
    QFile settings(root.filePath(QStringLiteral("config/Glintbox/Glintbox.conf")));
    settings.open(QIODevice::WriteOnly);
    settings.write("[Settings]\nDriveLetter=/\nDrivePath=" + QFile::encodeName(folder) + "\n");
}

} // namespace

int main(int argc, char **argv)
{
    using glintbox::median;
    using glintbox::reportFigure;
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    prepareFolder(root);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("DISPLAY")) &&
        !environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("GLINTBOX_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());

    const QString glintbox = QStringLiteral(GLINTBOX_EXECUTABLE);
    const QString bare = QStringLiteral(BARE_LABEL_WINDOW_EXECUTABLE);
    // The first run of each fills the caches a user's machine already has.
    runToFirstPaint(glintbox, environment);
    runToFirstPaint(bare, environment);
    std::vector<double> ours;
    std::vector<double> baseline;
    QByteArray created;
    for (int round = 0; round < Rounds; ++round) {
        const Run run = runToFirstPaint(glintbox, environment);
        ours.push_back(run.milliseconds);
        created = run.created;
        baseline.push_back(runToFirstPaint(bare, environment).milliseconds);
    }
    const double bareMs = median(baseline);
    std::fprintf(stderr, "bare window with one label: %.1f ms to its first paint (median of %d)\n",
                 bareMs, Rounds);
    std::fprintf(stderr, "created at start-up, of the browser engine, player and dialogs: %s\n",
                 created.constData());
    reportFigure("start-up to the first file painted (against a bare Qt window)", median(ours),
                 "ms", median(ours) / bareMs, 1.5);
    return created == "none" ? 0 : 1;
}
