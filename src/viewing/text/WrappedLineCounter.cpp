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

int WrappedLineCounter::lineCount(const QString &paragraph) const
{
    qreal sum = 0;
    for (const QChar c : paragraph) {
        const char16_t code = c.unicode();
        // Tabs and control characters depend on position; measure exactly.
        if (code < 0x20 || code >= TableEnd || c.isMark())
            return laidOutLineCount(paragraph);
        sum += m_advances[code];
        if (sum > m_sureFit)
            return laidOutLineCount(paragraph);
    }
    return 1;
}

int WrappedLineCounter::laidOutLineCount(const QString &paragraph) const
{
    QTextLayout layout(paragraph, m_font);
    layout.setTextOption(m_option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(m_width);
        ++lines;
    }
    layout.endLayout();
    return qMax(1, lines);
}

} // namespace glintbox
