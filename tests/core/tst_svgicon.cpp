#include "core/SvgIcon.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace glintbox;

namespace {

// Sharp edges and a diagonal, so that a picture scaled from another size
// differs from one drawn at its own size.
const QByteArray Picture =
    QByteArrayLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">)"
                      R"(<rect x="2" y="2" width="9" height="20" fill="#232629"/>)"
                      R"(<path d="M13 22 L22 2 L22 22 Z" fill="#3daee9"/></svg>)");

// The icon as it was made before it was drawn on demand: one picture drawn
// ahead at each offered size.
QIcon drawnAhead()
{
    QSvgRenderer renderer(Picture);
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QImage painted(const QIcon &icon, const QSize &area, qreal ratio, QIcon::Mode mode)
{
    QImage image(area * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(), area), Qt::AlignCenter, mode);
    return image;
}

} // namespace

class TestSvgIcon : public QObject {
    Q_OBJECT

private slots:
    void sameAsPicturesDrawnAhead_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("mode");
        QTest::addColumn<qreal>("ratio");
        const QList<std::pair<const char *, QIcon::Mode>> modes = {{"normal", QIcon::Normal},
                                                                   {"disabled", QIcon::Disabled},
                                                                   {"selected", QIcon::Selected},
                                                                   {"active", QIcon::Active}};
        for (const int side : {16, 24, 48, 64, 100})
            for (const auto &[name, mode] : modes)
                for (const qreal ratio : {1.0, 2.0})
                    QTest::addRow("%d %s x%g", side, name, ratio) << side << int(mode) << ratio;
    }

    // Every size, mode and pixel ratio looks as before; larger than the
    // largest offered size, the picture stays at that size.
    void sameAsPicturesDrawnAhead()
    {
        QFETCH(int, side);
        QFETCH(int, mode);
        QFETCH(qreal, ratio);
        const QIcon ours = renderSvgIcon(Picture);
        const QIcon before = drawnAhead();
        const QSize size(side, side);
        const auto iconMode = QIcon::Mode(mode);
        QCOMPARE(ours.actualSize(size, iconMode), before.actualSize(size, iconMode));
        const QImage wanted = before.pixmap(size, ratio, iconMode).toImage();
        const QImage got = ours.pixmap(size, ratio, iconMode).toImage();
        QCOMPARE(got.size(), wanted.size());
        QCOMPARE(got.convertToFormat(wanted.format()), wanted);
        QCOMPARE(painted(ours, size, ratio, iconMode), painted(before, size, ratio, iconMode));
    }

    // The offered sizes are those task bars pick the window's icon from.
    void offersTheSizesDrawnAhead()
    {
        QCOMPARE(renderSvgIcon(Picture).availableSizes(), drawnAhead().availableSizes());
    }
};

QTEST_MAIN(TestSvgIcon)
#include "tst_svgicon.moc"
