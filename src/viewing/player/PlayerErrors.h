#pragma once

#include "MediaEngine.h"
#include "core/RunTimeError.h"

namespace glintbox {

// The run-time error the program reports when the media player refuses a
// file: a file it cannot read is a permission error, one it cannot play is an
// invalid value for the player's file name.
RunTimeError mediaRunTimeError(MediaError error, const QString &detail);

} // namespace glintbox
