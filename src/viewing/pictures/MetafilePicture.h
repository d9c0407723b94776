#pragma once

#include "Picture.h"
#include "formats/metafile/Metafile.h"

namespace glintbox {

// A Windows metafile as a picture: drawn as vectors at whatever size it is
// shown, so zooming in stays sharp and allocates nothing.
class MetafilePicture : public PictureContent {
public:
    explicit MetafilePicture(Metafile metafile)
        : m_metafile(std::move(metafile))
    {
    }

    QSizeF naturalSizeTwips(double logicalDpi) const override;
    void paint(QPainter &painter, const QRectF &target,
               const QRectF &visibleTargetPart) const override;

private:
    Metafile m_metafile;
};

} // namespace glintbox
