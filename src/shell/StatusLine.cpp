#include "StatusLine.h"

#include "core/PlainToolTip.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace glintbox {

StatusLine::StatusLine(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("InputFileProperties"));
    setTextFormat(Qt::PlainText);
}

void StatusLine::setLine(const QString &line, const QString &fileName)
{
    m_fileName = fileName;
    setText(line);
    setToolTip(line.isEmpty() ? QString() : plainToolTip(line));
}

QString StatusLine::shownLine() const
{
    const QString line = text();
    const QFontMetrics metrics = fontMetrics();
    const int over = metrics.horizontalAdvance(line) - contentsRect().width();
    const qsizetype at = m_fileName.isEmpty() ? -1 : line.indexOf(m_fileName);
    if (over <= 0 || at < 0)
        return line;
    const int nameRoom = std::max(0, metrics.horizontalAdvance(m_fileName) - over);
    return line.left(at) + metrics.elidedText(m_fileName, Qt::ElideMiddle, nameRoom) +
           line.mid(at + m_fileName.size());
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                          shownLine(), foregroundRole());
}

} // namespace glintbox
