#pragma once

#include "ByteSpan.h"
#include "GdiConstants.h"

#include <QImage>
#include <QList>

namespace glintbox {

// A device-independent bitmap decoded into an image, top row first.
struct DecodedDib {
    QImage image;
    // Stored bottom row first: source rectangles of some blits count rows from the bottom.
    bool bottomUp = true;
    // A 32-bit bitmap whose fourth byte may carry alpha (used only by alpha blends).
    bool mayHaveAlpha = false;

    // The picture for ordinary blits, where the fourth byte of 32-bit pixels means nothing.
    QImage opaque() const
    {
        return mayHaveAlpha ? image.convertToFormat(QImage::Format_RGB32) : image;
    }
};

// How a colour table is to be read: as RGB values or as indexes into the
// selected palette.
enum class DibColourUsage { Rgb, PaletteIndexes };

// The usage a record's gdi::ColorUsage field asks for.
inline DibColourUsage dibColourUsage(quint32 usage)
{
    return usage == gdi::DIB_PAL_COLORS ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb;
}

// Decodes a bitmap from its header (with colour table and masks) and its
// pixel bits. Returns a null image when the header is unsupported or when the
// bits do not hold the whole bitmap. Pixel counts are bounded.
DecodedDib decodeDib(ByteSpan header, ByteSpan bits, DibColourUsage usage = DibColourUsage::Rgb,
                     const QList<QRgb> &palette = {});

// A packed bitmap: header, colour table and bits in one block.
DecodedDib decodePackedDib(ByteSpan packed, DibColourUsage usage = DibColourUsage::Rgb,
                           const QList<QRgb> &palette = {});

// The largest bitmap decoded, in pixels (run-length bitmaps are not bounded by their bytes).
constexpr qint64 MaxDibPixels = 32 * 1024 * 1024;

} // namespace glintbox
