#include "RtfMetafiles.h"

#include "core/RunTimeError.h"
#include "formats/metafile/Metafile.h"

namespace glintbox {

RtfReadOptions rtfReadOptionsWithMetafiles()
{
    RtfReadOptions options;
    options.renderMetafile = [](const QByteArray &data, RtfReadOptions::MetafileKind,
                                QSize sizeHint) {
        try {
            return Metafile::fromBytes(data).toImage(sizeHint, Qt::transparent);
        } catch (const RunTimeError &) {
            return QImage();
        }
    };
    return options;
}

} // namespace glintbox
