#pragma once

#include "Picture.h"

#include <QByteArray>

namespace glintbox {

// Decodes a metafile into a vector picture, and a bitmap, GIF, JPEG, icon or
// cursor as decodeRasterPicture does. Throws RunTimeError InvalidPicture for
// anything else, for damaged files and for pictures too large to decode safely.
Picture loadPicture(const QByteArray &bytes);

} // namespace glintbox
