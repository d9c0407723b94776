#include "TestMedia.h"
#include "ViewingTestMain.h"
#include "formats/midi/RiffMidi.h"
#include "viewing/player/MoviePlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
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

// A standard MIDI file of one track: middle C for half a second.
QByteArray minimalMidi()
{
    const QByteArray events = QByteArray::fromHex("00903c64"   // note on
                                                  "60803c00"   // note off a beat later
                                                  "00ff2f00"); // end of track
    QByteArray length(4, '\0');
    qToBigEndian(quint32(events.size()), length.data());
    return QByteArray::fromHex("4d54686400000006000000010060") + "MTrk" + length + events;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class TestMoviePlayer : public QObject {
    Q_OBJECT
private slots:
    void unwrapRiffMidi_data();
    void unwrapRiffMidi();

    void startsNoEngineUntilAFileIsGiven();
    void playsASoundWithoutASoundDevice_data();
    void playsASoundWithoutASoundDevice();
    void refusedFilesAreReportedOnce_data();
    void refusedFilesAreReportedOnce();
    void reportsTheFirstFrameOfEachMovie();

private:
    QTemporaryDir m_dir;
};

void TestMoviePlayer::unwrapRiffMidi_data()
{
    using Status = RiffMidiResult::Status;
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Status>("status");

    const QByteArray midi = minimalMidi();
    const QByteArray info = chunk("LIST", "INFOINAM" + le32(5) + "Tune" + QByteArray(2, '\0'));
    QTest::newRow("data chunk only") << riff("RMID", chunk("data", midi)) << Status::Unwrapped;
    QTest::newRow("after an odd-sized chunk")
        << riff("RMID", chunk("DISP", "abc") + info + chunk("data", midi)) << Status::Unwrapped;
    QTest::newRow("RIFF size too small")
        << ("RIFF" + le32(4) + "RMID" + chunk("data", midi)) << Status::Unwrapped;
    QTest::newRow("plain MIDI file") << midi << Status::NotRiffMidi;
    QTest::newRow("wave file") << sineWav() << Status::NotRiffMidi;
    QTest::newRow("empty") << QByteArray() << Status::NotRiffMidi;
    QTest::newRow("header cut short") << QByteArray("RIFF\x10\0\0\0RMI", 11) << Status::NotRiffMidi;
    QTest::newRow("no chunks") << riff("RMID", {}) << Status::Damaged;
    QTest::newRow("data cut short")
        << riff("RMID", chunk("data", midi)).chopped(5) << Status::Damaged;
    QTest::newRow("chunk claims 4 GB")
        << riff("RMID", "DISP" + le32(0xffffffffu) + chunk("data", midi)) << Status::Damaged;
    QTest::newRow("data is not MIDI")
        << riff("RMID", chunk("data", "not a midi file")) << Status::Damaged;
    QTest::newRow("no data chunk") << riff("RMID", info) << Status::Damaged;
}

void TestMoviePlayer::unwrapRiffMidi()
{
    QFETCH(QByteArray, file);
    QFETCH(RiffMidiResult::Status, status);
    const RiffMidiResult result = glintbox::unwrapRiffMidi(file);
    QCOMPARE(result.status, status);
    if (status == RiffMidiResult::Status::Unwrapped)
        QCOMPARE(result.midi, minimalMidi());
    else
        QVERIFY(result.midi.isEmpty());
    QCOMPARE(result.problem.isEmpty(), status != RiffMidiResult::Status::Damaged);
}

void TestMoviePlayer::startsNoEngineUntilAFileIsGiven()
{
    MoviePlayer player;
    player.show();
    player.play();
    player.stop();
    QVERIFY(!player.hasEngine());
    QCOMPARE(player.playbackState(), QMediaPlayer::StoppedState);
}

void TestMoviePlayer::playsASoundWithoutASoundDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("wave") << "tone.wav" << sineWav();
    QTest::newRow("RIFF-MIDI") << "tune.rmi" << riff("RMID", chunk("data", minimalMidi()));
    QTest::newRow("plain MIDI named rmi") << "plain.RMI" << minimalMidi();
}

void TestMoviePlayer::playsASoundWithoutASoundDevice()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(name);
    writeFile(path, content);

    MoviePlayer player;
    player.show();
    QSignalSpy ready(&player, &MoviePlayer::mediaReady);
    QSignalSpy states(&player, &MoviePlayer::playStateChanged);
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    player.setFileName(path);
    QCOMPARE(player.fileName(), path);
    QTRY_VERIFY_WITH_TIMEOUT(ready.count() == 1 || !errors.isEmpty(), 15000);
    QCOMPARE(errors.count(), 0);
    QVERIFY(states.count() >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(player.mediaStatus(), QMediaPlayer::EndOfMedia, 15000);
    QCOMPARE(errors.count(), 0);

    player.clear();
    QCOMPARE(player.playbackState(), QMediaPlayer::StoppedState);
    QVERIFY(player.fileName().isEmpty());
}

void TestMoviePlayer::refusedFilesAreReportedOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("number");
    QTest::newRow("text named as a movie") << "notes.avi" << QByteArray("just some text\n") << 380;
    QTest::newRow("empty movie") << "empty.mpg" << QByteArray() << 380;
    QTest::newRow("damaged RIFF-MIDI")
        << "broken.rmi" << riff("RMID", chunk("data", minimalMidi())).chopped(3) << 380;
    QTest::newRow("missing file") << "" << QByteArray() << 53;
}

void TestMoviePlayer::refusedFilesAreReportedOnce()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QString path = m_dir.filePath("missing.wav");
    if (!name.isEmpty()) {
        path = m_dir.filePath(name);
        writeFile(path, content);
    }

    MoviePlayer player;
    player.show();
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    player.setFileName(path);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 15000);
    QVERIFY(!errors.first().first().toString().isEmpty());
    QVERIFY(player.error().has_value());
    QCOMPARE(player.error()->number(), number);

    // The player goes on to the next file as if nothing had happened.
    const QString good = m_dir.filePath("after.wav");
    writeFile(good, sineWav());
    QSignalSpy ready(&player, &MoviePlayer::mediaReady);
    player.setFileName(good);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 15000);
    QVERIFY(!player.error().has_value());
    QCOMPARE(errors.count(), 1);
}

void TestMoviePlayer::reportsTheFirstFrameOfEachMovie()
{
    const QString movie = m_dir.filePath("clip.avi");
    if (!makeMovie(movie, QSize(64, 48), 5))
        QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make a test movie");

    MoviePlayer player;
    player.resize(320, 240);
    player.show();
    QSignalSpy frames(&player, &MoviePlayer::firstFrameShown);
    QSignalSpy errors(&player, &MoviePlayer::errorOccurred);
    player.setFileName(movie);
    QTRY_COMPARE_WITH_TIMEOUT(frames.count(), 1, 15000);
    QCOMPARE(frames.first().first().toSize(), QSize(64, 48));
    QCOMPARE(player.naturalSize(), QSize(64, 48));
    // Drawn by the player itself (test bars, not the black of an empty area),
    // so the picture is part of the window like any other widget's.
    const QPoint middle = player.movieRect().center();
    QVERIFY(player.grab().toImage().pixelColor(middle) != QColor(Qt::black));

    // The next movie of the same size has a first frame of its own.
    player.setFileName(movie);
    QVERIFY(!player.naturalSize().isValid());
    QTRY_COMPARE_WITH_TIMEOUT(frames.count(), 2, 15000);
    QCOMPARE(errors.count(), 0);

    // Emptied, the player shows nothing of the movie.
    player.clear();
    QCOMPARE(player.grab().toImage().pixelColor(middle), QColor(Qt::black));
}

GLINTBOX_VIEWING_TEST_MAIN(TestMoviePlayer)
#include "tst_movieplayer.moc"
