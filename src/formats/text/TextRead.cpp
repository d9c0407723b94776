#include "TextRead.h"

#include "core/FileSystem.h"
#include "core/TextDecoding.h"

namespace glintbox {

TextReadResult shortenForRead(const QByteArray &bytes, qint64 fileSize)
{
    const qsizetype marker = bytes.indexOf(EndOfFileMarker);
    const qint64 readable = marker >= 0 ? marker : bytes.size();
    const qint64 requested = qMax<qint64>(fileSize, 0);

    // Each failed pass asks for one byte less, so the first request that fits
    // is the readable length, reached after (requested - readable) cuts.
    const qint64 cuts = qMax<qint64>(requested - readable, 0);
    TextReadResult result;
    if (cuts >= MaxShortenCount) {
        result.shortenCount = MaxShortenCount;
        return result;
    }
    result.shortenCount = int(cuts);
    const QByteArray read = bytes.left(qsizetype(requested - cuts));
    DecodedText decoded = decodeTextFile(read);
    result.text = std::move(decoded.text);
    result.form = {decoded.encoding, decoded.byteOrderMark, lineBreakOf(read)};
    result.whole = cuts == 0 && requested == bytes.size();
    return result;
}

TextReadResult readFileAsText(FileSystem &fs, const QString &path, qint64 fileSize)
{
    return shortenForRead(fs.readAll(path), fileSize);
}

} // namespace glintbox
