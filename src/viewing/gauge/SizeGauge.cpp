#include "SizeGauge.h"

#include <QHBoxLayout>
#include <QPainter>

namespace glintbox {

GaugeCell::GaugeCell(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GaugeCell::setColour(quint32 colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

QSize GaugeCell::sizeHint() const
{
    return {12, 12};
}

void GaugeCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect cell = rect();
    // A sunken edge, so that an unlit cell in the button-face colour still
    // reads as a cell.
    painter.fillRect(cell, palette().color(QPalette::Dark));
    painter.fillRect(cell.adjusted(1, 1, 0, 0), palette().color(QPalette::Light));
    painter.fillRect(cell.adjusted(1, 1, -1, -1), resolveColour(m_colour, palette()));
}

SizeGauge::SizeGauge(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < GaugeCellCount; ++i) {
        auto *cell = new GaugeCell(this);
        cell->setObjectName(QStringLiteral("Picture4_%1").arg(i));
        cell->setToolTip(
            QStringLiteral("File is %1% of selected maximum file size").arg(10 * (i + 1)));
        row->addWidget(cell);
        m_cells[size_t(i)] = cell;
    }
    row->addStretch();
}

GaugeColours SizeGauge::colours() const
{
    GaugeColours colours;
    for (int i = 0; i < GaugeCellCount; ++i)
        colours[size_t(i)] = m_cells[size_t(i)]->colour();
    return colours;
}

void SizeGauge::setColours(const GaugeColours &colours)
{
    for (int i = 0; i < GaugeCellCount; ++i)
        m_cells[size_t(i)]->setColour(colours[size_t(i)]);
}

} // namespace glintbox
