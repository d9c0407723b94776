// The text read on arbitrary bytes and claimed lengths, checked against the
// retry loop it replaces: read the claimed length, and on a short read cut the
// length by one and read again, giving up after 200 cuts.

#include "core/TextDecoding.h"
#include "formats/text/TextRead.h"

#include <cstdint>
#include <cstdlib>

using namespace glintbox;

namespace {

TextReadResult retryLoop(const QByteArray &bytes, qint64 fileSize)
{
    const qsizetype marker = bytes.indexOf(EndOfFileMarker);
    const qint64 readable = marker >= 0 ? marker : bytes.size();
    TextReadResult result;
    for (qint64 length = fileSize;; --length) {
        if (length <= readable) {
            result.text = decodeText(bytes.left(qsizetype(length)));
            result.shortenCount = int(fileSize - length);
            return result;
        }
        if (fileSize - length + 1 == MaxShortenCount) {
            result.shortenCount = MaxShortenCount;
            return result;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes say how far the measured length is off the data.
    const int offset = int(data[0] | data[1] << 8) - 32768;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const qint64 fileSize = qMax<qint64>(0, bytes.size() + offset);

    const TextReadResult result = shortenForRead(bytes, fileSize);
    const TextReadResult expected = retryLoop(bytes, fileSize);
    if (result.shortenCount != expected.shortenCount || result.text != expected.text)
        std::abort();
    return 0;
}
