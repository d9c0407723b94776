#pragma once

#include "viewing/player/MediaEngine.h"

#include <QMediaPlayer>
#include <QPointer>

class QAudioOutput;

namespace glintbox {

class PlayerControlBar;
class VideoFrameView;

// The media engine on Qt's media player: frames drawn by a VideoFrameView, the
// sound through the default output (silent without a sound device).
class MediaPlayerEngine final : public MediaEngine {
public:
    MediaPlayerEngine(QWidget *parent, Listener listener);
    ~MediaPlayerEngine() override;

    QWidget *picture() override;
    QWidget *controlBar() override;
    void setSource(const QUrl &url) override;
    void setSourceDevice(QIODevice *device, const QUrl &name) override;
    void play() override;
    void pause() override;
    void stop() override;
    void clearPicture() override;
    void renew() override;
    PlaybackState playbackState() const override;
    MediaStatus mediaStatus() const override;
    bool hasVideo() const override;

private:
    void createMediaPlayer();

    Listener m_listener;
    QAudioOutput *m_audio;
    VideoFrameView *m_video;
    QPointer<QMediaPlayer> m_player;
    PlayerControlBar *m_controls;
};

} // namespace glintbox
