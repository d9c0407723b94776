#pragma once

#include <QByteArrayView>
#include <QString>

namespace glintbox {

// Decodes the 8-bit text of a metafile string in the character set of the
// selected font: a Windows code page, or for a symbol font the glyph codes themselves.
QString decodeGdiText(QByteArrayView bytes, int charset, const QString &faceName);

} // namespace glintbox
