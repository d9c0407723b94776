#include "RtfPicture.h"
#include "RtfTokenizer.h"

#include "RtfDocumentBuilder.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace glintbox::rtf {

namespace {

constexpr double MaxSide = 20000.0; // pixels a picture may be shown at
constexpr int MaxRenderSide = 4096; // pixels a metafile is rendered at
constexpr double HimetricPerPixel = 2540.0 / 96.0;

} // namespace

void RtfPicture::appendHex(QByteArrayView hex)
{
    for (const char c : hex) {
        const int value = hexDigitValue(c);
        if (value < 0)
            continue;
        if (pendingNibble < 0) {
            pendingNibble = value;
        } else {
            data.append(char(pendingNibble * 16 + value));
            pendingNibble = -1;
        }
    }
}

RtfPictureDecoder::RtfPictureDecoder(const RtfReadOptions &options, qint64 pixelByteBudget)
    : m_options(options)
    , m_budget(pixelByteBudget)
{
}

bool RtfPictureDecoder::takeBudget(qint64 width, qint64 height)
{
    const qint64 bytes = width * height * 4;
    if (width <= 0 || height <= 0 || bytes > m_budget)
        return false;
    m_budget -= bytes;
    return true;
}

QImage RtfPictureDecoder::decode(const RtfPicture &picture, QString *warning)
{
    switch (picture.kind) {
    case RtfPicture::Kind::Png:
    case RtfPicture::Kind::Jpeg: {
        QBuffer buffer;
        buffer.setData(picture.data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, picture.kind == RtfPicture::Kind::Png ? "png" : "jpeg");
        const QSize size = reader.size();
        if (!size.isValid()) {
            *warning = QStringLiteral("A picture could not be decoded.");
            return {};
        }
        if (!takeBudget(size.width(), size.height())) {
            *warning = QStringLiteral("A picture of %1 x %2 pixels is too large for this file.")
                           .arg(size.width())
                           .arg(size.height());
            return {};
        }
        QImage image = reader.read();
        if (image.isNull())
            *warning = QStringLiteral("A picture could not be decoded.");
        return image;
    }
    case RtfPicture::Kind::Wmf:
    case RtfPicture::Kind::Emf: {
        if (!m_options.renderMetafile)
            return {};
        const QSizeF shown = displaySize(picture, {});
        const QSize hint(std::clamp(int(shown.width()), 1, MaxRenderSide),
                         std::clamp(int(shown.height()), 1, MaxRenderSide));
        if (!takeBudget(hint.width(), hint.height())) {
            *warning = QStringLiteral("A picture is too large for this file.");
            return {};
        }
        const auto kind = picture.kind == RtfPicture::Kind::Wmf ? RtfReadOptions::MetafileKind::Wmf
                                                                : RtfReadOptions::MetafileKind::Emf;
        return m_options.renderMetafile(picture.data, kind, hint);
    }
    case RtfPicture::Kind::Unknown:
        break;
    }
    return {};
}

QSizeF RtfPictureDecoder::displaySize(const RtfPicture &picture, const QImage &image)
{
    const bool metafile =
        picture.kind == RtfPicture::Kind::Wmf || picture.kind == RtfPicture::Kind::Emf;
    auto side = [&](int goal, int natural, int decoded) {
        if (goal > 0)
            return goal / TwipsPerPixel;
        if (natural > 0)
            return metafile ? natural / HimetricPerPixel : double(natural);
        return decoded > 0 ? double(decoded) : 64.0;
    };
    double width = side(picture.goalWidth, picture.width, image.width());
    double height = side(picture.goalHeight, picture.height, image.height());
    if (picture.scaleX > 0)
        width = width * picture.scaleX / 100.0;
    if (picture.scaleY > 0)
        height = height * picture.scaleY / 100.0;
    return {std::clamp(width, 1.0, MaxSide), std::clamp(height, 1.0, MaxSide)};
}

} // namespace glintbox::rtf
