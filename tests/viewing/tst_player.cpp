#include "TestMedia.h"
#include "ViewingTestMain.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/player/MovieWindowSize.h"
#include "viewing/player/PlayerControlBar.h"

#include <QAudioOutput>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtEndian>

using namespace glintbox;

namespace {

// A standard MIDI file: a C major chord for two seconds.
QByteArray chordMidi()
{
    const QByteArray events = QByteArray::fromHex("00903c64"
                                                  "00904064"
                                                  "00904364"
                                                  "8f00803c00"
                                                  "00804000"
                                                  "00804300"
                                                  "00ff2f00");
    QByteArray length(4, '\0');
    qToBigEndian(quint32(events.size()), length.data());
    return QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk" + length + events;
}

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT
private slots:
    void windowSizes_data();
    void windowSizes();
    void timeText_data();
    void timeText();
    void movieStandsAtEachWindowSize();
    void controlBarWorksThePlayer();
    void midiPlaysToItsEnd();

private:
    QTemporaryDir m_dir;
};

void TestPlayer::windowSizes_data()
{
    QTest::addColumn<MovieWindowSize>("size");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QRect>("rect");
    const QSize movie(160, 120);
    // Screen 1280 x 1024, area 800 x 600 at (0, 0).
    QTest::newRow("own") << MovieWindowSize::Own << movie << QRect(320, 240, 160, 120);
    QTest::newRow("double") << MovieWindowSize::Double << movie << QRect(240, 180, 320, 240);
    QTest::newRow("sixteenth") << MovieWindowSize::SixteenthScreen << movie
                               << QRect(240, 180, 320, 240);
    QTest::newRow("quarter") << MovieWindowSize::QuarterScreen << movie << QRect(80, 60, 640, 480);
    // Half the screen's area is wider than the area: it shows the middle.
    QTest::newRow("half") << MovieWindowSize::HalfScreen << movie << QRect(-52, -39, 905, 678);
    QTest::newRow("wide movie, quarter")
        << MovieWindowSize::QuarterScreen << QSize(320, 90) << QRect(80, 210, 640, 180);
    QTest::newRow("size unknown") << MovieWindowSize::Double << QSize() << QRect(400, 300, 0, 0);
}

void TestPlayer::windowSizes()
{
    QFETCH(MovieWindowSize, size);
    QFETCH(QSize, natural);
    QFETCH(QRect, rect);
    QCOMPARE(movieWindowRect(size, natural, QSize(1280, 1024), QRect(0, 0, 800, 600)), rect);
}

void TestPlayer::timeText_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << qint64(0) << qint64(205000) << "0:00 / 3:25";
    QTest::newRow("seconds round down") << qint64(7999) << qint64(205000) << "0:07 / 3:25";
    QTest::newRow("long") << qint64(7000) << qint64(3723000) << "0:00:07 / 1:02:03";
    QTest::newRow("unknown total") << qint64(1000) << qint64(0) << "0:01 / --:--";
    QTest::newRow("over ten minutes") << qint64(0) << qint64(754000) << "0:00 / 12:34";
}

void TestPlayer::timeText()
{
    QFETCH(qint64, position);
    QFETCH(qint64, duration);
    QFETCH(QString, text);
    QCOMPARE(playerTimeText(position, duration), text);
}

void TestPlayer::movieStandsAtEachWindowSize()
{
    const QString movie = m_dir.filePath(QStringLiteral("clip.avi"));
    if (!makeMovie(movie, QSize(64, 48)))
        QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");
    MoviePlayer player;
    player.resize(640, 480);
    player.show();
    QSignalSpy frames(&player, &MoviePlayer::firstFrameShown);
    player.setFileName(movie);
    QTRY_COMPARE_WITH_TIMEOUT(frames.count(), 1, 15000);

    const QRect area = player.pictureArea();
    QVERIFY(area.height() < player.height());
    const QSize screen = player.screen()->size();
    for (MovieWindowSize size : {MovieWindowSize::Own, MovieWindowSize::Double,
                                 MovieWindowSize::QuarterScreen, MovieWindowSize::HalfScreen}) {
        player.setMovieWindowSize(size);
        QCOMPARE(player.movieRect(), movieWindowRect(size, QSize(64, 48), screen, area));
        QVERIFY((player.movieRect().center() - area.center()).manhattanLength() <= 2);
    }
    QCOMPARE(player.movieRect().size(),
             movieWindowSize(MovieWindowSize::HalfScreen, QSize(64, 48), screen));

    // The size holds for the next movie and follows the player's own size.
    player.resize(800, 600);
    QVERIFY((player.movieRect().center() - player.pictureArea().center()).manhattanLength() <= 2);
}

void TestPlayer::controlBarWorksThePlayer()
{
    const QString sound = m_dir.filePath(QStringLiteral("chord.mid"));
    {
        QFile file(sound);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(chordMidi());
    }
    MoviePlayer player;
    player.resize(400, 300);
    player.show();
    QSignalSpy ready(&player, &MoviePlayer::mediaReady);
    QSignalSpy states(&player, &MoviePlayer::playStateChanged);
    player.setFileName(sound);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(player.playbackState(), QMediaPlayer::PlayingState, 15000);

    auto *bar = player.findChild<PlayerControlBar *>();
    QVERIFY(bar);
    for (QWidget *control : bar->findChildren<QWidget *>())
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    auto *playPause = bar->findChild<QToolButton *>(QStringLiteral("playPause"));
    auto *volume = bar->findChild<QSlider *>(QStringLiteral("volume"));
    auto *mute = bar->findChild<QToolButton *>(QStringLiteral("mute"));
    auto *time = bar->findChild<QLabel *>(QStringLiteral("time"));
    QVERIFY(playPause && volume && mute && time);

    // A sound names itself where a movie would be.
    auto *caption = player.findChild<QLabel *>(QStringLiteral("soundCaption"));
    QVERIFY(caption);
    QTRY_VERIFY(caption->isVisible());
    QVERIFY(caption->text().contains(QStringLiteral("chord.mid")));
    QTRY_VERIFY(time->text().endsWith(QStringLiteral(" / 0:02")));

    const int before = states.count();
    playPause->click();
    QTRY_COMPARE(player.playbackState(), QMediaPlayer::PausedState);
    QVERIFY(states.count() > before);
    playPause->click();
    QTRY_COMPARE(player.playbackState(), QMediaPlayer::PlayingState);

    auto *audio = player.findChild<QAudioOutput *>();
    QVERIFY(audio);
    volume->setValue(30);
    QCOMPARE(qRound(audio->volume() * 100), 30);
    mute->click();
    QVERIFY(audio->isMuted());
    QVERIFY(!player.error().has_value());
}

void TestPlayer::midiPlaysToItsEnd()
{
    const QString sound = m_dir.filePath(QStringLiteral("end.mid"));
    {
        QFile file(sound);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(chordMidi());
    }
    MoviePlayer player;
    player.show();
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    QSignalSpy positions(&player, &MoviePlayer::playStateChanged);
    player.setFileName(sound);
    QTRY_COMPARE_WITH_TIMEOUT(player.mediaStatus(), QMediaPlayer::EndOfMedia, 15000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(player.playbackState(), QMediaPlayer::StoppedState);
}

GLINTBOX_VIEWING_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
