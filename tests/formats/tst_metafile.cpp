#include "MetafileWriter.h"

#include "core/RunTimeError.h"
#include "formats/metafile/GdiText.h"
#include "formats/metafile/Metafile.h"
#include "formats/metafile/RenderBudget.h"

#include <QPainter>
#include <QtTest>

using namespace glintbox;
using namespace glintbox::test;

namespace {

// EMF record types used below.
enum : quint32 {
    EmrPolyBezier16 = 85,
    EmrPolygon = 3,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyPolygon16 = 91,
    EmrSetWindowExt = 9,
    EmrSetWindowOrg = 10,
    EmrSetViewportExt = 11,
    EmrSetViewportOrg = 12,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetTextAlign = 22,
    EmrSetTextColor = 24,
    EmrExcludeClip = 29,
    EmrIntersectClip = 30,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrush = 39,
    EmrDeleteObject = 40,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrRoundRect = 44,
    EmrChord = 46,
    EmrPie = 47,
    EmrSetArcDirection = 57,
    EmrBeginPath = 59,
    EmrEndPath = 60,
    EmrSelectClipPath = 67,
    EmrComment = 70,
    EmrExtSelectClipRgn = 75,
    EmrStretchBlt = 77,
    EmrStretchDiBits = 81,
    EmrCreateFont = 82,
    EmrExtTextOutW = 84,
    EmrExtCreatePen = 95,
};
// WMF functions used below.
enum : quint16 {
    WmfSetWindowOrg = 0x020B,
    WmfSetWindowExt = 0x020C,
    WmfRectangle = 0x041B,
    WmfIntersectClip = 0x0416,
    WmfPolygon = 0x0324,
    WmfEscape = 0x0626,
    WmfSelectObject = 0x012D,
    WmfDeleteObject = 0x01F0,
    WmfCreatePen = 0x02FA,
    WmfCreateBrush = 0x02FC,
    WmfDibStretchBlt = 0x0B41,
    WmfStretchDib = 0x0F43,
    WmfExtTextOut = 0x0A32,
};
constexpr quint32 NullPen = 0x80000008;
constexpr quint32 BlackBrush = 0x80000004;
const quint32 Red = rgb(255, 0, 0), Green = rgb(0, 255, 0), Blue = rgb(0, 0, 255),
              Yellow = rgb(255, 255, 0);

QImage render(const QByteArray &bytes, QSize size = {100, 100})
{
    return Metafile::fromBytes(bytes).toImage(size, Qt::white);
}

QColor colourOf(quint32 colorRef)
{
    return QColor(colorRef & 0xFF, colorRef >> 8 & 0xFF, colorRef >> 16 & 0xFF);
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

// Whether anything but white lies in the columns [x0, x1) of rows [y0, y1).
bool inkIn(const QImage &image, int x0, int x1, int y0, int y1)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

// An EMF that fills with a red brush and no pen.
EmfWriter redFill(QSize size = {100, 100})
{
    EmfWriter emf(size);
    emf.record(EmrCreateBrush, Le().u32(1).u32(0).u32(Red).u32(0));
    emf.record(EmrSelectObject, Le().u32(1));
    emf.record(EmrSelectObject, Le().u32(NullPen));
    return emf;
}

Le rectParams(QRect r)
{
    return Le().rect(r);
}

Le points16(const QList<QPoint> &points)
{
    Le le;
    le.i32(0).i32(0).i32(100).i32(100).u32(quint32(points.size()));
    for (QPoint p : points)
        le.i16(qint16(p.x())).i16(qint16(p.y()));
    return le;
}

// A WMF with a placeable header of 1000 x 1000 units at 1000 an inch, red brush, no pen.
WmfWriter wmfRedFill()
{
    WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
    wmf.record(WmfCreateBrush, Le().u16(0).u32(Red).u16(0));
    wmf.record(WmfSelectObject, Le().u16(0));
    wmf.record(WmfCreatePen, Le().u16(5).i16(0).i16(0).u32(0));
    wmf.record(WmfSelectObject, Le().u16(1));
    return wmf;
}

Le wmfRect(QRect r)
{
    return Le()
        .i16(qint16(r.bottom() + 1))
        .i16(qint16(r.right() + 1))
        .i16(qint16(r.top()))
        .i16(qint16(r.left()));
}

QByteArray stretchDiBits(QRect dest, QRect source, const QByteArray &packedDib, int headerSize = 40)
{
    const QByteArray header = packedDib.left(headerSize);
    const QByteArray bits = packedDib.mid(headerSize);
    Le le;
    le.i32(0).i32(0).i32(100).i32(100);
    le.i32(dest.x()).i32(dest.y()).i32(source.x()).i32(source.y());
    le.i32(source.width()).i32(source.height());
    le.u32(80)
        .u32(quint32(header.size()))
        .u32(quint32(80 + header.size()))
        .u32(quint32(bits.size()));
    le.u32(0).u32(0x00CC0020).i32(dest.width()).i32(dest.height());
    le.bytes(header).bytes(bits);
    return le.data();
}

// Two by two: red, green over blue, yellow.
QByteArray quadrants()
{
    return dib24(2, 2, {Red, Green, Blue, Yellow});
}

} // namespace

class tst_Metafile : public QObject {
    Q_OBJECT

private slots:
    void recognisesSignatures_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("metafile");
        QTest::newRow("placeable wmf") << WmfWriter(QRect(0, 0, 10, 10), 1440).finish() << true;
        QTest::newRow("plain wmf") << WmfWriter().finish() << true;
        QTest::newRow("emf") << EmfWriter().finish() << true;
        QTest::newRow("png") << QByteArray(
                                    "\x89PNG\r\n\x1a\n0000000000000000000000000000000000000000000",
                                    50)
                             << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("emf type without signature")
            << QByteArray(Le().u32(1).u32(88).data() + QByteArray(80, 'x')) << false;
    }
    void recognisesSignatures()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, metafile);
        QCOMPARE(Metafile::looksLikeMetafile(head), metafile);
    }

    void rejectsWhatIsNotAMetafile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("hello, this is not a picture at all");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("emf header cut short") << EmfWriter().finish().left(60);
        QTest::newRow("placeable key only") << QByteArray(Le().u32(0x9AC6CDD7).data());
    }
    void rejectsWhatIsNotAMetafile()
    {
        QFETCH(QByteArray, bytes);
        try {
            Metafile::fromBytes(bytes);
            QFAIL("no error");
        } catch (const RunTimeError &error) {
            QCOMPARE(error.number(), int(InvalidPicture));
        }
    }

    void naturalSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSizeF>("twips");
        QTest::newRow("placeable, 1440 an inch")
            << WmfWriter(QRect(0, 0, 1440, 720), 1440).finish() << QSizeF(1440, 720);
        QTest::newRow("placeable, 576 an inch")
            << WmfWriter(QRect(100, 100, 576, 288), 576).finish() << QSizeF(1440, 720);
        // 254 pixels at 4 a millimetre is 63.5 mm, 3600 twips.
        QTest::newRow("emf frame") << EmfWriter(QSize(254, 127)).finish() << QSizeF(3600, 1800);
        QTest::newRow("window of a plain wmf, at 96 an inch")
            << WmfWriter().record(WmfSetWindowExt, Le().i16(48).i16(96)).finish()
            << QSizeF(1440, 720);
    }
    void naturalSize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSizeF, twips);
        const QSizeF size = Metafile::fromBytes(bytes).naturalSizeTwips();
        QVERIFY2(std::abs(size.width() - twips.width()) < 1 &&
                     std::abs(size.height() - twips.height()) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    }

    void mapModes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        QTest::newRow("emf text mode, window origin")
            << redFill()
                   .record(EmrSetWindowOrg, Le().i32(-50).i32(-50))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 20, 20)))
                   .finish()
            << QPoint(60, 60) << QPoint(10, 10);
        QTest::newRow("emf anisotropic extents")
            << redFill()
                   .record(EmrSetMapMode, Le().u32(8))
                   .record(EmrSetWindowExt, Le().i32(1000).i32(1000))
                   .record(EmrSetViewportExt, Le().i32(100).i32(100))
                   .record(EmrRectangle, rectParams(QRect(500, 500, 500, 500)))
                   .finish()
            << QPoint(75, 75) << QPoint(25, 25);
        QTest::newRow("emf isotropic keeps the aspect")
            << redFill()
                   .record(EmrSetMapMode, Le().u32(7))
                   .record(EmrSetWindowExt, Le().i32(1000).i32(500))
                   .record(EmrSetViewportExt, Le().i32(100).i32(100))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 1000, 500)))
                   .finish()
            << QPoint(50, 25) << QPoint(50, 75);
        QTest::newRow("emf lometric, y up")
            << redFill()
                   .record(EmrSetMapMode, Le().u32(2))
                   .record(EmrSetViewportOrg, Le().i32(0).i32(100))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 100, 100)))
                   .finish()
            << QPoint(20, 80) << QPoint(20, 20);
        QTest::newRow("emf world transform")
            << redFill()
                   .record(EmrSetWorldTransform, Le().f32(2).f32(0).f32(0).f32(2).f32(10).f32(10))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 20, 20)))
                   .finish()
            << QPoint(40, 40) << QPoint(60, 60);
        QTest::newRow("emf restore dc restores the mapping")
            << redFill()
                   .record(EmrSaveDc)
                   .record(EmrSetWindowOrg, Le().i32(-50).i32(-50))
                   .record(EmrRestoreDc, Le().i32(-1))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 20, 20)))
                   .finish()
            << QPoint(10, 10) << QPoint(60, 60);
        QTest::newRow("wmf placeable without window")
            << wmfRedFill().record(WmfRectangle, wmfRect(QRect(0, 0, 500, 500))).finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("wmf window, y up")
            << WmfWriter()
                   .record(WmfSetWindowOrg, Le().i16(2000).i16(0))
                   .record(WmfSetWindowExt, Le().i16(-2000).i16(2000))
                   .record(WmfCreateBrush, Le().u16(0).u32(Red).u16(0))
                   .record(WmfSelectObject, Le().u16(0))
                   .record(WmfRectangle, wmfRect(QRect(0, 0, 1000, 1000)))
                   .finish()
            << QPoint(25, 75) << QPoint(75, 25);
        QTest::newRow("wmf window inside a placeable picture")
            << wmfRedFill()
                   .record(WmfSetWindowOrg, Le().i16(0).i16(0))
                   .record(WmfSetWindowExt, Le().i16(100).i16(100))
                   .record(WmfRectangle, wmfRect(QRect(50, 0, 50, 50)))
                   .finish()
            << QPoint(75, 25) << QPoint(25, 25);
    }
    void mapModes() { checkPaintedAt(); }

    void shapes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        auto shape = [](quint32 type, const Le &params) {
            return redFill().record(type, params).finish();
        };
        const Le arcBox = Le().rect(QRect(10, 10, 80, 80)).i32(90).i32(50).i32(50).i32(10);
        QTest::newRow("rectangle") << shape(EmrRectangle, rectParams(QRect(20, 20, 40, 40)))
                                   << QPoint(50, 50) << QPoint(10, 10);
        QTest::newRow("ellipse") << shape(EmrEllipse, rectParams(QRect(20, 20, 60, 60)))
                                 << QPoint(50, 50) << QPoint(23, 23);
        QTest::newRow("round rectangle")
            << shape(EmrRoundRect, Le().rect(QRect(20, 20, 60, 60)).i32(40).i32(40))
            << QPoint(50, 50) << QPoint(22, 22);
        Le triangle32;
        triangle32.i32(0).i32(0).i32(100).i32(100).u32(3);
        triangle32.i32(10).i32(90).i32(50).i32(10).i32(90).i32(90);
        QTest::newRow("polygon") << shape(EmrPolygon, triangle32) << QPoint(50, 60)
                                 << QPoint(15, 20);
        QTest::newRow("polygon16") << shape(EmrPolygon16, points16({{10, 90}, {50, 10}, {90, 90}}))
                                   << QPoint(50, 60) << QPoint(15, 20);
        Le holed;
        holed.i32(0).i32(0).i32(100).i32(100).u32(2).u32(8).u32(4).u32(4);
        for (QPoint p : {QPoint(10, 10), QPoint(90, 10), QPoint(90, 90), QPoint(10, 90),
                         QPoint(30, 30), QPoint(70, 30), QPoint(70, 70), QPoint(30, 70)})
            holed.i16(qint16(p.x())).i16(qint16(p.y()));
        QTest::newRow("poly-polygon with a hole")
            << shape(EmrPolyPolygon16, holed) << QPoint(20, 20) << QPoint(50, 50);
        QTest::newRow("pie, counter-clockwise")
            << shape(EmrPie, arcBox) << QPoint(65, 35) << QPoint(35, 65);
        QTest::newRow("chord") << shape(EmrChord, arcBox) << QPoint(75, 25) << QPoint(55, 45);
        QTest::newRow("pie, clockwise")
            << redFill().record(EmrSetArcDirection, Le().u32(2)).record(EmrPie, arcBox).finish()
            << QPoint(35, 65) << QPoint(65, 35);
        auto stroked = [](quint32 type, const Le &params) {
            return EmfWriter()
                .record(EmrCreatePen, Le().u32(1).u32(0).i32(6).i32(0).u32(Red))
                .record(EmrSelectObject, Le().u32(1))
                .record(type, params)
                .finish();
        };
        QTest::newRow("polyline") << stroked(EmrPolyline16, points16({{10, 50}, {90, 50}}))
                                  << QPoint(50, 50) << QPoint(50, 30);
        QTest::newRow("bezier") << stroked(EmrPolyBezier16,
                                           points16({{10, 50}, {30, 10}, {70, 10}, {90, 50}}))
                                << QPoint(50, 20) << QPoint(50, 50);
        QTest::newRow("path figures stay apart")
            << EmfWriter()
                   .record(EmrCreatePen, Le().u32(1).u32(0).i32(3).i32(0).u32(Red))
                   .record(EmrSelectObject, Le().u32(1))
                   .record(EmrBeginPath)
                   .record(27, Le().i32(10).i32(10))
                   .record(88, points16({{10, 10}, {40, 10}, {40, 10}}))
                   .record(54, Le().i32(10).i32(40))
                   .record(27, Le().i32(60).i32(60))
                   .record(88, points16({{60, 60}, {90, 60}, {90, 60}}))
                   .record(54, Le().i32(60).i32(90))
                   .record(EmrEndPath)
                   .record(64, Le().rect(QRect(0, 0, 100, 100)))
                   .finish()
            << QPoint(25, 10) << QPoint(35, 50);
        QTest::newRow("wmf rectangle")
            << wmfRedFill().record(WmfRectangle, wmfRect(QRect(500, 500, 500, 500))).finish()
            << QPoint(75, 75) << QPoint(25, 25);
        QTest::newRow("wmf polygon")
            << wmfRedFill()
                   .record(WmfPolygon,
                           Le().i16(3).i16(100).i16(900).i16(500).i16(100).i16(900).i16(900))
                   .finish()
            << QPoint(50, 60) << QPoint(15, 20);
    }
    void shapes() { checkPaintedAt(); }

    void textFollowsDxArray()
    {
        Le text;
        text.i32(0).i32(0).i32(100).i32(100).u32(2).f32(1).f32(1);
        text.i32(10).i32(60).u32(2).u32(76 + 8).u32(0).i32(0).i32(0).i32(-1).i32(-1).u32(76);
        text.i32(60).i32(10).utf16(QStringLiteral("II"));
        const QImage image =
            render(EmfWriter()
                       .record(EmrCreateFont, Le().u32(1)
                                                  .i32(-40)
                                                  .i32(0)
                                                  .i32(0)
                                                  .i32(0)
                                                  .i32(700)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u32(0)
                                                  .utf16(QStringLiteral("DejaVu Sans"))
                                                  .bytes(QByteArray(64 - 22, '\0')))
                       .record(EmrSelectObject, Le().u32(1))
                       .record(EmrSetBkMode, Le().u32(1))
                       .record(EmrSetTextAlign, Le().u32(24))
                       .record(EmrExtTextOutW, text)
                       .finish());
        QVERIFY(inkIn(image, 8, 25, 25, 60));
        QVERIFY(inkIn(image, 68, 85, 25, 60));
        QVERIFY(!inkIn(image, 30, 65, 0, 100));
    }

    void textDecodesCharsets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("text");
        QTest::newRow("ansi") << QByteArray("caf\xe9 \x80") << 0 << QString()
                              << QStringLiteral("café €");
        QTest::newRow("russian") << QByteArray("\xc6\xe8") << 204 << QString()
                                 << QStringLiteral("Жи");
        QTest::newRow("east europe")
            << QByteArray("\x8a\xe8") << 238 << QString() << QStringLiteral("Šč");
        QTest::newRow("shift-jis")
            << QByteArray("\x93\xfa") << 128 << QString() << QStringLiteral("日");
        QTest::newRow("symbol font")
            << QByteArray("abp\xb3") << 2 << QStringLiteral("Symbol") << QStringLiteral("αβπ≥");
    }
    void textDecodesCharsets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, charset);
        QFETCH(QString, face);
        QFETCH(QString, text);
        QCOMPARE(decodeGdiText(bytes, charset, face), text);
    }

    void nonAsciiTextIsDrawn()
    {
        // A Cyrillic letter from code page 1251 bytes of a WMF draws as the same letter
        // from the wide string of an EMF.
        WmfWriter wmf(QRect(0, 0, 100, 100), 96);
        Le wmfFont;
        wmfFont.i16(-60)
            .i16(0)
            .i16(0)
            .i16(0)
            .i16(400)
            .u8(0)
            .u8(0)
            .u8(0)
            .u8(204)
            .u8(0)
            .u8(0)
            .u8(0)
            .u8(0)
            .bytes(QByteArray("DejaVu Sans").leftJustified(32, '\0'));
        wmf.record(0x02FB, wmfFont).record(WmfSelectObject, Le().u16(0));
        wmf.record(0x0102, Le().u16(1)); // transparent background
        wmf.record(WmfExtTextOut, Le().i16(20).i16(10).i16(1).u16(0).bytes("\xc6"));
        const QImage fromBytes = render(wmf.finish());

        Le text;
        text.i32(0).i32(0).i32(100).i32(100).u32(2).f32(1).f32(1);
        text.i32(10).i32(20).u32(1).u32(76).u32(0).i32(0).i32(0).i32(-1).i32(-1).u32(0);
        text.utf16(QStringLiteral("Ж"));
        const QImage fromWide =
            render(EmfWriter()
                       .record(EmrCreateFont, Le().u32(1)
                                                  .i32(-60)
                                                  .i32(0)
                                                  .i32(0)
                                                  .i32(0)
                                                  .i32(400)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u8(0)
                                                  .u32(0)
                                                  .utf16(QStringLiteral("DejaVu Sans"))
                                                  .bytes(QByteArray(64 - 22, '\0')))
                       .record(EmrSelectObject, Le().u32(1))
                       .record(EmrSetBkMode, Le().u32(1))
                       .record(EmrExtTextOutW, text)
                       .finish());
        QVERIFY(inkIn(fromBytes, 0, 100, 0, 100));
        QCOMPARE(fromBytes, fromWide);
    }

    void clipping_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        const Le everything = rectParams(QRect(0, 0, 100, 100));
        QTest::newRow("intersect")
            << redFill()
                   .record(EmrIntersectClip, rectParams(QRect(20, 20, 40, 40)))
                   .record(EmrRectangle, everything)
                   .finish()
            << QPoint(40, 40) << QPoint(70, 70);
        QTest::newRow("exclude") << redFill()
                                        .record(EmrExcludeClip, rectParams(QRect(20, 20, 40, 40)))
                                        .record(EmrRectangle, everything)
                                        .finish()
                                 << QPoint(70, 70) << QPoint(40, 40);
        QTest::newRow("restore dc lifts the clip")
            << redFill()
                   .record(EmrSaveDc)
                   .record(EmrIntersectClip, rectParams(QRect(20, 20, 40, 40)))
                   .record(EmrRestoreDc, Le().i32(-1))
                   .record(EmrIntersectClip, rectParams(QRect(50, 50, 50, 50)))
                   .record(EmrRectangle, everything)
                   .finish()
            << QPoint(70, 70) << QPoint(40, 40);
        Le region;
        region.u32(48).u32(5).u32(32).u32(1).u32(1).u32(16).rect(QRect(50, 0, 50, 100));
        region.rect(QRect(50, 0, 50, 100));
        QTest::newRow("select clip region") << redFill()
                                                   .record(EmrExtSelectClipRgn, region)
                                                   .record(EmrRectangle, everything)
                                                   .finish()
                                            << QPoint(75, 50) << QPoint(25, 50);
        QTest::newRow("region without rectangles clips everything")
            << redFill()
                   .record(EmrRectangle, rectParams(QRect(0, 0, 10, 10)))
                   .record(EmrExtSelectClipRgn,
                           Le().u32(32).u32(5).u32(32).u32(1).u32(0).u32(0).rect(QRect(0, 0, 0, 0)))
                   .record(EmrRectangle, everything)
                   .finish()
            << QPoint(5, 5) << QPoint(50, 50);
        QTest::newRow("no region resets the clip")
            << redFill()
                   .record(EmrIntersectClip, rectParams(QRect(0, 0, 10, 10)))
                   .record(EmrExtSelectClipRgn, Le().u32(0).u32(5))
                   .record(EmrRectangle, everything)
                   .finish()
            << QPoint(70, 70) << QPoint(200, 200);
        QTest::newRow("clip path") << redFill()
                                          .record(EmrBeginPath)
                                          .record(EmrEllipse, everything)
                                          .record(EmrEndPath)
                                          .record(EmrSelectClipPath, Le().u32(5))
                                          .record(EmrRectangle, everything)
                                          .finish()
                                   << QPoint(50, 50) << QPoint(3, 3);
        QTest::newRow("wmf intersect")
            << wmfRedFill()
                   .record(WmfIntersectClip, wmfRect(QRect(0, 0, 500, 500)))
                   .record(WmfRectangle, wmfRect(QRect(0, 0, 1000, 1000)))
                   .finish()
            << QPoint(25, 25) << QPoint(75, 75);
    }
    void clipping() { checkPaintedAt(); }

    void dibBlits_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<quint32>("colour");
        const QByteArray whole =
            EmfWriter()
                .record(EmrStretchDiBits, Le().bytes(stretchDiBits(QRect(0, 0, 100, 100),
                                                                   QRect(0, 0, 2, 2), quadrants())))
                .finish();
        QTest::newRow("stretchdibits top left") << whole << QPoint(25, 25) << Red;
        QTest::newRow("stretchdibits top right") << whole << QPoint(75, 25) << Green;
        QTest::newRow("stretchdibits bottom left") << whole << QPoint(25, 75) << Blue;
        QTest::newRow("stretchdibits bottom right") << whole << QPoint(75, 75) << Yellow;
        // Source rows of a bottom-up bitmap count from its bottom.
        QTest::newRow("stretchdibits source from the bottom")
            << EmfWriter()
                   .record(EmrStretchDiBits,
                           Le().bytes(stretchDiBits(QRect(0, 0, 100, 100), QRect(1, 0, 1, 1),
                                                    quadrants())))
                   .finish()
            << QPoint(50, 50) << Yellow;
        Le stretchBlt;
        stretchBlt.i32(0)
            .i32(0)
            .i32(100)
            .i32(100)
            .i32(0)
            .i32(0)
            .i32(100)
            .i32(100)
            .u32(0x00CC0020)
            .i32(0)
            .i32(0);
        stretchBlt.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0).u32(0).u32(0);
        stretchBlt.u32(108).u32(40).u32(148).u32(quint32(quadrants().size() - 40)).i32(2).i32(2);
        stretchBlt.bytes(quadrants());
        QTest::newRow("stretchblt")
            << EmfWriter().record(EmrStretchBlt, stretchBlt).finish() << QPoint(75, 25) << Green;
        Le keyed = stretchBlt;
        QByteArray keyedBytes = keyed.data();
        const QByteArray green = Le().u32(Green).data();
        keyedBytes.replace(32, 4, green); // the rop field holds the transparent colour
        QTest::newRow("transparentblt keys out a colour")
            << EmfWriter().record(116, Le().bytes(keyedBytes)).finish() << QPoint(75, 25)
            << rgb(255, 255, 255);
        QTest::newRow("transparentblt keeps the rest")
            << EmfWriter().record(116, Le().bytes(keyedBytes)).finish() << QPoint(25, 25) << Red;
        QTest::newRow("wmf dibstretchblt") << WmfWriter(QRect(0, 0, 100, 100), 96)
                                                  .record(WmfDibStretchBlt, Le().u32(0x00CC0020)
                                                                                .i16(2)
                                                                                .i16(2)
                                                                                .i16(0)
                                                                                .i16(0)
                                                                                .i16(100)
                                                                                .i16(100)
                                                                                .i16(0)
                                                                                .i16(0)
                                                                                .bytes(quadrants()))
                                                  .finish()
                                           << QPoint(25, 75) << Blue;
        QTest::newRow("wmf stretchdib") << WmfWriter(QRect(0, 0, 100, 100), 96)
                                               .record(WmfStretchDib, Le().u32(0x00CC0020)
                                                                          .u16(0)
                                                                          .i16(2)
                                                                          .i16(2)
                                                                          .i16(0)
                                                                          .i16(0)
                                                                          .i16(100)
                                                                          .i16(100)
                                                                          .i16(0)
                                                                          .i16(0)
                                                                          .bytes(quadrants()))
                                               .finish()
                                        << QPoint(75, 75) << Yellow;
    }
    void dibBlits()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, at);
        QFETCH(quint32, colour);
        const QImage image = render(bytes);
        QVERIFY2(near(image.pixelColor(at), colourOf(colour)),
                 qPrintable(image.pixelColor(at).name()));
    }

    void gradientFillInterpolates()
    {
        Le gradient;
        gradient.i32(0).i32(0).i32(100).i32(100).u32(2).u32(1).u32(0); // horizontal rectangle
        gradient.i32(0).i32(0).u16(0xFF00).u16(0).u16(0).u16(0);
        gradient.i32(100).i32(100).u16(0).u16(0).u16(0xFF00).u16(0);
        gradient.u32(0).u32(1);
        const QImage image = render(EmfWriter().record(118, gradient).finish());
        QVERIFY(near(image.pixelColor(2, 50), Qt::red));
        QVERIFY(near(image.pixelColor(50, 50), QColor(128, 0, 128)));
        QVERIFY(near(image.pixelColor(97, 50), Qt::blue));
    }

    void bitmapLargerThanItsRecordIsNotDrawn()
    {
        // The header claims 200 x 200 pixels; the record holds the bits of 2 x 2.
        QByteArray dib = quadrants();
        Le big;
        big.i32(200).i32(200);
        dib.replace(4, 8, big.data());
        const QImage image = render(
            redFill()
                .record(EmrStretchDiBits,
                        Le().bytes(stretchDiBits(QRect(0, 0, 50, 100), QRect(0, 0, 200, 200), dib)))
                .record(EmrRectangle, rectParams(QRect(50, 0, 50, 100)))
                .finish());
        QCOMPARE(image.pixelColor(25, 50), QColor(Qt::white));
        QVERIFY(near(image.pixelColor(75, 50), Qt::red));
    }

    void objectSelectionAndDeletion()
    {
        const QImage image =
            render(EmfWriter()
                       .record(EmrSelectObject, Le().u32(NullPen))
                       .record(EmrCreateBrush, Le().u32(1).u32(0).u32(Red).u32(0))
                       .record(EmrCreateBrush, Le().u32(2).u32(0).u32(Green).u32(0))
                       .record(EmrCreateBrush, Le().u32(100000).u32(0).u32(Blue).u32(0))
                       .record(EmrSelectObject, Le().u32(1))
                       .record(EmrDeleteObject, Le().u32(1))
                       .record(EmrSelectObject, Le().u32(1))      // deleted: ignored
                       .record(EmrSelectObject, Le().u32(100000)) // never created: ignored
                       .record(EmrRectangle, rectParams(QRect(0, 0, 30, 100)))
                       .record(EmrSelectObject, Le().u32(2))
                       .record(EmrRectangle, rectParams(QRect(30, 0, 30, 100)))
                       .record(EmrSelectObject, Le().u32(BlackBrush))
                       .record(EmrRectangle, rectParams(QRect(60, 0, 40, 100)))
                       .finish());
        QVERIFY(near(image.pixelColor(15, 50), Qt::red));
        QVERIFY(near(image.pixelColor(45, 50), Qt::green));
        QVERIFY(near(image.pixelColor(80, 50), Qt::black));
    }

    void wmfObjectSlotsAreReused()
    {
        const QImage image =
            render(WmfWriter(QRect(0, 0, 100, 100), 96)
                       .record(WmfCreateBrush, Le().u16(0).u32(Red).u16(0))   // slot 0
                       .record(WmfCreateBrush, Le().u16(0).u32(Green).u16(0)) // slot 1
                       .record(WmfDeleteObject, Le().u16(0))
                       .record(WmfCreateBrush, Le().u16(0).u32(Blue).u16(0)) // slot 0 again
                       .record(WmfSelectObject, Le().u16(0))
                       .record(WmfRectangle, wmfRect(QRect(0, 0, 100, 100)))
                       .finish());
        QVERIFY(near(image.pixelColor(50, 50), Qt::blue));
    }

    void lyingSizes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        Le shortPolygon;
        shortPolygon.i32(0).i32(0).i32(100).i32(100).u32(1000000);
        shortPolygon.i32(0).i32(0).i32(50).i32(0).i32(50).i32(50);
        QTest::newRow("emf point count beyond its record")
            << redFill()
                   .record(EmrPolygon, shortPolygon)
                   .record(EmrRectangle, rectParams(QRect(50, 50, 50, 50)))
                   .finish()
            << QPoint(75, 75) << QPoint(10, 5);
        QByteArray beyond =
            redFill()
                .record(EmrRectangle, rectParams(QRect(0, 0, 50, 50)))
                .rawRecord(EmrRectangle, 0x7FFFFFF0, rectParams(QRect(50, 50, 50, 50)).data())
                .finish(false);
        QTest::newRow("emf record beyond the file") << beyond << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("emf record of size zero")
            << redFill()
                   .record(EmrRectangle, rectParams(QRect(0, 0, 50, 50)))
                   .rawRecord(EmrRectangle, 0, QByteArray())
                   .record(EmrRectangle, rectParams(QRect(50, 50, 50, 50)))
                   .finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("emf region count beyond its data")
            << redFill()
                   .record(EmrExtSelectClipRgn, Le().u32(48)
                                                    .u32(5)
                                                    .u32(32)
                                                    .u32(1)
                                                    .u32(0x10000000)
                                                    .u32(0)
                                                    .rect(QRect(0, 0, 10, 10))
                                                    .rect(QRect(0, 0, 10, 10)))
                   .record(EmrRectangle, rectParams(QRect(0, 0, 100, 100)))
                   .finish()
            << QPoint(50, 50) << QPoint(200, 200);
        QTest::newRow("wmf point count beyond its record")
            << wmfRedFill()
                   .record(WmfPolygon, Le().i16(30000).i16(0).i16(0).i16(500).i16(0))
                   .record(WmfRectangle, wmfRect(QRect(500, 500, 500, 500)))
                   .finish()
            << QPoint(75, 75) << QPoint(25, 5);
        QTest::newRow("wmf record beyond the file")
            << wmfRedFill()
                   .record(WmfRectangle, wmfRect(QRect(0, 0, 500, 500)))
                   .rawRecord(0x40000000, WmfRectangle, wmfRect(QRect(500, 500, 500, 500)).data())
                   .finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("wmf text count beyond its record")
            << wmfRedFill()
                   .record(WmfExtTextOut, Le().i16(0).i16(0).i16(32000).u16(0).bytes("abc"))
                   .record(WmfRectangle, wmfRect(QRect(500, 500, 500, 500)))
                   .finish()
            << QPoint(75, 75) << QPoint(25, 25);
    }
    void lyingSizes() { checkPaintedAt(); }

    void emfPlusCommentsAreSkipped()
    {
        const QImage image = render(
            redFill()
                .record(
                    EmrComment,
                    Le().u32(20).u32(0x2B464D45).u16(0x4008).u16(0).u32(12).u32(0).u32(0xFFFFFFFF))
                .record(EmrRectangle, rectParams(QRect(0, 0, 100, 100)))
                .finish());
        QVERIFY(near(image.pixelColor(50, 50), Qt::red));
    }

    void embeddedEmfReplacesTheWmfDrawing()
    {
        const QByteArray emf =
            redFill().record(EmrRectangle, rectParams(QRect(0, 0, 100, 100))).finish();
        Le escape;
        escape.u16(15)
            .u16(quint16(34 + emf.size()))
            .u32(0x43464D57)
            .u32(1)
            .u32(0x10000)
            .u16(0)
            .u32(0)
            .u32(1)
            .u32(quint32(emf.size()))
            .u32(0)
            .u32(quint32(emf.size()))
            .bytes(emf);
        WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
        wmf.record(WmfEscape, escape);
        wmf.record(WmfCreateBrush, Le().u16(0).u32(Blue).u16(0))
            .record(WmfSelectObject, Le().u16(0));
        wmf.record(WmfRectangle, wmfRect(QRect(0, 0, 1000, 1000)));
        const Metafile picture = Metafile::fromBytes(wmf.finish());
        QCOMPARE(picture.naturalSizeTwips(), QSizeF(1440, 1440)); // the outer header's size
        QVERIFY(near(picture.toImage(QSize(100, 100), Qt::white).pixelColor(50, 50), Qt::red));
    }

    void userDashedPenLeavesGaps()
    {
        Le pen;
        pen.u32(1).u32(0).u32(0).u32(0).u32(0);
        pen.u32(0x10000 | 0x200 | 7).u32(4).u32(0).u32(Red).u32(0).u32(2).u32(10).u32(10);
        const QImage image = render(EmfWriter()
                                        .record(EmrExtCreatePen, pen)
                                        .record(EmrSelectObject, Le().u32(1))
                                        .record(EmrPolyline16, points16({{0, 50}, {100, 50}}))
                                        .finish());
        QVERIFY(near(image.pixelColor(5, 50), Qt::red));
        QCOMPARE(image.pixelColor(15, 50), QColor(Qt::white));
        QVERIFY(near(image.pixelColor(25, 50), Qt::red));
    }

    void budgetEndsTheRecordLoop_data()
    {
        QTest::addColumn<qint64>("maxRecords");
        QTest::addColumn<int>("clockJumpsAfter"); // records spent before the time runs out
        QTest::addColumn<int>("spentBeforeStop");
        QTest::newRow("record count") << qint64(10) << -1 << 10;
        QTest::newRow("time, from the start") << qint64(1'000'000) << 0 << 7;
        QTest::newRow("time, read every 8 records") << qint64(1'000'000) << 20 << 23;
    }
    void budgetEndsTheRecordLoop()
    {
        QFETCH(qint64, maxRecords);
        QFETCH(int, clockJumpsAfter);
        QFETCH(int, spentBeforeStop);
        qint64 now = 5000;
        RenderBudget budget(100, maxRecords, [&] { return now; });
        int spent = 0;
        for (;;) {
            if (spent == clockJumpsAfter)
                now += 101;
            if (budget.spend())
                break;
            QVERIFY(++spent < 1000);
        }
        QCOMPARE(spent, spentBeforeStop);
        QVERIFY(budget.exhausted());
    }

    void budgetOverTimeReadsTheClockAtOnce()
    {
        qint64 now = 5000;
        RenderBudget budget(100, 1000, [&] { return now; });
        QVERIFY(!budget.spend());
        QVERIFY(!budget.overTime());
        now += 101;
        QVERIFY(budget.overTime());
        QVERIFY(budget.spend());
    }

    void rendersIntoATargetOfAnotherPainter()
    {
        const Metafile picture = Metafile::fromBytes(
            redFill().record(EmrRectangle, rectParams(QRect(0, 0, 100, 100))).finish());
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(50, 50);
        picture.render(painter, QRectF(50, 50, 50, 50));
        painter.end();
        QVERIFY(near(image.pixelColor(125, 125), Qt::red));
        QCOMPARE(image.pixelColor(90, 125), QColor(Qt::white));
        QCOMPARE(image.pixelColor(160, 125), QColor(Qt::white)); // clipped to the target
    }

private:
    void checkPaintedAt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, painted);
        QFETCH(QPoint, unpainted);
        const QImage image = render(bytes);
        QVERIFY2(near(image.pixelColor(painted), Qt::red),
                 qPrintable(
                     QStringLiteral("painted point is %1").arg(image.pixelColor(painted).name())));
        if (image.rect().contains(unpainted))
            QVERIFY2(image.pixelColor(unpainted) == QColor(Qt::white),
                     qPrintable(QStringLiteral("unpainted point is %1")
                                    .arg(image.pixelColor(unpainted).name())));
    }
};

QTEST_MAIN(tst_Metafile)
#include "tst_metafile.moc"
