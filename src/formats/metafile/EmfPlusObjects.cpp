// EMF+ objects: brushes, pens, paths, regions, images, fonts and string formats, read
// from their serialised form into Qt's terms. Every count is checked against the data.
#include "EmfPlusObjects.h"

#include "Dib.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace glintbox {

using namespace emfplus;

namespace {

constexpr qint64 MaxPoints = 4'000'000;
// Regions nest their nodes; a deeper or larger tree than this is not a drawing, and each
// node costs a combination of paths.
constexpr int MaxRegionDepth = 64;
constexpr int MaxRegionNodes = 1000;

// A relative coordinate: 7 bits in one byte, or 15 bits in two (high byte first).
bool readRelative(ByteSpan data, qint64 &at, double &value)
{
    if (!data.contains(at, 1))
        return false;
    const quint8 first = data.u8(at);
    if (!(first & 0x80)) {
        value = first & 0x40 ? int(first) - 0x80 : int(first);
        at += 1;
        return true;
    }
    if (!data.contains(at, 2))
        return false;
    const int word = (first & 0x7F) << 8 | data.u8(at + 1);
    value = word & 0x4000 ? word - 0x8000 : word;
    at += 2;
    return true;
}

// Points from `at`, moving `at` past them.
QPolygonF pointsFrom(ByteSpan data, qint64 &at, qint64 count, quint32 flags)
{
    if (count <= 0 || count > MaxPoints)
        return {};
    QPolygonF points;
    if (flags & FlagRelative) {
        QPointF current;
        for (qint64 i = 0; i < count; ++i) {
            double dx = 0, dy = 0;
            if (!readRelative(data, at, dx) || !readRelative(data, at, dy))
                return {};
            current += QPointF(dx, dy);
            points.append(current);
        }
        return points;
    }
    const bool compressed = flags & FlagCompressed;
    const qint64 size = compressed ? 4 : 8;
    if (!data.contains(at, count * size))
        return {};
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i, at += size)
        points.append(compressed ? QPointF(data.i16(at), data.i16(at + 2))
                                 : QPointF(data.f32(at), data.f32(at + 4)));
    return points;
}

QTransform transformAt(ByteSpan data, qint64 at)
{
    return QTransform(data.f32(at), data.f32(at + 4), data.f32(at + 8), data.f32(at + 12),
                      data.f32(at + 16), data.f32(at + 20));
}

// A path object; `size` receives the bytes it takes.
std::optional<QPainterPath> readPath(ByteSpan data, qint64 *size = nullptr)
{
    const qint64 count = data.u32(4);
    const quint32 flags = data.u32(8);
    qint64 at = 12;
    // The path's own flags use the record flags' bits for compressed and relative points.
    const quint32 pointFlags =
        (flags & PathCompressed ? FlagCompressed : 0) | (flags & PathRelative ? FlagRelative : 0);
    if (count == 0) {
        if (size)
            *size = 12;
        return QPainterPath();
    }
    const QPolygonF points = pointsFrom(data, at, count, pointFlags);
    if (points.isEmpty())
        return std::nullopt;
    QList<quint8> types;
    types.reserve(count);
    while (types.size() < count) {
        if (!data.contains(at, 1))
            return std::nullopt;
        const quint8 first = data.u8(at);
        if (flags & PathRunLengthTypes && first & 0x40) { // a run: count, then the type
            const quint8 type = data.u8(at + 1);
            for (int k = 0; k < (first & 0x3F) && types.size() < count; ++k)
                types.append(type);
            at += 2;
        } else {
            types.append(first);
            at += 1;
        }
    }
    if (size)
        *size = (at + 3) & ~qint64(3);
    QPainterPath path;
    path.reserve(int(count));
    for (qint64 i = 0; i < count; ++i) {
        const quint8 type = types.at(i);
        switch (type & PathPointTypeMask) {
        case PathPointTypeStart:
            path.moveTo(points.at(i));
            break;
        case PathPointTypeBezier:
            if (i + 2 < count) {
                path.cubicTo(points.at(i), points.at(i + 1), points.at(i + 2));
                i += 2;
            }
            break;
        default:
            path.lineTo(points.at(i));
            break;
        }
        if (types.at(i) & PathPointTypeCloseSubpath)
            path.closeSubpath();
    }
    return path;
}

// The area a region node and its children cover; an infinite one is `everything`.
std::optional<QPainterPath> regionNode(ByteSpan data, qint64 &at, int depth, int &nodes,
                                       const QPainterPath &everything)
{
    if (depth > MaxRegionDepth || ++nodes > MaxRegionNodes || !data.contains(at, 4))
        return std::nullopt;
    const quint32 type = data.u32(at);
    at += 4;
    switch (type) {
    case RegionNodeRect: {
        if (!data.contains(at, 16))
            return std::nullopt;
        QPainterPath path;
        path.addRect(readEmfPlusRect(data, at, false).normalized());
        at += 16;
        return path;
    }
    case RegionNodePath: {
        const qint64 size = data.i32(at);
        const ByteSpan pathData = data.sub(at + 4, size);
        at += 4 + std::max<qint64>(size, 0);
        if (pathData.isEmpty())
            return std::nullopt;
        return readPath(pathData);
    }
    case RegionNodeEmpty:
        return QPainterPath();
    case RegionNodeInfinite:
        return everything;
    default:
        break;
    }
    const auto left = regionNode(data, at, depth + 1, nodes, everything);
    const auto right = left ? regionNode(data, at, depth + 1, nodes, everything) : std::nullopt;
    if (!right)
        return std::nullopt;
    switch (type) {
    case RegionNodeAnd:
        return left->intersected(*right);
    case RegionNodeOr:
        return left->united(*right);
    case RegionNodeXor:
        return left->united(*right).subtracted(left->intersected(*right));
    case RegionNodeExclude:
        return left->subtracted(*right);
    case RegionNodeComplement:
        return right->subtracted(*left);
    default:
        return std::nullopt;
    }
}

Qt::BrushStyle hatchPattern(quint32 style)
{
    static constexpr Qt::BrushStyle Patterns[] = {
        Qt::HorPattern,    Qt::VerPattern,       Qt::FDiagPattern,  Qt::BDiagPattern,
        Qt::CrossPattern,  Qt::DiagCrossPattern, Qt::Dense7Pattern, Qt::Dense6Pattern,
        Qt::Dense6Pattern, Qt::Dense5Pattern,    Qt::Dense4Pattern, Qt::Dense3Pattern,
        Qt::Dense2Pattern, Qt::Dense1Pattern};
    return style < std::size(Patterns) ? Patterns[style] : Qt::Dense4Pattern;
}

// Colour stops from preset colours or blend factors, when the brush has them.
void addGradientStops(QGradient &gradient, ByteSpan data, qint64 &at, quint32 flags,
                      const QColor &from, const QColor &to)
{
    const qint64 count = data.u32(at);
    if (count <= 0 || count > 4096 || !data.contains(at + 4, count * 8))
        return;
    const qint64 positionsAt = at + 4, valuesAt = at + 4 + count * 4;
    QGradientStops stops;
    for (qint64 i = 0; i < count; ++i) {
        const double position = std::clamp(double(data.f32(positionsAt + i * 4)), 0.0, 1.0);
        if (!std::isfinite(position))
            return;
        QColor colour;
        if (flags & BrushDataPresetColors) {
            colour = emfPlusColour(data.u32(valuesAt + i * 4));
        } else {
            const double f = std::clamp(double(data.f32(valuesAt + i * 4)), 0.0, 1.0);
            if (!std::isfinite(f))
                return;
            colour = QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * f,
                                      from.greenF() + (to.greenF() - from.greenF()) * f,
                                      from.blueF() + (to.blueF() - from.blueF()) * f,
                                      from.alphaF() + (to.alphaF() - from.alphaF()) * f);
        }
        stops.append({position, colour});
    }
    at = valuesAt + count * 4;
    gradient.setStops(stops);
}

std::optional<QBrush> readBrush(ByteSpan data)
{
    const quint32 type = data.u32(4);
    switch (type) {
    case BrushSolidColor:
        return QBrush(emfPlusColour(data.u32(8)));
    case BrushHatchFill: {
        // Drawn once into a tile, so that the background shows between the lines.
        QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
        tile.fill(emfPlusColour(data.u32(16)));
        QPainter painter(&tile);
        painter.fillRect(tile.rect(),
                         QBrush(emfPlusColour(data.u32(12)), hatchPattern(data.u32(8))));
        return QBrush(tile);
    }
    case BrushTextureFill: {
        const quint32 flags = data.u32(8);
        qint64 at = 16;
        QTransform transform;
        if (flags & BrushDataTransform) {
            transform = transformAt(data, at);
            at += 24;
        }
        const auto image = readEmfPlusObject(ObjectImage, data.from(at));
        if (!image || image->image.bitmap.isNull())
            return std::nullopt;
        QBrush brush(image->image.bitmap);
        brush.setTransform(transform);
        return brush;
    }
    case BrushLinearGradient: {
        const quint32 flags = data.u32(8);
        const QRectF rect = readEmfPlusRect(data, 16, false);
        const QColor from = emfPlusColour(data.u32(32)), to = emfPlusColour(data.u32(36));
        QLinearGradient gradient(rect.topLeft(), rect.topRight());
        gradient.setColorAt(0, from);
        gradient.setColorAt(1, to);
        gradient.setSpread(data.u32(12) == 0 ? QGradient::RepeatSpread : QGradient::ReflectSpread);
        qint64 at = 48;
        QTransform transform;
        if (flags & BrushDataTransform) {
            transform = transformAt(data, at);
            at += 24;
        }
        if (flags & (BrushDataPresetColors | BrushDataBlendFactorsH))
            addGradientStops(gradient, data, at, flags, from, to);
        QBrush brush(gradient);
        brush.setTransform(transform);
        return brush;
    }
    case BrushPathGradient: {
        const quint32 flags = data.u32(8);
        const QColor centre = emfPlusColour(data.u32(16));
        const QPointF centrePoint(data.f32(20), data.f32(24));
        const qint64 colours = data.u32(28);
        if (colours <= 0 || !data.contains(32, colours * 4))
            return std::nullopt;
        const QColor surround = emfPlusColour(data.u32(32));
        qint64 at = 32 + colours * 4;
        QRectF bounds;
        if (flags & BrushDataPath) {
            const qint64 size = data.i32(at);
            const auto path = readPath(data.sub(at + 4, size));
            if (!path)
                return std::nullopt;
            bounds = path->boundingRect();
        } else {
            qint64 pointsAt = at + 4;
            bounds = pointsFrom(data, pointsAt, data.i32(at), 0).boundingRect();
        }
        // Shaded from the centre to the boundary's box, as an ellipse.
        const double rx = std::max(bounds.width() / 2, 1e-6);
        const double ry = std::max(bounds.height() / 2, 1e-6);
        QRadialGradient gradient(QPointF(0, 0), 1);
        gradient.setColorAt(0, centre);
        gradient.setColorAt(1, surround);
        QBrush brush(gradient);
        brush.setTransform(QTransform::fromScale(rx, ry) *
                           QTransform::fromTranslate(centrePoint.x(), centrePoint.y()));
        return brush;
    }
    default:
        return std::nullopt;
    }
}

// A custom line cap: an arrow of a given width and height, or a path to fill or stroke.
std::optional<EmfPlusLineCap> readLineCap(ByteSpan data)
{
    EmfPlusLineCap cap;
    if (data.u32(4) == CustomLineCapAdjustableArrow) {
        const double width = data.f32(8), height = data.f32(12), inset = data.f32(16);
        if (!std::isfinite(width) || !std::isfinite(height) || !std::isfinite(inset) ||
            std::abs(width) > 1000 || std::abs(height) > 1000)
            return std::nullopt;
        cap.shape.moveTo(width / 2, -height);
        cap.shape.lineTo(0, 0);
        cap.shape.lineTo(-width / 2, -height);
        cap.filled = data.u32(20) != 0;
        if (cap.filled) {
            cap.shape.lineTo(0, -height + inset);
            cap.shape.closeSubpath();
        }
        return cap;
    }
    const quint32 flags = data.u32(8);
    if (!(flags & (CustomLineCapDataFillPath | CustomLineCapDataLinePath)))
        return std::nullopt;
    const qint64 size = data.i32(56);
    const auto path = readPath(data.sub(60, size));
    if (!path || path->elementCount() > 1000)
        return std::nullopt;
    cap.shape = *path;
    cap.filled = flags & CustomLineCapDataFillPath;
    return cap;
}

std::optional<EmfPlusPen> readPen(ByteSpan data)
{
    EmfPlusPen result;
    const quint32 flags = data.u32(8);
    result.unit = data.u32(12);
    result.width = data.f32(16);
    if (!std::isfinite(result.width))
        return std::nullopt;
    QPen &pen = result.pen;
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    qint64 at = 20;
    auto field = [&](quint32 flag, qint64 size) {
        if (!(flags & flag))
            return qint64(-1);
        const qint64 here = at;
        at += size;
        return here;
    };
    field(PenDataTransform, 24);
    if (const qint64 cap = field(PenDataStartCap, 4); cap >= 0) {
        const quint32 style = data.u32(cap);
        pen.setCapStyle(style == LineCapRound    ? Qt::RoundCap
                        : style == LineCapSquare ? Qt::SquareCap
                                                 : Qt::FlatCap);
    }
    field(PenDataEndCap, 4);
    if (const qint64 join = field(PenDataJoin, 4); join >= 0) {
        const quint32 style = data.u32(join);
        pen.setJoinStyle(style == LineJoinRound   ? Qt::RoundJoin
                         : style == LineJoinBevel ? Qt::BevelJoin
                                                  : Qt::MiterJoin);
    }
    if (const qint64 limit = field(PenDataMiterLimit, 4); limit >= 0)
        pen.setMiterLimit(std::clamp(double(data.f32(limit)), 1.0, 100.0));
    const qint64 styleAt = field(PenDataLineStyle, 4);
    field(PenDataDashedLineCap, 4);
    field(PenDataDashedLineOffset, 4);
    QList<qreal> dashes;
    if (flags & PenDataDashedLine) {
        const qint64 count = data.u32(at);
        if (count > 64 || !data.contains(at + 4, count * 4))
            return std::nullopt;
        for (qint64 i = 0; i < count; ++i)
            dashes.append(std::clamp(double(data.f32(at + 4 + i * 4)), 0.01, 1000.0));
        at += 4 + count * 4;
    }
    field(PenDataNonCenter, 4);
    if (flags & PenDataCompoundLine)
        at += 4 + qint64(data.u32(at)) * 4;
    if (flags & PenDataCustomStartCap) {
        result.startCap = readLineCap(data.sub(at + 4, data.u32(at)));
        at += 4 + qint64(data.u32(at));
    }
    if (flags & PenDataCustomEndCap) {
        result.endCap = readLineCap(data.sub(at + 4, data.u32(at)));
        at += 4 + qint64(data.u32(at));
    }
    switch (styleAt >= 0 ? data.u32(styleAt) : quint32(LineStyleSolid)) {
    case LineStyleDash:
        dashes = {3, 1};
        break;
    case LineStyleDot:
        dashes = {1, 1};
        break;
    case LineStyleDashDot:
        dashes = {3, 1, 1, 1};
        break;
    case LineStyleDashDotDot:
        dashes = {3, 1, 1, 1, 1, 1};
        break;
    case LineStyleCustom:
        break;
    default:
        dashes.clear();
        break;
    }
    if (dashes.size() >= 2)
        pen.setDashPattern(dashes.size() % 2 ? dashes + dashes : dashes);
    const auto brush = readBrush(data.from(at));
    if (!brush)
        return std::nullopt;
    result.brush = *brush;
    return result;
}

// Uncompressed bitmap pixels, top row first, with a palette ahead of indexed ones.
QImage readBitmap(qint64 width, qint64 height, qint64 stride, quint32 format, ByteSpan data)
{
    if (width <= 0 || height <= 0 || width * height > MaxDibPixels || stride <= 0)
        return {};
    const int bits = format >> 8 & 0xFF;
    if (bits == 0 || stride < (width * bits + 7) / 8)
        return {};
    QList<QRgb> palette;
    qint64 at = 0;
    if (bits <= 8) {
        const qint64 count = data.u32(4);
        if (count > 256 || !data.contains(8, count * 4))
            return {};
        for (qint64 i = 0; i < count; ++i)
            palette.append(data.u32(8 + i * 4));
        at = 8 + count * 4;
    }
    if (!data.contains(at, stride * height))
        return {};
    QImage image(int(width), int(height),
                 format == PixelFormat32bppPARGB ? QImage::Format_ARGB32_Premultiplied
                                                 : QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    for (qint64 y = 0; y < height; ++y) {
        const qint64 row = at + y * stride;
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            switch (format) {
            case PixelFormat1bppIndexed:
            case PixelFormat4bppIndexed:
            case PixelFormat8bppIndexed: {
                const qint64 bit = x * bits;
                const int index =
                    data.u8(row + bit / 8) >> (8 - bits - bit % 8) & ((1 << bits) - 1);
                line[x] = index < palette.size() ? palette.at(index) : qRgb(0, 0, 0);
                break;
            }
            case PixelFormat16bppRGB555:
            case PixelFormat16bppRGB565: {
                const quint16 v = data.u16(row + x * 2);
                const bool six = format == PixelFormat16bppRGB565;
                const int r = six ? v >> 11 & 0x1F : v >> 10 & 0x1F;
                const int g = six ? (v >> 5 & 0x3F) * 255 / 63 : (v >> 5 & 0x1F) * 255 / 31;
                line[x] = qRgb(r * 255 / 31, g, (v & 0x1F) * 255 / 31);
                break;
            }
            case PixelFormat24bppRGB: {
                const qint64 p = row + x * 3;
                line[x] = qRgb(data.u8(p + 2), data.u8(p + 1), data.u8(p));
                break;
            }
            case PixelFormat32bppRGB:
                line[x] = data.u32(row + x * 4) | 0xFF000000u;
                break;
            case PixelFormat32bppARGB:
            case PixelFormat32bppPARGB:
                line[x] = data.u32(row + x * 4);
                break;
            default:
                return {};
            }
        }
    }
    return image;
}

std::optional<EmfPlusImage> readImage(ByteSpan data)
{
    EmfPlusImage image;
    if (data.u32(4) == ImageMetafile) {
        const ByteSpan bytes = data.sub(16, data.u32(12));
        if (bytes.isEmpty())
            return std::nullopt;
        image.metafile = QByteArray(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        return image;
    }
    if (data.u32(4) != ImageBitmap)
        return std::nullopt;
    if (data.u32(24) == BitmapCompressed) {
        const ByteSpan bytes = data.from(28);
        image.bitmap =
            QImage::fromData(bytes.data(), int(std::min<qsizetype>(bytes.size(), INT_MAX)));
    } else {
        image.bitmap =
            readBitmap(data.i32(8), data.i32(12), data.i32(16), data.u32(20), data.from(28));
    }
    if (image.bitmap.isNull())
        return std::nullopt;
    return image;
}

} // namespace

QPolygonF readEmfPlusPoints(ByteSpan data, qint64 at, qint64 count, quint16 flags)
{
    return pointsFrom(data, at, count, flags);
}

QRectF readEmfPlusRect(ByteSpan data, qint64 at, bool compressed)
{
    if (compressed)
        return QRectF(data.i16(at), data.i16(at + 2), data.i16(at + 4), data.i16(at + 6));
    return QRectF(data.f32(at), data.f32(at + 4), data.f32(at + 8), data.f32(at + 12));
}

std::optional<EmfPlusObjectData> readEmfPlusObject(quint8 type, ByteSpan data)
{
    EmfPlusObjectData object;
    object.type = type;
    switch (type) {
    case ObjectBrush: {
        const auto brush = readBrush(data);
        if (!brush)
            return std::nullopt;
        object.brush = *brush;
        return object;
    }
    case ObjectPen: {
        const auto pen = readPen(data);
        if (!pen)
            return std::nullopt;
        object.pen = *pen;
        return object;
    }
    case ObjectPath: {
        const auto path = readPath(data);
        if (!path)
            return std::nullopt;
        object.path = *path;
        return object;
    }
    case ObjectRegion: {
        qint64 at = 8;
        QPainterPath everything;
        everything.addRect(-1e7, -1e7, 2e7, 2e7);
        int nodes = 0;
        const auto area = regionNode(data, at, 0, nodes, everything);
        if (!area)
            return std::nullopt;
        object.region.infinite = data.u32(8) == RegionNodeInfinite;
        object.region.path = *area;
        return object;
    }
    case ObjectImage: {
        const auto image = readImage(data);
        if (!image)
            return std::nullopt;
        object.image = *image;
        return object;
    }
    case ObjectFont: {
        const qint64 length = data.u32(20);
        if (length > 32 || !data.contains(24, length * 2))
            return std::nullopt;
        object.font.emSize = data.f32(4);
        object.font.unit = data.u32(8);
        object.font.style = data.u32(12);
        for (qint64 i = 0; i < length; ++i)
            object.font.family.append(QChar(data.u16(24 + i * 2)));
        if (!std::isfinite(object.font.emSize) || object.font.emSize <= 0)
            return std::nullopt;
        return object;
    }
    case ObjectStringFormat:
        object.format.flags = data.u32(4);
        object.format.alignment = data.u32(12);
        object.format.lineAlignment = data.u32(16);
        return object;
    default:
        return std::nullopt;
    }
}

} // namespace glintbox
