#include "Dib.h"

#include <climits>
#include <cstring>

namespace glintbox {

namespace {

struct DibHeader {
    qint64 width = 0;
    qint64 height = 0; // positive: bottom-up
    int bitCount = 0;
    quint32 compression = gdi::BI_RGB;
    quint32 coloursUsed = 0;
    quint32 masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    qint64 headerSize = 0; // including masks that follow a 40-byte header
    bool core = false;
};

bool readHeader(ByteSpan span, DibHeader &h)
{
    const quint32 size = span.u32(0);
    if (size == 12 && span.contains(0, 12)) {
        h.core = true;
        h.width = span.u16(4);
        h.height = span.u16(6);
        h.bitCount = span.u16(10);
        h.headerSize = 12;
        return true;
    }
    if (size < 16 || !span.contains(0, std::min<quint32>(size, 40)))
        return false;
    h.width = span.i32(4);
    h.height = span.i32(8);
    h.bitCount = span.u16(14);
    h.compression = size >= 20 ? span.u32(16) : quint32(gdi::BI_RGB);
    h.coloursUsed = size >= 36 ? span.u32(32) : 0;
    h.headerSize = size;
    if (h.compression == gdi::BI_BITFIELDS || h.compression == gdi::BI_ALPHABITFIELDS) {
        const int count = h.compression == gdi::BI_ALPHABITFIELDS ? 4 : 3;
        const qint64 at = size >= 52 ? 40 : size;
        if (!span.contains(at, count * 4))
            return false;
        for (int i = 0; i < count; ++i)
            h.masks[i] = span.u32(at + i * 4);
        h.hasMasks = true;
        if (size < 52)
            h.headerSize = size + count * 4;
    }
    return true;
}

// Extracts one channel through a mask and scales it to 8 bits.
struct Channel {
    int shift = 0;
    int bits = 0;
    explicit Channel(quint32 mask)
    {
        if (!mask)
            return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
        bits = std::min(bits, 8);
    }
    int value(quint32 pixel) const
    {
        if (!bits)
            return 0;
        const quint32 v = (pixel >> shift) & ((1u << bits) - 1);
        return bits == 8 ? int(v) : int(v * 255 / ((1u << bits) - 1));
    }
};

QList<QRgb> readColourTable(ByteSpan span, const DibHeader &h, DibColourUsage usage,
                            const QList<QRgb> &palette)
{
    QList<QRgb> table;
    if (h.bitCount > 8)
        return table;
    qint64 count = h.coloursUsed ? qint64(h.coloursUsed) : (qint64(1) << h.bitCount);
    count = std::min<qint64>(count, 256);
    const int entry = usage == DibColourUsage::PaletteIndexes ? 2 : (h.core ? 3 : 4);
    table.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = h.headerSize + i * entry;
        if (!span.contains(at, entry))
            break;
        if (usage == DibColourUsage::PaletteIndexes) {
            const int index = span.u16(at);
            table.append(index < palette.size() ? palette.at(index)
                                                : qRgb(index & 0xFF, index & 0xFF, index & 0xFF));
        } else {
            table.append(qRgb(span.u8(at + 2), span.u8(at + 1), span.u8(at)));
        }
    }
    const qint64 needed = qint64(1) << h.bitCount;
    while (table.size() < needed)
        table.append(h.bitCount == 1 && table.size() == 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return table;
}

// One row of 1-, 4- or 8-bit colour indexes, the leftmost pixel in the high bits of a byte.
void unpackIndexes(const uchar *src, uchar *line, qint64 width, int bitCount)
{
    if (bitCount == 8) {
        std::memcpy(line, src, std::size_t(width));
        return;
    }
    const int perByte = 8 / bitCount;
    const int mask = (1 << bitCount) - 1;
    for (qint64 x = 0; x < width; x += perByte, ++src) {
        const int count = int(std::min<qint64>(perByte, width - x));
        for (int k = 0; k < count; ++k)
            line[x + k] = uchar(*src >> (8 - bitCount * (k + 1)) & mask);
    }
}

// Decodes run-length bits into an 8-bit indexed image, bottom row first as stored.
bool decodeRle(ByteSpan bits, const DibHeader &h, QImage &image)
{
    const int width = int(h.width);
    const int height = int(std::abs(h.height));
    image.fill(0);
    int x = 0;
    int y = 0;
    qint64 i = 0;
    const bool four = h.compression == gdi::BI_RLE4;
    auto put = [&](int index) {
        if (x < width && y < height)
            image.scanLine(height - 1 - y)[x] = uchar(index);
        ++x;
    };
    while (i + 1 < bits.size() && y < height) {
        const int count = bits.u8(i);
        const int value = bits.u8(i + 1);
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < width; ++k)
                put(four ? ((k & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            x += bits.u8(i);
            y += bits.u8(i + 1);
            i += 2;
        } else { // absolute run
            const int n = value;
            const qint64 bytes = four ? (n + 1) / 2 : n;
            for (int k = 0; k < n; ++k) {
                const int b = bits.u8(i + (four ? k / 2 : k));
                put(four ? ((k & 1) ? b & 0x0F : b >> 4) : b);
            }
            i += (bytes + 1) & ~qint64(1);
        }
    }
    return true;
}

} // namespace

DecodedDib decodeDib(ByteSpan header, ByteSpan bits, DibColourUsage usage,
                     const QList<QRgb> &palette)
{
    DecodedDib result;
    DibHeader h;
    if (!readHeader(header, h))
        return result;
    if (h.compression == gdi::BI_JPEG || h.compression == gdi::BI_PNG) {
        QImage image;
        image.loadFromData(bits.data(), int(std::min<qsizetype>(bits.size(), INT_MAX)));
        if (!image.isNull() && qint64(image.width()) * image.height() <= MaxDibPixels)
            result.image = image;
        result.bottomUp = h.height > 0;
        return result;
    }
    const qint64 width = h.width;
    const qint64 height = std::abs(h.height);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        width * height > MaxDibPixels)
        return result;
    result.bottomUp = h.height > 0;
    const int bitCount = h.bitCount;

    if (h.compression == gdi::BI_RLE8 || h.compression == gdi::BI_RLE4) {
        if ((h.compression == gdi::BI_RLE8 && bitCount != 8) ||
            (h.compression == gdi::BI_RLE4 && bitCount != 4))
            return result;
        QImage image(int(width), int(height), QImage::Format_Indexed8);
        if (image.isNull())
            return result;
        QList<QRgb> table = readColourTable(header, h, usage, palette);
        table.resize(256, qRgb(0, 0, 0));
        image.setColorTable(table);
        decodeRle(bits, h, image);
        result.image = image;
        result.bottomUp = false; // already turned to top row first
        return result;
    }

    if (h.compression != gdi::BI_RGB && h.compression != gdi::BI_BITFIELDS &&
        h.compression != gdi::BI_ALPHABITFIELDS)
        return result;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return result;
    const qint64 stride = ((width * bitCount + 31) / 32) * 4;
    if (stride * height > bits.size())
        return result;

    const bool indexed = bitCount <= 8;
    QImage image(int(width), int(height),
                 indexed ? QImage::Format_Indexed8 : QImage::Format_ARGB32);
    if (image.isNull())
        return result;
    if (indexed) {
        QList<QRgb> table = readColourTable(header, h, usage, palette);
        image.setColorTable(table);
    }
    quint32 masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (bitCount == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (h.hasMasks)
        std::copy(std::begin(h.masks), std::end(h.masks), masks);
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    // Masks that pick the bytes as they lie need no shifting.
    const bool byteMasks = masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 &&
                           masks[2] == 0x000000FF && (masks[3] == 0 || masks[3] == 0xFF000000);
    const bool plainBgr = (bitCount == 24 || bitCount == 32) &&
                          (!h.hasMasks || (byteMasks && (bitCount == 32 || masks[3] == 0)));
    const bool hasAlpha = bitCount == 32 && (!h.hasMasks || masks[3] != 0);
    result.mayHaveAlpha = bitCount == 32 && !(h.hasMasks && !masks[3]);

    for (qint64 row = 0; row < height; ++row) {
        const uchar *src = bits.data() + row * stride;
        const int y = int(h.height > 0 ? height - 1 - row : row);
        uchar *line = image.scanLine(y);
        if (indexed) {
            unpackIndexes(src, line, width, bitCount);
            continue;
        }
        QRgb *out = reinterpret_cast<QRgb *>(line);
        const int bytesPerPixel = bitCount / 8;
        if (plainBgr) {
            for (qint64 x = 0; x < width; ++x, src += bytesPerPixel)
                out[x] = qRgba(src[2], src[1], src[0], hasAlpha ? src[3] : 255);
            continue;
        }
        for (qint64 x = 0; x < width; ++x, src += bytesPerPixel) {
            quint32 pixel = src[0] | src[1] << 8;
            if (bytesPerPixel >= 3)
                pixel |= quint32(src[2]) << 16;
            if (bytesPerPixel == 4)
                pixel |= quint32(src[3]) << 24;
            out[x] = qRgba(red.value(pixel), green.value(pixel), blue.value(pixel),
                           masks[3] ? alpha.value(pixel) : 255);
        }
    }
    result.image = image;
    return result;
}

QImage decodeBitmap16(ByteSpan bitmap, QRgb foreground, QRgb background, const QList<QRgb> &palette)
{
    static constexpr QRgb Standard[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000,
                                          0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
                                          0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                          0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    const qint64 width = bitmap.i16(2), height = bitmap.i16(4), stride = bitmap.i16(6);
    const int bits = bitmap.u8(9);
    if (width <= 0 || height <= 0 || width * height > MaxDibPixels || bitmap.u8(8) != 1 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) ||
        stride < (width * bits + 7) / 8 || !bitmap.contains(10, stride * height))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (qint64 y = 0; y < height; ++y) {
        const qint64 row = 10 + y * stride;
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            if (bits >= 24) {
                const qint64 p = row + x * (bits / 8);
                line[x] = qRgb(bitmap.u8(p + 2), bitmap.u8(p + 1), bitmap.u8(p));
                continue;
            }
            const qint64 bit = x * bits;
            const int index = bitmap.u8(row + bit / 8) >> (8 - bits - bit % 8) & ((1 << bits) - 1);
            if (bits == 1)
                line[x] = index ? background : foreground;
            else if (!palette.isEmpty())
                line[x] = palette.value(index, qRgb(0, 0, 0));
            else
                line[x] = index < 16 ? Standard[index] : qRgb(index, index, index);
        }
    }
    return image;
}

DecodedDib decodePackedDib(ByteSpan packed, DibColourUsage usage, const QList<QRgb> &palette)
{
    DibHeader h;
    if (!readHeader(packed, h))
        return {};
    qint64 colours = 0;
    if (h.bitCount <= 8 && h.bitCount > 0)
        colours = h.coloursUsed ? std::min<qint64>(h.coloursUsed, 256) : qint64(1) << h.bitCount;
    else if (!h.core)
        colours = std::min<qint64>(h.coloursUsed, 256);
    const int entry = usage == DibColourUsage::PaletteIndexes ? 2 : (h.core ? 3 : 4);
    const qint64 bitsAt = h.headerSize + colours * entry;
    if (!packed.contains(bitsAt, 0))
        return {};
    return decodeDib(packed.sub(0, bitsAt), packed.from(bitsAt), usage, palette);
}

} // namespace glintbox
