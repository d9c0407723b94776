#pragma once

#include <QByteArray>
#include <QString>

namespace glintbox {

// Text files carry no declared encoding: UTF-8 when the bytes are valid UTF-8
// (a leading byte-order mark is dropped), otherwise Windows-1252, the encoding
// of the files this viewer was made for.
QString decodeText(const QByteArray &bytes);

// Windows-1252 on its own; the five bytes it leaves undefined map to the C1
// control characters of the same value, so every byte decodes.
QString decodeWindows1252(const QByteArray &bytes);

} // namespace glintbox
