#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringView>
#include <QTextOption>

#include <array>

namespace glintbox {

// Counts the lines a paragraph of plain text wraps into at a given width,
// without keeping a layout per paragraph: lines that plainly fit are measured
// from a table of character widths, the rest are laid out once and dropped.
class WrappedLineCounter {
public:
    WrappedLineCounter(const QFont &font, const QTextOption &option, qreal width);

    int lineCount(QStringView paragraph) const;
    // The index from 0 of the line of the paragraph that holds the position.
    int lineOfPosition(QStringView paragraph, int position) const;

private:
    struct Layout {
        int lineCount = 0;
        int lineOfPosition = 0;
    };

    bool surelyFits(QStringView paragraph) const;
    Layout layOut(QStringView paragraph, int position) const;

    // Characters below this are measured from the table; others take the
    // exact route (combining marks and complex scripts change widths).
    static constexpr char16_t TableEnd = 0x0250;

    QFont m_font;
    QTextOption m_option;
    qreal m_width;
    // Below this summed width a paragraph surely fits: kerning and rounding
    // never make Latin text wider by a tenth.
    qreal m_sureFit;
    std::array<qreal, TableEnd> m_advances{};
};

} // namespace glintbox
