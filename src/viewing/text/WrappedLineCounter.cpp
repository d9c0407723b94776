#include "WrappedLineCounter.h"

#include <QTextLayout>

namespace glintbox {

WrappedLineCounter::WrappedLineCounter(const QFont &font, const QTextOption &option, qreal width)
    : m_font(font)
    , m_option(option)
    , m_width(width)
    , m_sureFit(width * 0.9)
{
    const QFontMetricsF metrics(font);
    for (char16_t code = 0x20; code < TableEnd; ++code)
        m_advances[code] = metrics.horizontalAdvance(QChar(code));
}

bool WrappedLineCounter::surelyFits(QStringView paragraph) const
{
    qreal sum = 0;
    for (const QChar c : paragraph) {
        const char16_t code = c.unicode();
        // Tabs and control characters depend on position, and combining marks
        // (all above the table) change widths; those are measured exactly.
        if (code < 0x20 || code >= TableEnd)
            return false;
        sum += m_advances[code];
        if (sum > m_sureFit)
            return false;
    }
    return true;
}

int WrappedLineCounter::lineCount(QStringView paragraph) const
{
    return surelyFits(paragraph) ? 1 : layOut(paragraph, 0).lineCount;
}

int WrappedLineCounter::lineOfPosition(QStringView paragraph, int position) const
{
    return surelyFits(paragraph) ? 0 : layOut(paragraph, position).lineOfPosition;
}

WrappedLineCounter::Layout WrappedLineCounter::layOut(QStringView paragraph, int position) const
{
    QTextLayout layout(paragraph.toString(), m_font);
    layout.setTextOption(m_option);
    layout.beginLayout();
    Layout result;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(m_width);
        if (line.textStart() <= position)
            result.lineOfPosition = line.lineNumber();
        ++result.lineCount;
    }
    layout.endLayout();
    result.lineCount = qMax(1, result.lineCount);
    return result;
}

} // namespace glintbox
