#include "MoviePlayer.h"

#include "PlayerErrors.h"
#include "core/FileSystem.h"
#include "core/ProgramModule.h"
#include "formats/midi/RiffMidi.h"

#include <QBuffer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

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

MoviePlayer::~MoviePlayer() = default;

void MoviePlayer::ensureEngine()
{
    if (m_engine)
        return;
    static ProgramModule module("glintbox-player", CreateMediaEngineSymbol);
    const auto create = module.entry<CreateMediaEngine>();
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
    MediaEngine::Listener listener;
    listener.playbackStateChanged = [this] { emit playStateChanged(); };
    listener.hasVideoChanged = [this] { showSoundCaption(); };
    listener.mediaStatusChanged = [this](MediaStatus status) { onMediaStatusChanged(status); };
    listener.errorOccurred = [this](MediaError error, const QString &detail) {
        reportError(mediaRunTimeError(error, detail));
    };
    // The movie's size is known only once a frame has arrived. Frames, not
    // size changes, are watched: the next movie may have the same size.
    listener.frameShown = [this](QSize size) { onFrameShown(size); };
    m_engine.reset(create(this, std::move(listener)));
    m_video = m_engine->picture();
    m_video->setParent(m_screen);
    m_video->show();
    m_soundCaption = new QLabel(m_screen);
    m_soundCaption->setObjectName(QStringLiteral("soundCaption"));
    m_soundCaption->setAlignment(Qt::AlignCenter);
    m_soundCaption->hide();
    QWidget *controls = m_engine->controlBar();
    controls->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->addWidget(m_screen, 1);
    column->addWidget(controls);
}

void MoviePlayer::setFileName(const QString &path)
{
    try {
        ensureEngine();
    } catch (const RunTimeError &error) {
        m_fileName = path;
        m_error.reset();
        reportError(error);
        return;
    }
    // The back end does not always recover from a file it refused: the next
    // file gets a fresh media player, and late reports of the failed one are
    // not heard.
    if (m_error)
        m_engine->renew();
    // Going straight to the next source spares the back end one teardown; the
    // previous file's buffer is let go only once the new source is set.
    m_engine->stop();
    m_fileName = path;
    m_naturalSize = {};
    m_engine->clearPicture();
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
    m_engine->play();
}

void MoviePlayer::setSourceFor(const QString &path)
{
    // A missing or unreadable file is reported as the file system says, not
    // as whatever the media back end makes of it; a pipe or device could keep
    // the back end waiting for ever.
    requireRegularFile(m_fileSystem.status(path), path);
    if (!path.endsWith(QLatin1String("rmi"), Qt::CaseInsensitive)) {
        m_engine->setSource(QUrl::fromLocalFile(path));
        m_unwrapped.reset();
        return;
    }
    RiffMidiResult riff = unwrapRiffMidi(m_fileSystem.readAll(path));
    switch (riff.status) {
    case RiffMidiResult::Status::NotRiffMidi:
        m_engine->setSource(QUrl::fromLocalFile(path));
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
    m_engine->setSourceDevice(unwrapped.get(), QUrl(QStringLiteral("unwrapped.mid")));
    m_unwrapped = std::move(unwrapped);
}

void MoviePlayer::releaseSource()
{
    m_engine->stop();
    m_engine->setSource(QUrl());
    m_unwrapped.reset();
}

void MoviePlayer::play()
{
    if (m_engine)
        m_engine->play();
}

void MoviePlayer::pause()
{
    if (m_engine)
        m_engine->pause();
}

void MoviePlayer::stop()
{
    if (m_engine)
        m_engine->stop();
}

void MoviePlayer::clear()
{
    if (m_engine) {
        // A player that refused its file is not trusted with the next one.
        if (m_error)
            m_engine->renew();
        else
            releaseSource();
        m_engine->clearPicture();
    }
    m_fileName.clear();
    m_naturalSize = {};
    m_error.reset();
    if (m_engine)
        showSoundCaption();
}

PlaybackState MoviePlayer::playbackState() const
{
    return m_engine ? m_engine->playbackState() : PlaybackState::Stopped;
}

MediaStatus MoviePlayer::mediaStatus() const
{
    return m_engine ? m_engine->mediaStatus() : MediaStatus::NoMedia;
}

void MoviePlayer::onMediaStatusChanged(MediaStatus status)
{
    qCDebug(lcPlayer) << m_fileName << "media status" << int(status);
    showSoundCaption();
    const bool ready = status == MediaStatus::Loaded || status == MediaStatus::Buffered ||
                       status == MediaStatus::Buffering || status == MediaStatus::EndOfMedia;
    if (ready && !m_readyReported && !m_error) {
        m_readyReported = true;
        emit mediaReady();
    }
}

void MoviePlayer::onFrameShown(QSize size)
{
    if (m_naturalSize.isValid() || size.isEmpty())
        return;
    m_naturalSize = size;
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
    const bool sound = !m_fileName.isEmpty() && !m_engine->hasVideo() &&
                       m_engine->mediaStatus() != MediaStatus::Loading;
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
