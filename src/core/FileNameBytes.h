#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace glintbox {

// Linux file names are bytes and need not be UTF-8; the program keeps names
// and paths as QString. Bytes that are not part of valid UTF-8 become the
// code points U+DC80..U+DCFF, one for each byte, which valid UTF-8 never
// yields: every name turns back into the bytes it came from, so a file whose
// name is not UTF-8 is still found, shown and opened.
QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameToBytes(QStringView name);

// The name as a person reads it: each byte that was not UTF-8 shows as U+FFFD.
QString displayableFileName(QStringView name);

} // namespace glintbox
