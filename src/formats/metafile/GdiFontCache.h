#pragma once

#include "GdiObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QSizeF>

#include <deque>
#include <optional>

namespace glintbox {

// The Qt fonts made from a picture's logical fonts: a picture draws many lines in few fonts,
// and resolving a font and measuring its glyphs cost far more than drawing them. It lives as
// long as the picture, so that each repaint finds the fonts of the one before.
class GdiFontCache {
public:
    // What a Qt font is made from: the logical font, its scale to target pixels, the scale of
    // a device unit (for a font of no stated height) and the resolution it is measured at.
    struct Key {
        GdiFont logical;
        QSizeF scale;
        double deviceScale = 1;
        int dpi = 96;
        bool operator==(const Key &) const = default;
    };
    // A glyph (one character, or a character and those drawn on it) as the font shapes it.
    struct Glyph {
        double advance = 0;    // natural, in pixels
        QList<QGlyphRun> runs; // baseline at y 0; more than one when a fallback font helps
    };
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, Glyph> glyphs; // those drawn so far

        // The glyph shaped for the device; valid until the next call.
        const Glyph &glyph(const QString &text, const QPaintDevice *device);
    };

    // The entry made for this key, or null.
    Entry *find(const Key &key);
    Entry &insert(const Key &key, const QFont &font, const QPaintDevice *device);
    // The entry of a Qt font made from other records (EMF+ fonts), found by the font itself.
    Entry &entryFor(const QFont &font, const QPaintDevice *device);

private:
    struct Slot {
        std::optional<Key> key; // none for an entry found by its font
        int dpi = 96;
        Entry entry;
    };
    Entry &add(std::optional<Key> key, int dpi, const QFont &font, const QPaintDevice *device);
    std::deque<Slot> m_slots; // oldest first; a deque keeps entries in place as it grows
};

} // namespace glintbox
