#pragma once

#include "TextFileForm.h"

#include <QByteArray>
#include <QString>

namespace glintbox {

class FileSystem;

// The outcome of reading a file as text: the text, how many times the
// requested length had to be cut by one byte before the read fitted, and how
// the file holds its text.
struct TextReadResult {
    QString text;
    int shortenCount = 0;
    TextFileForm form;
    // The text holds every byte of the file: no end-of-file marker cut it
    // short and the file did not grow or shrink while it was measured and read.
    bool whole = false;
};

// After this many cuts the read gives up and the text stays empty.
constexpr int MaxShortenCount = 200;

// The end-of-file marker byte: a text read ends there.
constexpr char EndOfFileMarker = 26;

// The outcome of asking for fileSize bytes from these bytes: the request fits
// when that many bytes lie before the first end-of-file marker (or the end of
// the data); otherwise it is cut by one byte at a time until it fits, giving up
// with an empty text after MaxShortenCount cuts.
TextReadResult shortenForRead(const QByteArray &bytes, qint64 fileSize);

// Reads the whole file once through fs (throws RunTimeError when it cannot be
// opened or read) and applies shortenForRead for fileSize, the length measured
// before the read.
TextReadResult readFileAsText(FileSystem &fs, const QString &path, qint64 fileSize);

} // namespace glintbox
