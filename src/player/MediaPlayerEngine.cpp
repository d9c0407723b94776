#include "MediaPlayerEngine.h"

#include "PlayerControlBar.h"
#include "VideoFrameView.h"

#include <QAudioOutput>
#include <QUrl>
#include <QVideoFrame>

namespace glintbox {

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
        [this](QMediaPlayer::MediaStatus status) { m_listener.mediaStatusChanged(status); });
    QObject::connect(m_player, &QMediaPlayer::errorOccurred, m_player,
                     [this](QMediaPlayer::Error error, const QString &detail) {
                         m_listener.errorOccurred(error, detail);
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

QMediaPlayer::PlaybackState MediaPlayerEngine::playbackState() const
{
    return m_player->playbackState();
}

QMediaPlayer::MediaStatus MediaPlayerEngine::mediaStatus() const
{
    return m_player->mediaStatus();
}

bool MediaPlayerEngine::hasVideo() const
{
    return m_player->hasVideo();
}

} // namespace glintbox
