#include "MediaPlayerEngine.h"

#include "PlayerControlBar.h"
#include "VideoFrameView.h"

#include <QAudioOutput>
#include <QUrl>
#include <QVideoFrame>

namespace glintbox {

namespace {

// The host's enumerations follow the media library's, value for value.
static_assert(int(PlaybackState::Stopped) == QMediaPlayer::StoppedState &&
              int(PlaybackState::Playing) == QMediaPlayer::PlayingState &&
              int(PlaybackState::Paused) == QMediaPlayer::PausedState);
static_assert(int(MediaStatus::NoMedia) == QMediaPlayer::NoMedia &&
              int(MediaStatus::Loading) == QMediaPlayer::LoadingMedia &&
              int(MediaStatus::Loaded) == QMediaPlayer::LoadedMedia &&
              int(MediaStatus::Stalled) == QMediaPlayer::StalledMedia &&
              int(MediaStatus::Buffering) == QMediaPlayer::BufferingMedia &&
              int(MediaStatus::Buffered) == QMediaPlayer::BufferedMedia &&
              int(MediaStatus::EndOfMedia) == QMediaPlayer::EndOfMedia &&
              int(MediaStatus::Invalid) == QMediaPlayer::InvalidMedia);
static_assert(int(MediaError::None) == QMediaPlayer::NoError &&
              int(MediaError::Resource) == QMediaPlayer::ResourceError &&
              int(MediaError::Format) == QMediaPlayer::FormatError &&
              int(MediaError::Network) == QMediaPlayer::NetworkError &&
              int(MediaError::AccessDenied) == QMediaPlayer::AccessDeniedError);

PlaybackState ours(QMediaPlayer::PlaybackState state)
{
    return PlaybackState(state);
}

MediaStatus ours(QMediaPlayer::MediaStatus status)
{
    return MediaStatus(status);
}

MediaError ours(QMediaPlayer::Error error)
{
    return MediaError(error);
}

} // namespace

MediaPlayerEngine::MediaPlayerEngine(QWidget *parent, Listener listener)
    : m_listener(std::move(listener))
    , m_audio(new QAudioOutput(parent))
    , m_video(new VideoFrameView(parent))
{
    createMediaPlayer();
    m_controls = new PlayerControlBar(m_player, m_audio, parent);
    QObject::connect(m_video, &VideoFrameView::frameShown, m_video,
                     [this](const QVideoFrame &frame) {
                         m_listener.frameShown(frame.isValid() ? frame.size() : QSize());
                     });
}

MediaPlayerEngine::~MediaPlayerEngine()
{
    // The player may still read its source device: it goes first.
    delete m_player;
    delete m_controls;
    delete m_video;
    delete m_audio;
}

void MediaPlayerEngine::createMediaPlayer()
{
    m_player = new QMediaPlayer(m_audio->parent());
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_video->videoSink());
    QObject::connect(m_player, &QMediaPlayer::playbackStateChanged, m_player,
                     [this] { m_listener.playbackStateChanged(); });
    QObject::connect(m_player, &QMediaPlayer::hasVideoChanged, m_player,
                     [this] { m_listener.hasVideoChanged(); });
    QObject::connect(
        m_player, &QMediaPlayer::mediaStatusChanged, m_player,
        [this](QMediaPlayer::MediaStatus status) { m_listener.mediaStatusChanged(ours(status)); });
    QObject::connect(m_player, &QMediaPlayer::errorOccurred, m_player,
                     [this](QMediaPlayer::Error error, const QString &detail) {
                         m_listener.errorOccurred(ours(error), detail);
                     });
}

void MediaPlayerEngine::renew()
{
    QMediaPlayer *failed = m_player;
    failed->disconnect();
    failed->stop();
    failed->setVideoSink(nullptr);
    failed->setAudioOutput(nullptr);
    createMediaPlayer();
    m_controls->setPlayer(m_player);
    failed->deleteLater();
}

QWidget *MediaPlayerEngine::picture()
{
    return m_video;
}

QWidget *MediaPlayerEngine::controlBar()
{
    return m_controls;
}

void MediaPlayerEngine::setSource(const QUrl &url)
{
    m_player->setSource(url);
}

void MediaPlayerEngine::setSourceDevice(QIODevice *device, const QUrl &name)
{
    m_player->setSourceDevice(device, name);
}

void MediaPlayerEngine::play()
{
    m_player->play();
}

void MediaPlayerEngine::pause()
{
    m_player->pause();
}

void MediaPlayerEngine::stop()
{
    m_player->stop();
}

void MediaPlayerEngine::clearPicture()
{
    m_video->clear();
}

PlaybackState MediaPlayerEngine::playbackState() const
{
    return ours(m_player->playbackState());
}

MediaStatus MediaPlayerEngine::mediaStatus() const
{
    return ours(m_player->mediaStatus());
}

bool MediaPlayerEngine::hasVideo() const
{
    return m_player->hasVideo();
}

} // namespace glintbox
