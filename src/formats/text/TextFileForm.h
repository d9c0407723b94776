#pragma once

#include "core/TextDecoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace glintbox {

enum class LineBreak { Lf, CrLf, Cr };

// How a text file holds its text, so that a saved text keeps the file's own
// encoding and line breaks.
struct TextFileForm {
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
    LineBreak lineBreak = LineBreak::Lf;
};

// The line break a file uses most; LF, the system's own, when it has none.
LineBreak lineBreakOf(QByteArrayView bytes);

// The bytes of a file holding the text (lines joined with "\n") in this form,
// ending in a line break. A text Windows-1252 cannot hold is written as UTF-8.
QByteArray textFileBytes(const QString &text, const TextFileForm &form);

} // namespace glintbox
