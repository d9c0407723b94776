#include "SvgIcon.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <algorithm>
#include <memory>

namespace glintbox {

namespace {

constexpr int LargestSide = 64;

class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QByteArray svg)
        : m_svg(std::move(svg))
    {
    }

    QIconEngine *clone() const override { return new SvgIconEngine(m_svg); }
    QString key() const override { return QStringLiteral("glintbox-svg"); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = sideFor(size);
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {LargestSide, LargestSide}};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = sideFor(size);
        if (side <= 0)
            return {};
        const quint64 key = (quint64(side) << 8) | quint64(mode);
        const auto found = m_drawn.constFind(key);
        if (found != m_drawn.cend())
            return *found;
        QPixmap drawn = mode == QIcon::Normal ? draw(side) : styled(draw(side), mode);
        m_drawn.insert(key, drawn);
        return drawn;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

private:
    static int sideFor(const QSize &size)
    {
        return std::min({size.width(), size.height(), LargestSide});
    }

    QPixmap draw(int side)
    {
        if (!m_renderer)
            m_renderer = std::make_unique<QSvgRenderer>(m_svg);
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        m_renderer->render(&painter);
        return pixmap;
    }

    // Disabled and selected pictures as the style makes them from the normal
    // one, as it would for an icon of pictures.
    static QPixmap styled(const QPixmap &normal, QIcon::Mode mode)
    {
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        const QPixmap made = QApplication::style()->generatedIconPixmap(mode, normal, &option);
        return made.isNull() ? normal : made;
    }

    QByteArray m_svg;
    std::unique_ptr<QSvgRenderer> m_renderer;
    QHash<quint64, QPixmap> m_drawn;
};

} // namespace

QIcon renderSvgIcon(const QByteArray &svg)
{
    return QIcon(new SvgIconEngine(svg));
}

} // namespace glintbox
