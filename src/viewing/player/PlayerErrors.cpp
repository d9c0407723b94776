#include "PlayerErrors.h"

namespace glintbox {

RunTimeError mediaRunTimeError(QMediaPlayer::Error error, const QString &detail)
{
    switch (error) {
    case QMediaPlayer::AccessDeniedError:
        return RunTimeError(PermissionDenied, detail);
    case QMediaPlayer::NetworkError:
        return RunTimeError(DeviceUnavailable, detail);
    case QMediaPlayer::NoError:
    case QMediaPlayer::ResourceError:
    case QMediaPlayer::FormatError:
        break;
    }
    return RunTimeError(InvalidPropertyValue, detail);
}

} // namespace glintbox
