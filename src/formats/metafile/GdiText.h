#pragma once

#include <QByteArrayView>
#include <QString>

namespace glintbox {

// Decodes the 8-bit text of a metafile string in the character set of the
// selected font (a Windows code page, or the Symbol font's own set).
QString decodeGdiText(QByteArrayView bytes, int charset, const QString &faceName);

// Maps characters of the Symbol font (byte codes, or their private-use forms
// U+F020..U+F0FF) onto the Unicode characters they show.
QString mapSymbolFont(const QString &text);

// True when the face draws with the Symbol font's own character set.
bool isSymbolFace(const QString &faceName);

} // namespace glintbox
