#include "TestFiles.h"
#include "TestMedia.h"
#include "ViewingTestMain.h"
#include "core/ProgramModule.h"
#include "formats/midi/RiffMidi.h"
#include "player/PlayerControlBar.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/player/MovieWindowSize.h"

#include <QAudioOutput>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtEndian>

using namespace glintbox;

namespace {

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    QByteArray bytes = id + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray riff(const QByteArray &form, const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + form + chunks;
}

// A standard MIDI file of one track: middle C held for the delta time given
// in hex (96 ticks, "60", is half a second).
QByteArray midi(const char *noteLength = "60")
{
    const QByteArray events = QByteArray::fromHex("00903c64") + QByteArray::fromHex(noteLength) +
                              QByteArray::fromHex("803c0000ff2f00");
    QByteArray length(4, '\0');
    qToBigEndian(quint32(events.size()), length.data());
    return QByteArray::fromHex("4d54686400000006000000010060") + "MTrk" + length + events;
}

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT
private slots:
    void windowSizes();
    void timeText();
    void unwrapRiffMidi_data();
    void unwrapRiffMidi();

    void playsOrReportsOnce_data();
    void playsOrReportsOnce();
    void movieFramesStandAtEachWindowSize();
    void controlBarWorksThePlayer();
    void missingModuleIsReportedByName();

private:
    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, content))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
};

void TestPlayer::windowSizes()
{
    // Screen 1280 x 1024, area 800 x 600 at (0, 0).
    const auto rect = [](MovieWindowSize size, QSize natural = QSize(160, 120)) {
        return movieWindowRect(size, natural, QSize(1280, 1024), QRect(0, 0, 800, 600));
    };
    QCOMPARE(rect(MovieWindowSize::Own), QRect(320, 240, 160, 120));
    QCOMPARE(rect(MovieWindowSize::Double), QRect(240, 180, 320, 240));
    QCOMPARE(rect(MovieWindowSize::SixteenthScreen), QRect(240, 180, 320, 240));
    QCOMPARE(rect(MovieWindowSize::QuarterScreen), QRect(80, 60, 640, 480));
    // Half the screen's area is wider than the area: it shows the middle.
    QCOMPARE(rect(MovieWindowSize::HalfScreen), QRect(-52, -39, 905, 678));
    QCOMPARE(rect(MovieWindowSize::QuarterScreen, QSize(320, 90)), QRect(80, 210, 640, 180));
    QCOMPARE(rect(MovieWindowSize::Double, QSize()), QRect(400, 300, 0, 0));
}

void TestPlayer::timeText()
{
    QCOMPARE(playerTimeText(0, 205000), "0:00 / 3:25");
    QCOMPARE(playerTimeText(7999, 205000), "0:07 / 3:25"); // seconds round down
    QCOMPARE(playerTimeText(7000, 3723000), "0:00:07 / 1:02:03");
    QCOMPARE(playerTimeText(1000, 0), "0:01 / --:--");
}

void TestPlayer::unwrapRiffMidi_data()
{
    using Status = RiffMidiResult::Status;
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Status>("status");
    const QByteArray info = chunk("LIST", "INFOINAM" + le32(5) + "Tune" + QByteArray(2, '\0'));
    QTest::newRow("data chunk only") << riff("RMID", chunk("data", midi())) << Status::Unwrapped;
    QTest::newRow("after an odd-sized chunk")
        << riff("RMID", chunk("DISP", "abc") + info + chunk("data", midi())) << Status::Unwrapped;
    QTest::newRow("RIFF size too small")
        << ("RIFF" + le32(4) + "RMID" + chunk("data", midi())) << Status::Unwrapped;
    QTest::newRow("plain MIDI file") << midi() << Status::NotRiffMidi;
    QTest::newRow("wave file") << sineWav() << Status::NotRiffMidi;
    QTest::newRow("empty") << QByteArray() << Status::NotRiffMidi;
    QTest::newRow("header cut short") << QByteArray("RIFF\x10\0\0\0RMI", 11) << Status::NotRiffMidi;
    QTest::newRow("no chunks") << riff("RMID", {}) << Status::Damaged;
    QTest::newRow("data cut short")
        << riff("RMID", chunk("data", midi())).chopped(5) << Status::Damaged;
    QTest::newRow("chunk claims 4 GB")
        << riff("RMID", "DISP" + le32(0xffffffffu) + chunk("data", midi())) << Status::Damaged;
    QTest::newRow("data is not MIDI")
        << riff("RMID", chunk("data", "not a midi file")) << Status::Damaged;
    QTest::newRow("no data chunk") << riff("RMID", info) << Status::Damaged;
}

void TestPlayer::unwrapRiffMidi()
{
    QFETCH(QByteArray, file);
    QFETCH(RiffMidiResult::Status, status);
    const RiffMidiResult result = glintbox::unwrapRiffMidi(file);
    QCOMPARE(result.status, status);
    QCOMPARE(result.midi, status == RiffMidiResult::Status::Unwrapped ? midi() : QByteArray());
    QCOMPARE(result.problem.isEmpty(), status != RiffMidiResult::Status::Damaged);
}

void TestPlayer::playsOrReportsOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("number"); // 0: plays to its end without a sound device
    QTest::newRow("wave") << "tone.wav" << sineWav() << 0;
    QTest::newRow("MIDI") << "tune.mid" << midi() << 0;
    QTest::newRow("RIFF-MIDI") << "tune.rmi" << riff("RMID", chunk("data", midi())) << 0;
    QTest::newRow("plain MIDI named rmi") << "plain.RMI" << midi() << 0;
    QTest::newRow("text named as a movie") << "notes.avi" << QByteArray("just some text\n") << 380;
    QTest::newRow("empty movie") << "empty.mpg" << QByteArray() << 380;
    QTest::newRow("damaged RIFF-MIDI")
        << "broken.rmi" << riff("RMID", chunk("data", midi())).chopped(3) << 380;
    QTest::newRow("missing file") << "" << QByteArray() << 53;
}

void TestPlayer::playsOrReportsOnce()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    const QString path = name.isEmpty() ? m_dir.filePath("missing.wav") : write(name, content);
    MoviePlayer player;
    player.show();
    QSignalSpy ready(&player, &MoviePlayer::mediaReady);
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    player.setFileName(path);
    if (number == 0) {
        QTRY_COMPARE_WITH_TIMEOUT(player.mediaStatus(), MediaStatus::EndOfMedia, 15000);
        QCOMPARE(ready.count(), 1);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 15000);
        QCOMPARE(player.error().value().number(), number);
    }
    // The player goes on to the next file as if nothing had happened.
    ready.clear();
    player.setFileName(write("after.wav", sineWav()));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 15000);
    QVERIFY(!player.error().has_value());
    QCOMPARE(errors.count(), number == 0 ? 0 : 1);
}

void TestPlayer::movieFramesStandAtEachWindowSize()
{
    const QString movie = m_dir.filePath("clip.avi");
    if (!makeMovie(movie, QSize(64, 48), 5))
        QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");
    MoviePlayer player;
    player.resize(640, 480);
    player.show();
    QSignalSpy frames(&player, &MoviePlayer::firstFrameShown);
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    player.setFileName(movie);
    QTRY_COMPARE_WITH_TIMEOUT(frames.count(), 1, 15000);
    // Drawn by the player itself (test bars, not the black of an empty area),
    // so the picture is part of the window like any other widget's.
    QVERIFY(player.grab().toImage().pixelColor(player.movieRect().center()) != QColor(Qt::black));

    const QRect area = player.pictureArea();
    const QSize screen = player.screen()->size();
    for (MovieWindowSize size : {MovieWindowSize::Own, MovieWindowSize::Double,
                                 MovieWindowSize::QuarterScreen, MovieWindowSize::HalfScreen}) {
        player.setMovieWindowSize(size);
        QCOMPARE(player.movieRect(), movieWindowRect(size, QSize(64, 48), screen, area));
    }
    // The size holds for the next movie and follows the player's own size.
    player.resize(800, 600);
    player.setFileName(movie);
    QTRY_COMPARE_WITH_TIMEOUT(frames.count(), 2, 15000);
    QCOMPARE(errors.count(), 0);
    const QRect shown = player.movieRect();
    QCOMPARE(shown.size(), movieWindowSize(MovieWindowSize::HalfScreen, QSize(64, 48), screen));
    QVERIFY((shown.center() - player.pictureArea().center()).manhattanLength() <= 2);

    // Emptied, the player shows nothing of the movie.
    player.clear();
    QCOMPARE(player.grab().toImage().pixelColor(shown.center()), QColor(Qt::black));
}

void TestPlayer::controlBarWorksThePlayer()
{
    MoviePlayer player;
    player.resize(400, 300);
    player.show();
    QSignalSpy ready(&player, &MoviePlayer::mediaReady);
    player.setFileName(write("chord.mid", midi("8300")));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(player.playbackState(), PlaybackState::Playing, 15000);

    // Looked up by name: the bar's class is the loaded module's own copy.
    auto *bar = player.findChild<QWidget *>(QStringLiteral("playerControls"));
    QVERIFY(bar);
    // The file list keeps the focus whatever is clicked here.
    for (QWidget *control : bar->findChildren<QWidget *>())
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    auto *playPause = bar->findChild<QToolButton *>(QStringLiteral("playPause"));
    auto *volume = bar->findChild<QSlider *>(QStringLiteral("volume"));
    auto *mute = bar->findChild<QToolButton *>(QStringLiteral("mute"));
    auto *time = bar->findChild<QLabel *>(QStringLiteral("time"));
    auto *caption = player.findChild<QLabel *>(QStringLiteral("soundCaption"));
    QVERIFY(playPause && volume && mute && time && caption);

    // A sound names itself where a movie would be.
    QTRY_VERIFY(caption->isVisible());
    QVERIFY(caption->text().contains(QStringLiteral("chord.mid")));
    QTRY_VERIFY(time->text().endsWith(QStringLiteral(" / 0:02")));

    QTest::mouseClick(playPause, Qt::LeftButton);
    QTRY_COMPARE(player.playbackState(), PlaybackState::Paused);
    QTest::mouseClick(playPause, Qt::LeftButton);
    QTRY_COMPARE(player.playbackState(), PlaybackState::Playing);

    auto *audio = player.findChild<QAudioOutput *>();
    QVERIFY(audio);
    const int loud = volume->value();
    QTest::mouseClick(volume, Qt::LeftButton, {}, QPoint(2, volume->height() / 2));
    QVERIFY(volume->value() < loud);
    QCOMPARE(qRound(audio->volume() * 100), volume->value());
    QTest::mouseClick(mute, Qt::LeftButton);
    QVERIFY(audio->isMuted());
    QVERIFY(!player.error().has_value());
}

void TestPlayer::missingModuleIsReportedByName()
{
    ProgramModule module("glintbox-missing", CreateMediaEngineSymbol);
    // Asked again, it answers the same, not with a null entry point.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            module.entry<CreateMediaEngine>();
            QFAIL("a module that does not exist was loaded");
        } catch (const RunTimeError &error) {
            QCOMPARE(error.number(), int(FileNotFound));
            QVERIFY(error.detail().endsWith(QStringLiteral("/glintbox-missing.so")));
        }
    }
}

GLINTBOX_VIEWING_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
