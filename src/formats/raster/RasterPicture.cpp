#include "RasterPicture.h"

#include "core/RunTimeError.h"

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPictures, "glintbox.pictures", QtWarningMsg)

namespace glintbox {

namespace {

// Enough for a 100-megapixel photo (Qt's default refuses 8000 x 6000), yet a
// small file claiming a gigantic picture is still refused before decoding.
constexpr int AllocationLimitMegabytes = 512;

// Qt's own format names, chosen from the file's first bytes. Qt would take a
// ".dib" name for a headerless bitmap, while such files are ordinary bitmaps.
QByteArray formatFromContent(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("\xFF\xD8"))
        return "jpeg";
    if (bytes.startsWith(QByteArrayView("\0\0\1\0", 4)))
        return "ico";
    if (bytes.startsWith(QByteArrayView("\0\0\2\0", 4)))
        return "cur";
    return {};
}

[[noreturn]] void refuse(const QString &detail)
{
    qCInfo(lcPictures) << "picture refused:" << detail;
    throw RunTimeError(InvalidPicture, detail);
}

bool isLarger(const QImage &candidate, const QImage &best)
{
    const qint64 candidateArea = qint64(candidate.width()) * candidate.height();
    const qint64 bestArea = qint64(best.width()) * best.height();
    if (candidateArea != bestArea)
        return candidateArea > bestArea;
    return candidate.depth() > best.depth();
}

// The largest of an icon's images, the one with more colours among equals.
QImage readLargestImage(QImageReader &reader)
{
    QImage best;
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && (best.isNull() || isLarger(image, best)))
            best = image;
    }
    return best;
}

} // namespace

QImage decodeRasterPicture(const QByteArray &bytes)
{
    const QByteArray format = formatFromContent(bytes);
    if (format.isEmpty())
        refuse(QStringLiteral("not a bitmap, GIF, JPEG, icon or cursor"));

    QByteArray data = bytes; // shared, never copied: the buffer only reads
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(AllocationLimitMegabytes);
    reader.setAutoTransform(true);

    const bool isIcon = format == "ico" || format == "cur";
    QImage image = isIcon ? readLargestImage(reader) : reader.read();
    if (image.isNull())
        refuse(QStringLiteral("%1: %2").arg(QString::fromLatin1(format), reader.errorString()));
    return image;
}

} // namespace glintbox
