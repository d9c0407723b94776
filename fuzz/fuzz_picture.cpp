// Feeds arbitrary bytes to the picture decoder: the kind chosen from the
// content, the largest image of an icon or cursor, the raised allocation limit.
#include "OffscreenApplication.h"
#include "core/RunTimeError.h"
#include "formats/raster/RasterPicture.h"

#include <cstdint>
#include <cstdlib>

using namespace glintbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = glintbox::fuzzInput(data, size);
    try {
        // A decode that succeeds has a picture to show.
        if (decodeRasterPicture(bytes).isNull())
            std::abort();
    } catch (const RunTimeError &error) {
        if (error.number() != InvalidPicture)
            std::abort();
    }
    return 0;
}
