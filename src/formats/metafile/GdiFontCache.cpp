#include "GdiFontCache.h"

namespace glintbox {

namespace {

// Pictures use a handful of fonts; a hostile one making a new font for every line
// must not grow the cache without end.
constexpr std::size_t MaxFonts = 64;
constexpr qsizetype MaxAdvances = 4096;

} // namespace

double GdiFontCache::Entry::advance(const QString &glyph)
{
    const auto known = advances.constFind(glyph);
    if (known != advances.constEnd())
        return *known;
    const double width = metrics.horizontalAdvance(glyph);
    if (advances.size() < MaxAdvances)
        advances.insert(glyph, width);
    return width;
}

GdiFontCache::Entry *GdiFontCache::find(const GdiFont &logical, QSizeF scale)
{
    // The latest font is the likeliest.
    for (auto slot = m_slots.rbegin(); slot != m_slots.rend(); ++slot) {
        if (slot->scale == scale && slot->logical == logical)
            return &slot->entry;
    }
    return nullptr;
}

GdiFontCache::Entry &GdiFontCache::insert(const GdiFont &logical, QSizeF scale, const QFont &font,
                                          const QPaintDevice *device)
{
    if (m_slots.size() >= MaxFonts)
        m_slots.pop_front();
    m_slots.push_back(Slot{logical, scale, Entry{font, QFontMetricsF(font, device), {}}});
    return m_slots.back().entry;
}

} // namespace glintbox
