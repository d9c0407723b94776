#pragma once

#include "GdiPainter.h"
#include "WmfPlayer.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <mutex>

class QPainter;

namespace glintbox {

// A decoded WMF or EMF, replayable on any QPainter.
class Metafile {
public:
    // Throws RunTimeError(InvalidPicture) (core/RunTimeError.h) when the bytes are not a
    // metafile it can read.
    static Metafile fromBytes(const QByteArray &bytes);
    static bool
    looksLikeMetafile(const QByteArray &head); // WMF (placeable or not) or EMF signature
    QSizeF naturalSizeTwips() const;
    // Draws the whole picture scaled into target (device coordinates of painter).
    void render(QPainter &painter, const QRectF &target) const;
    // The same within a budget already running, for a picture drawn inside another.
    void render(QPainter &painter, const QRectF &target, RenderBudget &budget) const;
    QImage toImage(const QSize &pixels, const QColor &background = Qt::transparent) const;

private:
    enum class Format { Wmf, Emf };
    Metafile() = default;
    void play(GdiPainter &gdi) const;
    // The device-space box of everything the records draw, for pictures that state no size.
    QRectF drawnBounds() const;
    void setUpEmf();
    void setUpWmf(const WmfHeader &header, const WmfSurvey &survey);

    Format m_format = Format::Emf;
    QByteArray m_bytes;
    WmfHeader m_wmf;
    GdiDevice m_device;
    QSizeF m_twips;
    // The fonts one replay made, for the next: repaints of a picture draw the same text. A
    // replay on another thread while one runs makes its own.
    struct SharedFonts {
        std::mutex inUse;
        GdiFontCache cache;
    };
    std::shared_ptr<SharedFonts> m_fonts = std::make_shared<SharedFonts>();
};

} // namespace glintbox
