#pragma once

#include <QByteArray>
#include <QString>

namespace glintbox {

// File names are bytes: Linux does not require them to be UTF-8. A name or
// path is held as a QString that carries its bytes exactly: valid UTF-8 is
// decoded, and each byte that is not part of valid UTF-8 becomes one lone
// surrogate U+DC80..U+DCFF. The file layer turns it back into the same bytes,
// so every file opens by the name the file system gave.
QString fileNameFromBytes(const QByteArray &bytes);
QByteArray fileNameBytes(const QString &name);

// The name for the eye: the stand-ins for stray bytes and any control
// character show as the replacement character, so that a name never breaks a
// line or hides a character.
QString fileNameForDisplay(const QString &name);

} // namespace glintbox
