#include "PlayerErrors.h"

namespace glintbox {

RunTimeError mediaRunTimeError(MediaError error, const QString &detail)
{
    switch (error) {
    case MediaError::AccessDenied:
        return RunTimeError(PermissionDenied, detail);
    case MediaError::Network:
        return RunTimeError(DeviceUnavailable, detail);
    case MediaError::None:
    case MediaError::Resource:
    case MediaError::Format:
        break;
    }
    return RunTimeError(InvalidPropertyValue, detail);
}

} // namespace glintbox
