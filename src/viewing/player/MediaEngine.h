#pragma once

#include <QSize>
#include <QString>

#include <functional>

class QIODevice;
class QUrl;
class QWidget;

// The media engine lives in a module of its own (glintbox-player), loaded the
// first time a movie or sound is shown: linked in, the media library and the
// sound, codec and network libraries it pulls in would cost every start-up
// their loading. Host and module meet only through this interface.
namespace glintbox {

// The player's state, its file's status and its errors, in the media library's
// order; the module translates them, so that only it sees that library.
enum class PlaybackState { Stopped, Playing, Paused };
enum class MediaStatus {
    NoMedia,
    Loading,
    Loaded,
    Stalled,
    Buffering,
    Buffered,
    EndOfMedia,
    Invalid
};
enum class MediaError { None, Resource, Format, Network, AccessDenied };

// One media player with its picture and its control bar.
class MediaEngine {
public:
    // Called on the host's thread, and never for a player that renew() let go.
    struct Listener {
        std::function<void()> playbackStateChanged;
        std::function<void(MediaStatus)> mediaStatusChanged;
        std::function<void()> hasVideoChanged;
        std::function<void(MediaError, const QString &detail)> errorOccurred;
        // The size of the frame now shown; empty for an empty frame.
        std::function<void(QSize)> frameShown;
    };

    virtual ~MediaEngine() = default;
    // The movie's frames, drawn like any other widget's content.
    virtual QWidget *picture() = 0;
    // Play/pause, stop, position, mute and volume.
    virtual QWidget *controlBar() = 0;

    virtual void setSource(const QUrl &url) = 0;
    // The device stays open and alive while the player reads it.
    virtual void setSourceDevice(QIODevice *device, const QUrl &name) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Forgets the frame on show.
    virtual void clearPicture() = 0;
    // Lets go of the media player for a fresh one: the back end does not
    // always recover from a file it refused.
    virtual void renew() = 0;

    virtual PlaybackState playbackState() const = 0;
    virtual MediaStatus mediaStatus() const = 0;
    virtual bool hasVideo() const = 0;
};

// The module's one entry point. The engine's widgets are children of the parent.
using CreateMediaEngine = MediaEngine *(*)(QWidget *parent, MediaEngine::Listener listener);
constexpr char CreateMediaEngineSymbol[] = "glintboxCreateMediaEngine";

} // namespace glintbox
