#include "Metafile.h"

#include "EmfPlayer.h"
#include "MetafileRecords.h"

#include "core/RunTimeError.h"

#include <QLoggingCategory>
#include <QPainter>
#include <QPicture>

namespace glintbox {

Q_LOGGING_CATEGORY(lcMetafile, "glintbox.viewing.metafile")

namespace {

constexpr double MmPerInch = 25.4;
constexpr double TwipsPerMm = 1440.0 / MmPerInch;
// About 17 metres: larger than any drawing sheet.
constexpr double MaxNaturalTwips = 1'000'000;
// One paint's share of time (real pictures take milliseconds): a picture that needs more is
// drawn as far as it got, so that a metafile of millions of records shows within two seconds
// instead of freezing the window.
constexpr qint64 PaintMilliseconds = 600;

ByteSpan spanOf(const QByteArray &bytes)
{
    return ByteSpan(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size());
}

bool isUsable(const QRectF &rect)
{
    return std::isfinite(rect.width()) && std::isfinite(rect.height()) && rect.width() != 0 &&
           rect.height() != 0;
}

} // namespace

bool Metafile::looksLikeMetafile(const QByteArray &head)
{
    const ByteSpan span = spanOf(head);
    if (span.u32(0) == gdi::PlaceableKey)
        return true;
    if (span.u32(0) == gdi::EMR_HEADER && span.u32(40) == gdi::ENHMETA_SIGNATURE)
        return true;
    return opensWmfHeader(span, 0);
}

Metafile Metafile::fromBytes(const QByteArray &bytes)
{
    Metafile metafile;
    metafile.m_bytes = bytes;
    const ByteSpan span = spanOf(bytes);
    if (readEmfHeader(span)) {
        metafile.setUpEmf();
        return metafile;
    }
    const std::optional<WmfHeader> wmf = readWmfHeader(span);
    if (!wmf)
        throw RunTimeError(InvalidPicture, QStringLiteral("not a Windows metafile"));
    const WmfSurvey survey = surveyWmf(span, *wmf);
    metafile.setUpWmf(*wmf, survey);
    if (!survey.embeddedEmf.isEmpty() && readEmfHeader(spanOf(survey.embeddedEmf))) {
        // The enhanced picture inside is the better one; the outer header keeps its size.
        qCDebug(lcMetafile) << "drawing the enhanced metafile embedded in a Windows metafile";
        const QSizeF twips = metafile.m_twips;
        metafile.m_bytes = survey.embeddedEmf;
        metafile.setUpEmf();
        if (wmf->placeable)
            metafile.m_twips = twips;
    }
    return metafile;
}

void Metafile::setUpEmf()
{
    m_format = Format::Emf;
    const EmfHeader header = *readEmfHeader(spanOf(m_bytes));
    if (header.deviceSize.width() > 0 && header.deviceSize.height() > 0 &&
        header.deviceMm.width() > 0 && header.deviceMm.height() > 0)
        m_device.unitsPerMm = QSizeF(double(header.deviceSize.width()) / header.deviceMm.width(),
                                     double(header.deviceSize.height()) / header.deviceMm.height());
    const QSizeF &perMm = m_device.unitsPerMm;
    const QRectF frameMm(header.frame.topLeft() / 100.0, header.frame.size() / 100.0);
    const QRectF bounds = header.bounds;
    if (frameMm.width() > 0 && frameMm.height() > 0) {
        m_device.frame = QRectF(frameMm.left() * perMm.width(), frameMm.top() * perMm.height(),
                                frameMm.width() * perMm.width(), frameMm.height() * perMm.height());
        // Some producers write a frame of the right size at the wrong place: when it misses
        // most of what the bounds say is drawn, the drawing is placed by its bounds.
        const QRectF common = m_device.frame.intersected(bounds);
        if (bounds.isValid() &&
            common.width() * common.height() < 0.5 * bounds.width() * bounds.height())
            m_device.frame.moveTopLeft(bounds.topLeft());
    } else if (bounds.isValid()) {
        m_device.frame = bounds;
    } else {
        m_device.frame = QRectF(0, 0, 1, 1);
        m_device.frame = drawnBounds();
    }
    m_twips = QSizeF(m_device.frame.width() / perMm.width() * TwipsPerMm,
                     m_device.frame.height() / perMm.height() * TwipsPerMm);
}

void Metafile::setUpWmf(const WmfHeader &header, const WmfSurvey &survey)
{
    m_format = Format::Wmf;
    m_wmf = header;
    m_device.windowMapsToFrame = true;
    const double unitsPerInch = header.placeable ? header.unitsPerInch : 96.0;
    m_device.unitsPerMm = QSizeF(unitsPerInch / MmPerInch, unitsPerInch / MmPerInch);
    if (header.placeable && isUsable(QRectF(header.bounds).normalized()) &&
        header.bounds.width() > 1) {
        m_device.frame = QRectF(QPointF(header.bounds.left(), header.bounds.top()),
                                QPointF(header.bounds.right(), header.bounds.bottom()))
                             .normalized();
    } else if (survey.window && isUsable(*survey.window)) {
        m_device.frame = *survey.window;
    } else {
        m_device.frame = QRectF(0, 0, 1, 1);
        m_device.frame = drawnBounds();
    }
    m_twips = QSizeF(std::abs(m_device.frame.width()) * 1440.0 / unitsPerInch,
                     std::abs(m_device.frame.height()) * 1440.0 / unitsPerInch);
}

QRectF Metafile::drawnBounds() const
{
    QPicture picture;
    {
        QPainter painter(&picture);
        RenderBudget budget(1000); // only a size is at stake: a short budget
        GdiFontCache fonts;
        GdiPainter gdi(painter, m_device, m_device.frame, budget, fonts);
        play(gdi);
    }
    const QRectF bounds = picture.boundingRect();
    return bounds.isEmpty() ? QRectF(0, 0, 1, 1) : bounds;
}

void Metafile::play(GdiPainter &gdi) const
{
    if (m_format == Format::Emf)
        playEmf(spanOf(m_bytes), gdi);
    else
        playWmf(spanOf(m_bytes), m_wmf, gdi);
}

QSizeF Metafile::naturalSizeTwips() const
{
    // A lying header must not make the viewer allocate a picture kilometres wide.
    const double longest = std::max(m_twips.width(), m_twips.height());
    const double scale = longest > MaxNaturalTwips ? MaxNaturalTwips / longest : 1.0;
    return QSizeF(std::max(1.0, m_twips.width() * scale), std::max(1.0, m_twips.height() * scale));
}

void Metafile::render(QPainter &painter, const QRectF &target) const
{
    RenderBudget budget(PaintMilliseconds);
    render(painter, target, budget);
    if (budget.exhausted())
        qCWarning(lcMetafile) << "metafile drawing cut off: its record or time budget ran out";
}

void Metafile::render(QPainter &painter, const QRectF &target, RenderBudget &budget) const
{
    if (!isUsable(target))
        return;
    std::unique_lock lock(m_fonts->inUse, std::try_to_lock);
    GdiFontCache ownFonts;
    GdiPainter gdi(painter, m_device, target, budget, lock.owns_lock() ? m_fonts->cache : ownFonts);
    play(gdi);
}

QImage Metafile::toImage(const QSize &pixels, const QColor &background) const
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(background);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

} // namespace glintbox
