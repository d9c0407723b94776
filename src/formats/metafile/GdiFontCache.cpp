#include "GdiFontCache.h"

#include <QPaintDevice>
#include <QTextLayout>

namespace glintbox {

namespace {

// Pictures use a handful of fonts; a hostile one making a new font for every line
// must not grow the cache without end.
constexpr std::size_t MaxFonts = 64;
constexpr qsizetype MaxGlyphs = 4096;

} // namespace

const GdiFontCache::Glyph &GdiFontCache::Entry::glyph(const QString &text,
                                                      const QPaintDevice *device)
{
    const auto known = glyphs.constFind(text);
    if (known != glyphs.constEnd())
        return *known;
    // Shaping once here spares it on every later drawing of the same character.
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    Glyph shaped{metrics.horizontalAdvance(text), layout.glyphRuns()};
    const QPointF toBaseline(0, -line.ascent());
    for (QGlyphRun &run : shaped.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF &position : positions)
            position += toBaseline;
        run.setPositions(positions);
    }
    if (glyphs.size() >= MaxGlyphs) // a hostile picture drawing every character there is
        glyphs.clear();
    return *glyphs.insert(text, std::move(shaped));
}

GdiFontCache::Entry *GdiFontCache::find(const Key &key)
{
    // The latest font is the likeliest.
    for (auto slot = m_slots.rbegin(); slot != m_slots.rend(); ++slot) {
        if (slot->key == key)
            return &slot->entry;
    }
    return nullptr;
}

GdiFontCache::Entry &GdiFontCache::insert(const Key &key, const QFont &font,
                                          const QPaintDevice *device)
{
    return add(key, key.dpi, font, device);
}

GdiFontCache::Entry &GdiFontCache::entryFor(const QFont &font, const QPaintDevice *device)
{
    const int dpi = device ? device->logicalDpiY() : 96;
    for (auto slot = m_slots.rbegin(); slot != m_slots.rend(); ++slot) {
        if (!slot->key && slot->dpi == dpi && slot->entry.font == font)
            return slot->entry;
    }
    return add(std::nullopt, dpi, font, device);
}

GdiFontCache::Entry &GdiFontCache::add(std::optional<Key> key, int dpi, const QFont &font,
                                       const QPaintDevice *device)
{
    if (m_slots.size() >= MaxFonts)
        m_slots.pop_front();
    m_slots.push_back(Slot{std::move(key), dpi, Entry{font, QFontMetricsF(font, device), {}}});
    return m_slots.back().entry;
}

} // namespace glintbox
