#include "MoviePlayer.h"

#include "PlayerControlBar.h"
#include "PlayerErrors.h"
#include "VideoFrameView.h"
#include "core/FileSystem.h"
#include "formats/midi/RiffMidi.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoFrame>

Q_LOGGING_CATEGORY(lcPlayer, "glintbox.player", QtWarningMsg)

namespace glintbox {

MoviePlayer::MoviePlayer(QWidget *parent)
    : MoviePlayer(FileSystem::local(), parent)
{
}

MoviePlayer::MoviePlayer(FileSystem &fileSystem, QWidget *parent)
    : QWidget(parent)
    , m_fileSystem(fileSystem)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

MoviePlayer::~MoviePlayer()
{
    // The player may still read the unwrapped data: it goes first.
    delete m_player;
}

void MoviePlayer::ensureEngine()
{
    if (m_player)
        return;
    // Without a sound device the output stays silent; playback goes on.
    m_audio = new QAudioOutput(this);
    // The picture area has no layout: the movie is placed in it at its window
    // size, and a movie larger than the area shows its middle.
    m_screen = new QWidget(this);
    m_screen->setObjectName(QStringLiteral("movieScreen"));
    m_screen->setAutoFillBackground(true);
    QPalette black = m_screen->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, QColor(0xd0, 0xd0, 0xd0));
    m_screen->setPalette(black);
    m_screen->installEventFilter(this);
    m_video = new VideoFrameView(m_screen);
    createMediaPlayer();
    m_soundCaption = new QLabel(m_screen);
    m_soundCaption->setObjectName(QStringLiteral("soundCaption"));
    m_soundCaption->setAlignment(Qt::AlignCenter);
    m_soundCaption->hide();
    m_controls = new PlayerControlBar(m_player, m_audio, this);
    m_controls->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->addWidget(m_screen, 1);
    column->addWidget(m_controls);

    // The movie's size is known only once a frame has arrived. Frames, not
    // size changes, are watched: the next movie may have the same size.
    connect(m_video, &VideoFrameView::frameShown, this, &MoviePlayer::onVideoFrame);
}

void MoviePlayer::createMediaPlayer()
{
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_video->videoSink());
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &MoviePlayer::playStateChanged);
    connect(m_player, &QMediaPlayer::hasVideoChanged, this, &MoviePlayer::showSoundCaption);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &MoviePlayer::onMediaStatusChanged);
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString &message) {
                reportError(mediaRunTimeError(error, message));
            });
}

void MoviePlayer::renewMediaPlayer()
{
    QMediaPlayer *failed = m_player;
    failed->disconnect(this);
    failed->stop();
    failed->setVideoSink(nullptr);
    failed->setAudioOutput(nullptr);
    createMediaPlayer();
    m_controls->setPlayer(m_player);
    failed->deleteLater();
}

void MoviePlayer::setFileName(const QString &path)
{
    ensureEngine();
    // The back end does not always recover from a file it refused: the next
    // file gets a fresh media player, and late reports of the failed one are
    // not heard.
    if (m_error)
        renewMediaPlayer();
    // Going straight to the next source spares the back end one teardown; the
    // previous file's buffer is let go only once the new source is set.
    m_player->stop();
    m_fileName = path;
    m_naturalSize = {};
    m_video->clear();
    placeMovie();
    showSoundCaption();
    m_error.reset();
    m_readyReported = false;
    try {
        setSourceFor(path);
    } catch (const RunTimeError &error) {
        // Nothing of the previous file may stay on show under this name.
        releaseSource();
        reportError(error);
        return;
    }
    m_player->play();
}

void MoviePlayer::setSourceFor(const QString &path)
{
    // A missing or unreadable file is reported as the file system says, not
    // as whatever the media back end makes of it; a pipe or device could keep
    // the back end waiting for ever.
    requireRegularFile(m_fileSystem.status(path), path);
    if (!path.endsWith(QLatin1String("rmi"), Qt::CaseInsensitive)) {
        m_player->setSource(QUrl::fromLocalFile(path));
        m_unwrapped.reset();
        return;
    }
    RiffMidiResult riff = unwrapRiffMidi(m_fileSystem.readAll(path));
    switch (riff.status) {
    case RiffMidiResult::Status::NotRiffMidi:
        m_player->setSource(QUrl::fromLocalFile(path));
        m_unwrapped.reset();
        return;
    case RiffMidiResult::Status::Damaged:
        throw RunTimeError(InvalidPropertyValue, riff.problem);
    case RiffMidiResult::Status::Unwrapped:
        break;
    }
    // Played from memory: the program writes no files of its own.
    auto unwrapped = std::make_unique<QBuffer>();
    unwrapped->setData(riff.midi);
    unwrapped->open(QIODevice::ReadOnly);
    m_player->setSourceDevice(unwrapped.get(), QUrl(QStringLiteral("unwrapped.mid")));
    m_unwrapped = std::move(unwrapped);
}

void MoviePlayer::releaseSource()
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_unwrapped.reset();
}

void MoviePlayer::play()
{
    if (m_player)
        m_player->play();
}

void MoviePlayer::pause()
{
    if (m_player)
        m_player->pause();
}

void MoviePlayer::stop()
{
    if (m_player)
        m_player->stop();
}

void MoviePlayer::clear()
{
    if (m_player) {
        // A player that refused its file is not trusted with the next one.
        if (m_error)
            renewMediaPlayer();
        else
            releaseSource();
        m_video->clear();
    }
    m_fileName.clear();
    m_naturalSize = {};
    m_error.reset();
    if (m_player)
        showSoundCaption();
}

QMediaPlayer::PlaybackState MoviePlayer::playbackState() const
{
    return m_player ? m_player->playbackState() : QMediaPlayer::StoppedState;
}

QMediaPlayer::MediaStatus MoviePlayer::mediaStatus() const
{
    return m_player ? m_player->mediaStatus() : QMediaPlayer::NoMedia;
}

void MoviePlayer::onMediaStatusChanged(QMediaPlayer::MediaStatus status)
{
    qCDebug(lcPlayer) << m_fileName << status;
    showSoundCaption();
    const bool ready = status == QMediaPlayer::LoadedMedia ||
                       status == QMediaPlayer::BufferedMedia ||
                       status == QMediaPlayer::BufferingMedia || status == QMediaPlayer::EndOfMedia;
    if (ready && !m_readyReported && !m_error) {
        m_readyReported = true;
        emit mediaReady();
    }
}

void MoviePlayer::onVideoFrame(const QVideoFrame &frame)
{
    if (m_naturalSize.isValid() || !frame.isValid() || frame.size().isEmpty())
        return;
    m_naturalSize = frame.size();
    placeMovie();
    emit firstFrameShown(m_naturalSize);
}

void MoviePlayer::setMovieWindowSize(MovieWindowSize size)
{
    m_windowSize = size;
    placeMovie();
}

QRect MoviePlayer::pictureArea() const
{
    return m_screen ? m_screen->geometry() : QRect();
}

QRect MoviePlayer::movieRect() const
{
    return m_video ? m_video->geometry().translated(m_screen->pos()) : QRect();
}

void MoviePlayer::placeMovie()
{
    if (!m_video)
        return;
    const QRect area = m_screen->rect();
    m_soundCaption->setGeometry(area);
    // Until the first frame tells the movie's size, the picture takes the area.
    if (!m_naturalSize.isValid()) {
        m_video->setGeometry(area);
        return;
    }
    const QSize screenSize = screen() ? screen()->size() : area.size();
    m_video->setGeometry(movieWindowRect(m_windowSize, m_naturalSize, screenSize, area));
}

void MoviePlayer::showSoundCaption()
{
    // A sound has no picture: the area names what is playing instead.
    const bool sound = !m_fileName.isEmpty() && !m_player->hasVideo() &&
                       m_player->mediaStatus() != QMediaPlayer::LoadingMedia;
    m_soundCaption->setText(QStringLiteral("\u266B  ") + QFileInfo(m_fileName).fileName());
    m_soundCaption->setVisible(sound);
    m_video->setVisible(!sound);
}

bool MoviePlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_screen && event->type() == QEvent::Resize)
        placeMovie();
    return QWidget::eventFilter(watched, event);
}

void MoviePlayer::reportError(const RunTimeError &error)
{
    // The back end may report one failure more than once; the user hears of
    // it once per file.
    if (m_error)
        return;
    qCWarning(lcPlayer) << m_fileName << error.number() << error.detail();
    m_error = error;
    emit errorOccurred(error.description());
}

} // namespace glintbox
