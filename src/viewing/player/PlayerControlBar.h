#pragma once

#include <QWidget>

class QMediaPlayer;
class QSlider;
class QToolButton;

namespace glintbox {

// The player's small control bar: play/pause and the position.
class PlayerControlBar : public QWidget {
    Q_OBJECT
public:
    explicit PlayerControlBar(QMediaPlayer *player, QWidget *parent = nullptr);

private:
    void showState();
    void showPosition(qint64 position);

    QMediaPlayer *m_player;
    QToolButton *m_playPause;
    QSlider *m_position;
};

} // namespace glintbox
