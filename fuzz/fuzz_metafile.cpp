// Feeds arbitrary bytes to the metafile reader and renders what it accepts.
#include "OffscreenApplication.h"
#include "core/RunTimeError.h"
#include "formats/metafile/Metafile.h"

#include <QImage>

using namespace glintbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = glintbox::fuzzInput(data, size);
    Metafile::looksLikeMetafile(bytes.left(64));
    try {
        const Metafile picture = Metafile::fromBytes(bytes);
        picture.naturalSizeTwips();
        picture.toImage(QSize(64, 48), Qt::white);
    } catch (const RunTimeError &) {
    }
    return 0;
}
