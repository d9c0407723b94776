#include "PlayerControlBar.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace glintbox {

namespace {

QString clockText(qint64 ms, bool withHours)
{
    const qint64 seconds = ms / 1000;
    const QString minutesSeconds = QStringLiteral("%1:%2")
                                       .arg(withHours ? (seconds / 60) % 60 : seconds / 60,
                                            withHours ? 2 : 1, 10, QLatin1Char('0'))
                                       .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return withHours ? QString::number(seconds / 3600) + u':' + minutesSeconds : minutesSeconds;
}

QToolButton *barButton(QStyle::StandardPixmap icon, const QString &tip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

constexpr qint64 HourMs = 3600 * 1000;

} // namespace

QString playerTimeText(qint64 positionMs, qint64 durationMs)
{
    const bool withHours = durationMs >= HourMs || positionMs >= HourMs;
    const QString total =
        durationMs > 0 ? clockText(durationMs, withHours) : QStringLiteral("--:--");
    return clockText(std::max<qint64>(positionMs, 0), withHours) + QStringLiteral(" / ") + total;
}

PlayerControlBar::PlayerControlBar(QMediaPlayer *player, QAudioOutput *audio, QWidget *parent)
    : QWidget(parent)
    , m_player(player)
    , m_audio(audio)
    , m_playPause(barButton(QStyle::SP_MediaPlay, tr("Play"), this))
    , m_stop(barButton(QStyle::SP_MediaStop, tr("Stop"), this))
    , m_position(new QSlider(Qt::Horizontal, this))
    , m_time(new QLabel(playerTimeText(0, 0), this))
    , m_mute(barButton(QStyle::SP_MediaVolume, tr("Mute"), this))
    , m_volume(new QSlider(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("playerControls"));
    m_playPause->setObjectName(QStringLiteral("playPause"));
    m_stop->setObjectName(QStringLiteral("stop"));
    m_position->setObjectName(QStringLiteral("position"));
    m_time->setObjectName(QStringLiteral("time"));
    m_mute->setObjectName(QStringLiteral("mute"));
    m_volume->setObjectName(QStringLiteral("volume"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(m_playPause);
    layout->addWidget(m_stop);
    layout->addWidget(m_position, 1);
    layout->addWidget(m_time);
    layout->addWidget(m_mute);
    layout->addWidget(m_volume);
    m_position->setFocusPolicy(Qt::NoFocus);
    m_position->setToolTip(tr("Position"));
    m_position->setEnabled(false);
    m_volume->setFocusPolicy(Qt::NoFocus);
    m_volume->setRange(0, 100);
    m_volume->setFixedWidth(80);
    m_volume->setToolTip(tr("Volume"));
    m_mute->setCheckable(true);
    // The time label keeps its width while the digits change.
    m_time->setMinimumWidth(
        m_time->fontMetrics().horizontalAdvance(QStringLiteral("0:00:00 / 0:00:00")));
    m_time->setAlignment(Qt::AlignCenter);

    connect(m_playPause, &QToolButton::clicked, this, [this] {
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        else
            m_player->play();
    });
    connect(m_stop, &QToolButton::clicked, this, [this] { m_player->stop(); });
    connect(m_position, &QSlider::sliderMoved, this,
            [this](int position) { m_player->setPosition(position); });
    connectPlayer();
    connect(m_volume, &QSlider::valueChanged, m_audio,
            [this](int volume) { m_audio->setVolume(float(volume) / 100.0f); });
    connect(m_mute, &QToolButton::toggled, m_audio, &QAudioOutput::setMuted);
    connect(m_audio, &QAudioOutput::volumeChanged, this, &PlayerControlBar::showVolume);
    connect(m_audio, &QAudioOutput::mutedChanged, this, &PlayerControlBar::showVolume);
    showState();
    showVolume();
}

void PlayerControlBar::setPlayer(QMediaPlayer *player)
{
    m_player->disconnect(this);
    m_player->disconnect(m_position);
    m_player = player;
    connectPlayer();
    showState();
    showPosition(0);
}

void PlayerControlBar::connectPlayer()
{
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &PlayerControlBar::showState);
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 duration) {
        m_position->setRange(0, int(duration));
        showPosition(m_player->position());
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, &PlayerControlBar::showPosition);
    connect(m_player, &QMediaPlayer::seekableChanged, m_position, &QSlider::setEnabled);
}

void PlayerControlBar::showState()
{
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState;
    m_playPause->setIcon(
        style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_playPause->setToolTip(playing ? tr("Pause") : tr("Play"));
}

void PlayerControlBar::showPosition(qint64 position)
{
    m_time->setText(playerTimeText(position, m_player->duration()));
    if (m_position->isSliderDown())
        return;
    const QSignalBlocker blocker(m_position);
    m_position->setValue(int(position));
}

void PlayerControlBar::showVolume()
{
    const QSignalBlocker volumeBlocker(m_volume);
    const QSignalBlocker muteBlocker(m_mute);
    m_volume->setValue(int(std::lround(m_audio->volume() * 100.0f)));
    m_mute->setChecked(m_audio->isMuted());
    m_mute->setIcon(style()->standardIcon(m_audio->isMuted() ? QStyle::SP_MediaVolumeMuted
                                                             : QStyle::SP_MediaVolume));
}

} // namespace glintbox
