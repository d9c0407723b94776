#include "PictureLoader.h"

#include "MetafilePicture.h"

#include "formats/raster/RasterPicture.h"

namespace glintbox {

Picture loadPicture(const QByteArray &bytes)
{
    if (Metafile::looksLikeMetafile(bytes.left(64)))
        return Picture(std::make_shared<MetafilePicture>(Metafile::fromBytes(bytes)));
    return Picture::fromImage(decodeRasterPicture(bytes));
}

} // namespace glintbox
