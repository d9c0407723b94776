#include "PlayerControlBar.h"

#include <QHBoxLayout>
#include <QMediaPlayer>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace glintbox {

PlayerControlBar::PlayerControlBar(QMediaPlayer *player, QWidget *parent)
    : QWidget(parent)
    , m_player(player)
    , m_playPause(new QToolButton(this))
    , m_position(new QSlider(Qt::Horizontal, this)) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_playPause);
    layout->addWidget(m_position, 1);
    // The keyboard belongs to the file list; the bar is worked by mouse.
    m_playPause->setFocusPolicy(Qt::NoFocus);
    m_position->setFocusPolicy(Qt::NoFocus);

    connect(m_playPause, &QToolButton::clicked, m_player, [this] {
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        else
            m_player->play();
    });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &PlayerControlBar::showState);
    connect(m_player, &QMediaPlayer::durationChanged, this,
            [this](qint64 duration) { m_position->setRange(0, int(duration)); });
    connect(m_player, &QMediaPlayer::positionChanged, this, &PlayerControlBar::showPosition);
    connect(m_position, &QSlider::sliderMoved, m_player, &QMediaPlayer::setPosition);
    connect(m_player, &QMediaPlayer::seekableChanged, m_position, &QSlider::setEnabled);
    showState();
}

void PlayerControlBar::showState() {
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState;
    m_playPause->setIcon(
        style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_playPause->setToolTip(playing ? tr("Pause") : tr("Play"));
}

void PlayerControlBar::showPosition(qint64 position) {
    if (m_position->isSliderDown())
        return;
    const QSignalBlocker blocker(m_position);
    m_position->setValue(int(position));
}

} // namespace glintbox
