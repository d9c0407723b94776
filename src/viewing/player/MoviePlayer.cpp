#include "MoviePlayer.h"

#include "PlayerControlBar.h"
#include "PlayerErrors.h"
#include "RiffMidi.h"
#include "core/FileSystem.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QLoggingCategory>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

Q_LOGGING_CATEGORY(lcPlayer, "glintbox.player", QtWarningMsg)

namespace glintbox {

MoviePlayer::MoviePlayer(QWidget *parent)
    : MoviePlayer(FileSystem::local(), parent) {
}

MoviePlayer::MoviePlayer(FileSystem &fileSystem, QWidget *parent)
    : QWidget(parent)
    , m_fileSystem(fileSystem) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

MoviePlayer::~MoviePlayer() {
    // The player may still read the unwrapped data: it goes first.
    delete m_player;
}

void MoviePlayer::ensureEngine() {
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    // Without a sound device the output stays silent; playback goes on.
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);
    m_video = new QVideoWidget(this);
    m_player->setVideoOutput(m_video);
    m_controls = new PlayerControlBar(m_player, this);
    layout()->addWidget(m_video);
    layout()->addWidget(m_controls);

    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &MoviePlayer::playStateChanged);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &MoviePlayer::onMediaStatusChanged);
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString &message) {
                reportError(mediaRunTimeError(error, message));
            });
    // The movie's size is known only once a frame has arrived. Frames, not
    // size changes, are watched: the next movie may have the same size.
    connect(m_video->videoSink(), &QVideoSink::videoFrameChanged, this, &MoviePlayer::onVideoFrame);
}

void MoviePlayer::setFileName(const QString &path) {
    ensureEngine();
    releaseSource();
    m_fileName = path;
    m_naturalSize = {};
    m_error.reset();
    m_readyReported = false;
    try {
        setSourceFor(path);
    } catch (const RunTimeError &error) {
        reportError(error);
        return;
    }
    m_player->play();
}

void MoviePlayer::setSourceFor(const QString &path) {
    // A missing or unreadable file is reported as the file system says, not
    // as whatever the media back end makes of it.
    m_fileSystem.status(path);
    if (!path.endsWith(QLatin1String("rmi"), Qt::CaseInsensitive)) {
        m_player->setSource(QUrl::fromLocalFile(path));
        return;
    }
    RiffMidiResult riff = unwrapRiffMidi(m_fileSystem.readAll(path));
    switch (riff.status) {
    case RiffMidiResult::Status::NotRiffMidi:
        m_player->setSource(QUrl::fromLocalFile(path));
        return;
    case RiffMidiResult::Status::Damaged:
        throw RunTimeError(InvalidPropertyValue, riff.problem);
    case RiffMidiResult::Status::Unwrapped:
        break;
    }
    // Played from memory: the program writes no files of its own.
    m_unwrapped = std::make_unique<QBuffer>();
    m_unwrapped->setData(riff.midi);
    m_unwrapped->open(QIODevice::ReadOnly);
    m_player->setSourceDevice(m_unwrapped.get(), QUrl(QStringLiteral("unwrapped.mid")));
}

void MoviePlayer::releaseSource() {
    m_player->stop();
    m_player->setSource(QUrl());
    m_unwrapped.reset();
}

void MoviePlayer::play() {
    if (m_player)
        m_player->play();
}

void MoviePlayer::pause() {
    if (m_player)
        m_player->pause();
}

void MoviePlayer::stop() {
    if (m_player)
        m_player->stop();
}

void MoviePlayer::clear() {
    if (m_player)
        releaseSource();
    m_fileName.clear();
    m_naturalSize = {};
    m_error.reset();
}

QMediaPlayer::PlaybackState MoviePlayer::playbackState() const {
    return m_player ? m_player->playbackState() : QMediaPlayer::StoppedState;
}

QMediaPlayer::MediaStatus MoviePlayer::mediaStatus() const {
    return m_player ? m_player->mediaStatus() : QMediaPlayer::NoMedia;
}

void MoviePlayer::onMediaStatusChanged(QMediaPlayer::MediaStatus status) {
    qCDebug(lcPlayer) << m_fileName << status;
    const bool ready = status == QMediaPlayer::LoadedMedia ||
                       status == QMediaPlayer::BufferedMedia ||
                       status == QMediaPlayer::BufferingMedia || status == QMediaPlayer::EndOfMedia;
    if (ready && !m_readyReported && !m_error) {
        m_readyReported = true;
        emit mediaReady();
    }
}

void MoviePlayer::onVideoFrame(const QVideoFrame &frame) {
    if (m_naturalSize.isValid() || !frame.isValid() || frame.size().isEmpty())
        return;
    m_naturalSize = frame.size();
    emit firstFrameShown(m_naturalSize);
}

void MoviePlayer::reportError(const RunTimeError &error) {
    // The back end may report one failure more than once; the user hears of
    // it once per file.
    if (m_error)
        return;
    qCWarning(lcPlayer) << m_fileName << error.number() << error.detail();
    m_error = error;
    emit errorOccurred(error.description());
}

} // namespace glintbox
