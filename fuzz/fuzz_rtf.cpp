// Feeds arbitrary bytes to the RTF reader, and what it reads to the writer and the reader again.
#include "OffscreenApplication.h"
#include "formats/rtf/RtfReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = glintbox::fuzzInput(data, size);
    glintbox::RtfReadOptions options;
    // A tiny rendering keeps the second read's picture budget comparable to the first's.
    options.renderMetafile = [](const QByteArray &, glintbox::RtfReadOptions::MetafileKind, QSize) {
        QImage image(1, 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    };
    const glintbox::RtfReadResult first = glintbox::readRtf(bytes, options);
    const QByteArray written = glintbox::writeRtf(*first.document);
    const glintbox::RtfReadResult second = glintbox::readRtf(written);
    // What the writer makes must read back without complaint.
    if (!second.warnings.isEmpty())
        abort();
    return 0;
}
