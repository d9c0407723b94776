#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace glintbox {

// The encodings text files are read in.
enum class TextEncoding { Utf8, Windows1252 };

// A text as decoded from a file's bytes, with what it takes to write it back
// the same way.
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
};

// Text files carry no declared encoding: UTF-8 when the bytes are valid UTF-8
// (a leading byte-order mark is dropped), otherwise Windows-1252, the encoding
// of the files this viewer was made for.
DecodedText decodeTextFile(const QByteArray &bytes);
QString decodeText(const QByteArray &bytes);

// Windows-1252 on its own; the five bytes it leaves undefined map to the C1
// control characters of the same value, so every byte decodes.
QString decodeWindows1252(const QByteArray &bytes);

// The text in Windows-1252, byte for byte the reverse of decodeWindows1252;
// nothing when the text holds a character Windows-1252 cannot hold.
std::optional<QByteArray> encodeWindows1252(const QString &text);

} // namespace glintbox
