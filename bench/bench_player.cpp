// Time until the player shows the first frame of a small movie, against a bare
// QMediaPlayer with a video sink doing the same, alternating in one run.

#include "Median.h"
#include "Report.h"
#include "viewing/player/MoviePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <cstdio>
#include <vector>

using namespace glintbox;

namespace {

// Runs the event loop until done() is true or ten seconds have passed.
template<typename Done> bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

double bareFirstFrame(QMediaPlayer &player, QVideoSink &sink, const QString &movie)
{
    bool shown = false;
    const auto connection =
        QObject::connect(&sink, &QVideoSink::videoFrameChanged,
                         [&](const QVideoFrame &frame) { shown = shown || frame.isValid(); });
    QElapsedTimer clock;
    clock.start();
    player.stop();
    player.setSource(QUrl::fromLocalFile(movie));
    player.play();
    waitFor([&] { return shown; });
    QObject::disconnect(connection);
    return clock.nsecsElapsed() / 1e6;
}

double newBareFirstFrame(const QString &movie)
{
    QMediaPlayer player;
    QVideoSink sink;
    player.setVideoSink(&sink);
    return bareFirstFrame(player, sink, movie);
}

double playerFirstFrame(MoviePlayer &player, const QString &movie)
{
    bool shown = false;
    const auto connection =
        QObject::connect(&player, &MoviePlayer::firstFrameShown, [&] { shown = true; });
    QElapsedTimer clock;
    clock.start();
    player.setFileName(movie);
    waitFor([&] { return shown; });
    const double ms = clock.nsecsElapsed() / 1e6;
    QObject::disconnect(connection);
    return ms;
}

// A player made for this one movie: its engine is created by the file.
double newPlayerFirstFrame(const QString &movie)
{
    MoviePlayer player;
    player.resize(640, 480);
    player.show();
    return playerFirstFrame(player, movie);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);

    QTemporaryDir folder;
    const QString movie = folder.filePath(QStringLiteral("clip.avi"));
    const QString gst = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
    if (gst.isEmpty() ||
        QProcess::execute(gst, {"-q", "videotestsrc", "num-buffers=50", "!",
                                "video/x-raw,width=320,height=240,framerate=25/1", "!", "jpegenc",
                                "!", "avimux", "!", "filesink", "location=" + movie}) != 0) {
        std::fputs("gst-launch-1.0 is needed to make the test movie\n", stderr);
        return 1;
    }

    // The first run of each warms the media back end.
    MoviePlayer shared;
    shared.resize(640, 480);
    shared.show();
    QMediaPlayer sharedBare;
    QVideoSink sharedSink;
    sharedBare.setVideoSink(&sharedSink);
    newBareFirstFrame(movie);
    bareFirstFrame(sharedBare, sharedSink, movie);
    newPlayerFirstFrame(movie);
    playerFirstFrame(shared, movie);
    std::vector<double> bare;
    std::vector<double> bareReused;
    std::vector<double> fresh;
    std::vector<double> reused;
    const int rounds = 15;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(newBareFirstFrame(movie));
        bareReused.push_back(bareFirstFrame(sharedBare, sharedSink, movie));
        fresh.push_back(newPlayerFirstFrame(movie));
        reused.push_back(playerFirstFrame(shared, movie));
    }
    const double bareMs = median(bare);
    const double bareReusedMs = median(bareReused);
    std::fprintf(stderr,
                 "first frame of a 320x240 movie, median of %d: bare QMediaPlayer + video sink "
                 "%.1f ms, on the same player %.1f ms\n",
                 rounds, bareMs, bareReusedMs);
    reportFigure("player first frame, first movie (engine, window, sound)", median(fresh), "ms",
                 median(fresh) / bareMs, 2);
    reportFigure("player first frame, next movie on the same player", median(reused), "ms",
                 median(reused) / bareReusedMs, 2);
    return 0;
}
