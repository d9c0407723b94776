#pragma once

#include "MediaEngine.h"
#include "MovieWindowSize.h"
#include "core/RunTimeError.h"

#include <QSize>
#include <QWidget>
#include <memory>
#include <optional>

class QBuffer;
class QLabel;

namespace glintbox {

class FileSystem;

// The media player `ActiveMovie1`: plays the movie or sound it is given, with
// a control bar under the picture, and reports its play state. The movie
// stands at the requested window size in the middle of the picture area. The
// media engine (a module of its own) is loaded the first time a file is
// given, so that the program's start-up does not pay for it.
class MoviePlayer : public QWidget {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget *parent = nullptr);
    MoviePlayer(FileSystem &fileSystem, QWidget *parent = nullptr);
    ~MoviePlayer() override;

    // Loads the file and starts playing it. A RIFF-MIDI file is unwrapped
    // first. A file that cannot be played, or a media engine that cannot be
    // loaded, is reported by errorOccurred.
    void setFileName(const QString &path);
    QString fileName() const { return m_fileName; }

    void play();
    void pause();
    void stop();
    // Stops and lets go of the file.
    void clear();

    bool hasEngine() const { return m_engine != nullptr; }
    PlaybackState playbackState() const;
    MediaStatus mediaStatus() const;
    // The movie's own size, known once its first frame has been shown.
    QSize naturalSize() const { return m_naturalSize; }
    // The movie window size requested by the zoom presets; the movie's own
    // size until one is requested. It holds for the following movies too.
    void setMovieWindowSize(MovieWindowSize size);
    MovieWindowSize movieWindowSize() const { return m_windowSize; }
    // Where the movie picture stands in the player, empty before the engine.
    QRect movieRect() const;
    // The area above the control bar that the movie is centred in.
    QRect pictureArea() const;

    // The error last reported for the current file, as the program reports it.
    std::optional<RunTimeError> error() const { return m_error; }

signals:
    // Playing, paused or stopped, by the user or by the player.
    void playStateChanged();
    // The file is loaded and can play (sounds have no frame to wait for).
    void mediaReady();
    void firstFrameShown(QSize naturalSize);
    // The file was refused; error() tells the number and the detail.
    void errorOccurred(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ensureEngine();
    void placeMovie();
    void showSoundCaption();
    void releaseSource();
    // The player's source for the file: the file itself, or the MIDI data
    // unwrapped from a RIFF-MIDI file.
    void setSourceFor(const QString &path);
    void onMediaStatusChanged(MediaStatus status);
    void onFrameShown(QSize size);
    void reportError(const RunTimeError &error);

    FileSystem &m_fileSystem;
    QString m_fileName;
    QSize m_naturalSize;
    std::optional<RunTimeError> m_error;
    bool m_readyReported = false;

    MovieWindowSize m_windowSize = MovieWindowSize::Own;
    QWidget *m_screen = nullptr;
    QWidget *m_video = nullptr;
    QLabel *m_soundCaption = nullptr;
    // Holds unwrapped MIDI data while the player reads it.
    std::unique_ptr<QBuffer> m_unwrapped;
    // Declared last, so that it goes first: it may still read the data above.
    std::unique_ptr<MediaEngine> m_engine;
};

} // namespace glintbox
