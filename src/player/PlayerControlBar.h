#pragma once

#include <QString>
#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;

namespace glintbox {

// Elapsed and total time as the control bar shows them: "0:07 / 3:25", with
// hours when the total reaches an hour ("0:00:07 / 1:02:03"). An unknown
// total shows as "--:--".
QString playerTimeText(qint64 positionMs, qint64 durationMs);

// The player's control bar: play/pause, stop, the position with elapsed and
// total time, mute and volume. It is worked by mouse; the keyboard stays
// with the file list.
class PlayerControlBar : public QWidget {
    Q_OBJECT
public:
    PlayerControlBar(QMediaPlayer *player, QAudioOutput *audio, QWidget *parent = nullptr);

    // Works another media player from now on (the old one is going away).
    void setPlayer(QMediaPlayer *player);

private:
    void connectPlayer();
    void showState();
    void showPosition(qint64 position);
    void showVolume();

    QMediaPlayer *m_player;
    QAudioOutput *m_audio;
    QToolButton *m_playPause;
    QToolButton *m_stop;
    QSlider *m_position;
    QLabel *m_time;
    QToolButton *m_mute;
    QSlider *m_volume;
};

} // namespace glintbox
