#pragma once

#include "MaxSizeLights.h"

#include <QWidget>

namespace glintbox {

// One small square cell of the size gauge, painted in a stored colour value.
class GaugeCell : public QWidget {
    Q_OBJECT

public:
    explicit GaugeCell(QWidget *parent = nullptr);

    quint32 colour() const { return m_colour; }
    void setColour(quint32 colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    quint32 m_colour = GaugeUnlit;
};

// The row of ten cells Picture4 0..9 that shows a file's size against the
// maximum file size.
class SizeGauge : public QWidget {
    Q_OBJECT

public:
    explicit SizeGauge(QWidget *parent = nullptr);

    GaugeCell *Picture4(int index) const { return m_cells.at(size_t(index)); }
    GaugeColours colours() const;
    void setColours(const GaugeColours &colours);

private:
    std::array<GaugeCell *, GaugeCellCount> m_cells{};
};

} // namespace glintbox
