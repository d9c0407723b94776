#pragma once

#include "GdiObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QSizeF>

#include <deque>

namespace glintbox {

// The Qt fonts one replay has made from its logical fonts: a picture draws many lines in few
// fonts, and resolving a font and measuring its glyphs cost far more than drawing them.
class GdiFontCache {
public:
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, double> advances; // natural advance of each glyph drawn so far

        double advance(const QString &glyph);
    };

    // The entry made for this logical font at this scale, or null.
    Entry *find(const GdiFont &logical, QSizeF scale);
    Entry &insert(const GdiFont &logical, QSizeF scale, const QFont &font,
                  const QPaintDevice *device);

private:
    struct Slot {
        GdiFont logical;
        QSizeF scale;
        Entry entry;
    };
    std::deque<Slot> m_slots; // oldest first; a deque keeps entries in place as it grows
};

} // namespace glintbox
