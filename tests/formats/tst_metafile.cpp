#include "MetafileWriter.h"

#include "core/RunTimeError.h"
#include "formats/metafile/GdiText.h"
#include "formats/metafile/Metafile.h"
#include "formats/metafile/MetafileRecords.h"
#include "formats/metafile/RenderBudget.h"

#include <QPainter>
#include <QtTest>

using namespace glintbox;
using namespace glintbox::gdi;
using namespace glintbox::emfplus;
using namespace glintbox::test;

namespace {

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

// Whether anything but white lies in the area.
bool inkIn(const QImage &image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

// An EMF that fills with a red brush and no pen.
EmfWriter redFill(QSize size = {100, 100})
{
    EmfWriter emf(size);
    emf.record(EMR_CREATEBRUSHINDIRECT, Le().u32s(1, 0, Red, 0));
    emf.record(EMR_SELECTOBJECT, Le().u32(1));
    emf.record(EMR_SELECTOBJECT, Le().u32(NULL_PEN));
    return emf;
}

// A picture of the records, each given as its type and parameters, after those of `start`.
template<typename Writer, typename... Records>
QByteArray picture(Writer start, const Records &...records)
{
    return start.records(records...).finish();
}

Le box(int x, int y, int width, int height)
{
    return Le().rect(QRect(x, y, width, height));
}

// An EMF painted green all over, without a pen, with a blue brush selected.
EmfWriter greenWithBlueBrush()
{
    EmfWriter emf;
    emf.record(EMR_SELECTOBJECT, Le().u32(NULL_PEN))
        .records(EMR_CREATEBRUSHINDIRECT, Le().u32s(1, BS_SOLID, Green, 0), EMR_SELECTOBJECT,
                 Le().u32(1), EMR_RECTANGLE, box(0, 0, 100, 100), EMR_CREATEBRUSHINDIRECT,
                 Le().u32s(2, BS_SOLID, Blue, 0))
        .record(EMR_SELECTOBJECT, Le().u32(2));
    return emf;
}

Le points16(const QList<QPoint> &points)
{
    Le le;
    le.i32s(0, 0, 100, 100).u32(quint32(points.size()));
    for (QPoint p : points)
        le.i16(qint16(p.x())).i16(qint16(p.y()));
    return le;
}

// A WMF with a placeable header of 1000 x 1000 units at 1000 an inch, red brush, no pen.
WmfWriter wmfRedFill()
{
    WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
    wmf.record(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Red).u16(0));
    wmf.record(META_SELECTOBJECT, Le().u16(0));
    wmf.record(META_CREATEPENINDIRECT, Le().u16(5).i16s(0, 0).u32(0));
    wmf.record(META_SELECTOBJECT, Le().u16(1));
    return wmf;
}

Le wmfRect(QRect r)
{
    return Le().i16s(r.bottom() + 1, r.right() + 1, r.top(), r.left());
}

QByteArray stretchDiBits(QRect dest, QRect source, const QByteArray &packedDib,
                         quint32 rop = SRCCOPY)
{
    const QByteArray header = packedDib.left(40);
    const QByteArray bits = packedDib.mid(40);
    Le le;
    le.i32s(0, 0, 100, 100, dest.x(), dest.y(), source.x(), source.y());
    le.i32s(source.width(), source.height());
    le.u32s(80, header.size(), 80 + header.size(), bits.size(), DIB_RGB_COLORS, rop);
    le.i32s(dest.width(), dest.height());
    le.bytes(header).bytes(bits);
    return le.data();
}

// A bold DejaVu Sans of the given character height, as logical font 1.
Le emfFont(int height, int weight = 700, const QString &face = QStringLiteral("DejaVu Sans"),
           quint8 charset = 0, int escapement = 0)
{
    Le font = Le().u32(1).i32s(-height, 0, escapement, 0, weight).u8s(0, 0, 0, charset).u32(0);
    return font.utf16(face).bytes(QByteArray(64 - 2 * face.size(), '\0'));
}

// An EXTTEXTOUTW record's parameters; advances, when given, follow the text's offsets.
Le textOut(QPoint reference, const QString &text, quint32 options = 0, QRect rect = QRect(),
           const QList<qint32> &advances = {})
{
    Le le;
    le.i32s(0, 0, 100, 100).u32(2).f32s(1, 1).i32s(reference.x(), reference.y());
    le.u32s(text.size(), 76 + advances.size() * 4, options).rect(rect);
    le.u32(advances.isEmpty() ? 0 : 76);
    for (qint32 advance : advances)
        le.i32(advance);
    return le.utf16(text);
}

// A picture with the font selected and a transparent background, for text records.
EmfWriter textPicture(int height = 40)
{
    EmfWriter emf;
    emf.record(EMR_EXTCREATEFONTINDIRECTW, emfFont(height))
        .record(EMR_SELECTOBJECT, Le().u32(1))
        .record(EMR_SETBKMODE, Le().u32(TRANSPARENT));
    return emf;
}

const quint32 PlusRed = 0xFFFF0000;

// An EMF whose EMF+ records come first, followed by a fallback that paints everything blue.
QByteArray plusPicture(const EmfPlusWriter &records)
{
    EmfWriter emf;
    emf.record(EMR_COMMENT, records.comment());
    emf.record(EMR_CREATEBRUSHINDIRECT, Le().u32s(9, BS_SOLID, Blue, 0))
        .record(EMR_SELECTOBJECT, Le().u32(9))
        .record(EMR_RECTANGLE, Le().rect(QRect(0, 0, 100, 100)));
    return emf.finish();
}

// The same from records given as type, flags, data, type, flags, data...
template<typename... Records> QByteArray plusPicture(const Records &...records)
{
    return plusPicture(EmfPlusWriter().adds(records...));
}

Le plusRect(QRectF r)
{
    return Le().rectF(r);
}

// A serialised solid brush, and a path of float points with their types.
Le plusSolidBrush(quint32 argb)
{
    return Le().u32s(0xDBC01002, BrushSolidColor, argb);
}
Le plusPath(const QList<QPointF> &points, const QByteArray &types)
{
    Le path;
    path.u32(0xDBC01002).u32(quint32(points.size())).u32(0);
    for (QPointF p : points)
        path.f32(float(p.x())).f32(float(p.y()));
    return path.bytes(types).pad(4);
}
constexpr quint16 objectFlags(ObjectType type, quint8 id)
{
    return quint16(type << 8 | id);
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
            << QByteArray(Le().u32s(1, 88).data() + QByteArray(80, 'x')) << false;
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
        QTest::newRow("placeable key only") << QByteArray(Le().u32(PlaceableKey).data());
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
            << WmfWriter().record(META_SETWINDOWEXT, Le().i16s(48, 96)).finish()
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
            << picture(redFill(), EMR_SETWINDOWORGEX, Le().i32s(-50, -50), EMR_RECTANGLE,
                       box(0, 0, 20, 20))
            << QPoint(60, 60) << QPoint(10, 10);
        QTest::newRow("emf anisotropic extents")
            << picture(redFill(), EMR_SETMAPMODE, Le().u32(MM_ANISOTROPIC), EMR_SETWINDOWEXTEX,
                       Le().i32s(1000, 1000), EMR_SETVIEWPORTEXTEX, Le().i32s(100, 100),
                       EMR_RECTANGLE, box(500, 500, 500, 500))
            << QPoint(75, 75) << QPoint(25, 25);
        QTest::newRow("emf isotropic keeps the aspect")
            << picture(redFill(), EMR_SETMAPMODE, Le().u32(MM_ISOTROPIC), EMR_SETWINDOWEXTEX,
                       Le().i32s(1000, 500), EMR_SETVIEWPORTEXTEX, Le().i32s(100, 100),
                       EMR_RECTANGLE, box(0, 0, 1000, 500))
            << QPoint(50, 25) << QPoint(50, 75);
        QTest::newRow("emf lometric, y up")
            << picture(redFill(), EMR_SETMAPMODE, Le().u32(MM_LOMETRIC), EMR_SETVIEWPORTORGEX,
                       Le().i32s(0, 100), EMR_RECTANGLE, box(0, 0, 100, 100))
            << QPoint(20, 80) << QPoint(20, 20);
        QTest::newRow("emf world transform")
            << picture(redFill(), EMR_SETWORLDTRANSFORM, Le().f32s(2, 0, 0, 2, 10, 10),
                       EMR_RECTANGLE, box(0, 0, 20, 20))
            << QPoint(40, 40) << QPoint(60, 60);
        QTest::newRow("emf restore dc restores the mapping")
            << picture(redFill(), EMR_SAVEDC, Le(), EMR_SETWINDOWORGEX, Le().i32s(-50, -50),
                       EMR_RESTOREDC, Le().i32(-1), EMR_RECTANGLE, box(0, 0, 20, 20))
            << QPoint(10, 10) << QPoint(60, 60);
        QTest::newRow("wmf placeable without window")
            << wmfRedFill().record(META_RECTANGLE, wmfRect(QRect(0, 0, 500, 500))).finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("wmf window, y up")
            << picture(WmfWriter(), META_SETWINDOWORG, Le().i16s(2000, 0), META_SETWINDOWEXT,
                       Le().i16s(-2000, 2000), META_CREATEBRUSHINDIRECT,
                       Le().u16(0).u32(Red).u16(0), META_SELECTOBJECT, Le().u16(0), META_RECTANGLE,
                       wmfRect(QRect(0, 0, 1000, 1000)))
            << QPoint(25, 75) << QPoint(75, 25);
        QTest::newRow("wmf window inside a placeable picture")
            << picture(wmfRedFill(), META_SETWINDOWORG, Le().i16s(0, 0), META_SETWINDOWEXT,
                       Le().i16s(100, 100), META_RECTANGLE, wmfRect(QRect(50, 0, 50, 50)))
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
        const Le arcBox = Le().rect(QRect(10, 10, 80, 80)).i32s(90, 50, 50, 10);
        QTest::newRow("rectangle")
            << shape(EMR_RECTANGLE, box(20, 20, 40, 40)) << QPoint(50, 50) << QPoint(10, 10);
        QTest::newRow("ellipse") << shape(EMR_ELLIPSE, box(20, 20, 60, 60)) << QPoint(50, 50)
                                 << QPoint(23, 23);
        QTest::newRow("round rectangle")
            << shape(EMR_ROUNDRECT, Le().rect(QRect(20, 20, 60, 60)).i32s(40, 40)) << QPoint(50, 50)
            << QPoint(22, 22);
        Le triangle32;
        triangle32.i32s(0, 0, 100, 100).u32(3).i32s(10, 90, 50, 10, 90, 90);
        QTest::newRow("polygon") << shape(EMR_POLYGON, triangle32) << QPoint(50, 60)
                                 << QPoint(15, 20);
        QTest::newRow("polygon16") << shape(EMR_POLYGON16, points16({{10, 90}, {50, 10}, {90, 90}}))
                                   << QPoint(50, 60) << QPoint(15, 20);
        Le holed;
        holed.i32s(0, 0, 100, 100).u32s(2, 8, 4, 4);
        for (QPoint p : {QPoint(10, 10), QPoint(90, 10), QPoint(90, 90), QPoint(10, 90),
                         QPoint(30, 30), QPoint(70, 30), QPoint(70, 70), QPoint(30, 70)})
            holed.i16(qint16(p.x())).i16(qint16(p.y()));
        QTest::newRow("poly-polygon with a hole")
            << shape(EMR_POLYPOLYGON16, holed) << QPoint(20, 20) << QPoint(50, 50);
        QTest::newRow("pie, counter-clockwise")
            << shape(EMR_PIE, arcBox) << QPoint(65, 35) << QPoint(35, 65);
        QTest::newRow("chord") << shape(EMR_CHORD, arcBox) << QPoint(75, 25) << QPoint(55, 45);
        QTest::newRow("pie, clockwise")
            << picture(redFill(), EMR_SETARCDIRECTION, Le().u32(AD_CLOCKWISE), EMR_PIE, arcBox)
            << QPoint(35, 65) << QPoint(65, 35);
        auto stroked = [](quint32 type, const Le &params) {
            return picture(EmfWriter(), EMR_CREATEPEN, Le().u32s(1, 0).i32s(6, 0).u32(Red),
                           EMR_SELECTOBJECT, Le().u32(1), type, params);
        };
        QTest::newRow("polyline") << stroked(EMR_POLYLINE16, points16({{10, 50}, {90, 50}}))
                                  << QPoint(50, 50) << QPoint(50, 30);
        QTest::newRow("bezier") << stroked(EMR_POLYBEZIER16,
                                           points16({{10, 50}, {30, 10}, {70, 10}, {90, 50}}))
                                << QPoint(50, 20) << QPoint(50, 50);
        QTest::newRow("path figures stay apart")
            << picture(EmfWriter(), EMR_CREATEPEN, Le().u32s(1, 0).i32s(3, 0).u32(Red),
                       EMR_SELECTOBJECT, Le().u32(1), EMR_BEGINPATH, Le(), EMR_MOVETOEX,
                       Le().i32s(10, 10), EMR_POLYBEZIERTO16,
                       points16({{10, 10}, {40, 10}, {40, 10}}), EMR_LINETO, Le().i32s(10, 40),
                       EMR_MOVETOEX, Le().i32s(60, 60), EMR_POLYBEZIERTO16,
                       points16({{60, 60}, {90, 60}, {90, 60}}), EMR_LINETO, Le().i32s(60, 90),
                       EMR_ENDPATH, Le(), EMR_STROKEPATH, Le().rect(QRect(0, 0, 100, 100)))
            << QPoint(25, 10) << QPoint(35, 50);
        QTest::newRow("wmf rectangle")
            << wmfRedFill().record(META_RECTANGLE, wmfRect(QRect(500, 500, 500, 500))).finish()
            << QPoint(75, 75) << QPoint(25, 25);
        QTest::newRow("wmf polygon")
            << wmfRedFill()
                   .record(META_POLYGON, Le().i16s(3, 100, 900, 500, 100, 900, 900))
                   .finish()
            << QPoint(50, 60) << QPoint(15, 20);
        Le dashes;
        dashes.u32s(1, 0, 0, 0, 0, PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_USERSTYLE, 4, 0, Red, 0, 2);
        QTest::newRow("user dashes leave gaps")
            << picture(EmfWriter(), EMR_EXTCREATEPEN, dashes.u32s(10, 10), EMR_SELECTOBJECT,
                       Le().u32(1), EMR_POLYLINE16, points16({{0, 50}, {100, 50}}))
            << QPoint(25, 50) << QPoint(15, 50);
    }
    void shapes() { checkPaintedAt(); }

    // The sides of a reference point at (50, 50) that get ink.
    void textAlignment_data()
    {
        QTest::addColumn<quint32>("align");
        QTest::addColumn<QString>("inked");
        QTest::newRow("left, top") << quint32(TA_LEFT | TA_TOP) << "right below";
        QTest::newRow("right, bottom") << quint32(TA_RIGHT | TA_BOTTOM) << "left above";
        QTest::newRow("centre, baseline") << quint32(TA_CENTER | TA_BASELINE) << "left right above";
    }
    void textAlignment()
    {
        QFETCH(quint32, align);
        QFETCH(QString, inked);
        const QImage image = render(picture(textPicture(), EMR_SETTEXTALIGN, Le().u32(align),
                                            EMR_EXTTEXTOUTW, textOut({50, 50}, "II")));
        const std::pair<const char *, QRect> sides[] = {{"left", QRect(0, 0, 48, 100)},
                                                        {"right", QRect(52, 0, 48, 100)},
                                                        {"above", QRect(0, 0, 100, 48)},
                                                        {"below", QRect(0, 52, 100, 48)}};
        QStringList found;
        for (const auto &[side, area] : sides)
            if (inkIn(image, area))
                found << QLatin1String(side);
        QCOMPARE(found.join(u' '), inked);
    }

    void textDecodesCharsets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QString>("text");
        QTest::newRow("ansi") << QByteArray("caf\xe9 \x80") << 0 << QStringLiteral("café €");
        QTest::newRow("russian") << QByteArray("\xc6\xe8") << 204 << QStringLiteral("Жи");
        QTest::newRow("east europe") << QByteArray("\x8a\xe8") << 238 << QStringLiteral("Šč");
        QTest::newRow("shift-jis") << QByteArray("\x93\xfa") << 128 << QStringLiteral("日");
    }
    void textDecodesCharsets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, charset);
        QFETCH(QString, text);
        QCOMPARE(decodeGdiText(bytes, charset, QString()), text);
    }

    // Codes of a symbol font draw as the characters the font shows, like those characters
    // written in a font that has them.
    void symbolFontsShowTheirCharacters_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("symbol") << "Symbol" << int(SYMBOL_CHARSET) << "ab" << u"\u03b1\u03b2"_qs;
        QTest::newRow("symbol, private-use codes")
            << "Symbol" << int(ANSI_CHARSET) << u"\uf0b7\uf070"_qs << u"\u2022\u03c0"_qs;
        QTest::newRow("wingdings")
            << "Wingdings" << int(SYMBOL_CHARSET) << u"\u00fc"_qs << u"\u2713"_qs;
        QTest::newRow("unknown font of the symbol set")
            << "DejaVu Sans" << int(SYMBOL_CHARSET) << u"\uf041\uf042"_qs << "AB";
    }
    void symbolFontsShowTheirCharacters()
    {
        QFETCH(QString, face);
        QFETCH(int, charset);
        QFETCH(QString, codes);
        QFETCH(QString, shown);
        auto draw = [](const QString &face, int charset, const QString &text) {
            return render(picture(EmfWriter(), EMR_EXTCREATEFONTINDIRECTW,
                                  emfFont(40, 400, face, quint8(charset)), EMR_SELECTOBJECT,
                                  Le().u32(1), EMR_SETBKMODE, Le().u32(TRANSPARENT),
                                  EMR_EXTTEXTOUTW, textOut({10, 20}, text, 0, QRect(), {40, 40})));
        };
        const QImage expected = draw(QStringLiteral("DejaVu Sans"), ANSI_CHARSET, shown);
        QVERIFY(inkIn(expected, expected.rect()));
        QCOMPARE(draw(face, charset, codes), expected);
    }

    // Where a text record puts its ink, and where it must leave none.
    void textPlacement_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QRect>("ink");
        QTest::addColumn<QRect>("blank");
        QTest::newRow("opaque rectangle without text")
            << picture(textPicture(), EMR_SETBKCOLOR, Le().u32(Blue), EMR_EXTTEXTOUTW,
                       textOut({0, 0}, "", ETO_OPAQUE, QRect(20, 20, 40, 40)))
            << QRect(25, 25, 30, 30) << QRect(65, 0, 35, 100);
        QTest::newRow("opaque glyph numbers keep their box")
            << picture(textPicture(), EMR_SETBKCOLOR, Le().u32(Blue), EMR_EXTTEXTOUTW,
                       textOut({20, 20}, "\x01\x02", ETO_OPAQUE | ETO_GLYPH_INDEX,
                               QRect(20, 20, 40, 40)))
            << QRect(25, 25, 30, 30) << QRect(65, 0, 35, 100);
        QTest::newRow("wmf opaque rectangle without text")
            << picture(
                   wmfRedFill(), META_SETBKCOLOR, Le().u32(Blue), META_EXTTEXTOUT,
                   Le().i16s(0, 0, 0, ETO_OPAQUE).bytes(wmfRect(QRect(200, 200, 400, 400)).data()))
            << QRect(25, 25, 30, 30) << QRect(65, 0, 35, 100);
        // Window y grows upwards, and an escapement of 270 degrees climbs from the reference
        // point at device (50, 80), as the vertical axis labels of charts are written.
        QTest::newRow("escapement in a mapping with y up")
            << picture(EmfWriter(), EMR_SETMAPMODE, Le().u32(MM_ANISOTROPIC), EMR_SETWINDOWEXTEX,
                       Le().i32s(100, -100), EMR_SETWINDOWORGEX, Le().i32s(0, 100),
                       EMR_SETVIEWPORTEXTEX, Le().i32s(100, 100), EMR_EXTCREATEFONTINDIRECTW,
                       emfFont(20, 700, QStringLiteral("DejaVu Sans"), 0, 2700), EMR_SELECTOBJECT,
                       Le().u32(1), EMR_SETBKMODE, Le().u32(TRANSPARENT), EMR_EXTTEXTOUTW,
                       textOut({50, 20}, "IIII"))
            << QRect(50, 30, 25, 45) << QRect(0, 84, 100, 16);
        Le font;
        font.u32(0xDBC01002).f32(30).u32s(UnitPixel, 0, 0, 11).utf16("DejaVu Sans");
        QTest::newRow("emf+ string")
            << plusPicture(EmfPlusObject, objectFlags(ObjectFont, 4), font, EmfPlusDrawString,
                           FlagColour | 4,
                           Le().u32s(0xFF000000, 0xFFFFFFFF, 2).rectF({10, 10, 0, 0}).utf16("II"))
            << QRect(10, 12, 30, 30) << QRect(50, 0, 50, 100);
        Le polyText;
        polyText.i32s(0, 0, 100, 100).u32(2).f32s(1, 1).u32(1);
        polyText.i32s(10, 20).u32s(2, 80, 0).rect(QRect()).u32(0).utf16("II");
        QTest::newRow("poly text out") << textPicture().record(EMR_POLYTEXTOUTW, polyText).finish()
                                       << QRect(10, 25, 25, 20) << QRect(50, 0, 50, 100);
        QTest::newRow("advances place the letters")
            << picture(textPicture(), EMR_SETTEXTALIGN, Le().u32(TA_BASELINE), EMR_EXTTEXTOUTW,
                       textOut({10, 60}, "II", 0, QRect(), {60, 10}))
            << QRect(68, 25, 17, 35) << QRect(30, 0, 35, 100);
        // The records' reference points are ignored: the second run follows the first.
        QTest::newRow("text at the current position moves it")
            << picture(textPicture(30), EMR_SETTEXTALIGN, Le().u32(TA_UPDATECP), EMR_MOVETOEX,
                       Le().i32s(10, 10), EMR_EXTTEXTOUTW, textOut({0, 70}, "II"), EMR_EXTTEXTOUTW,
                       textOut({0, 70}, "II"))
            << QRect(35, 10, 25, 35) << QRect(0, 60, 100, 40);
        QTest::newRow("clipped to its rectangle")
            << textPicture()
                   .record(EMR_EXTTEXTOUTW,
                           textOut({0, 20}, "IIIIIIII", ETO_CLIPPED, QRect(0, 0, 30, 100)))
                   .finish()
            << QRect(0, 0, 30, 100) << QRect(31, 0, 69, 100);
        QTest::newRow("second letter of a ligature, no advance of its own")
            << textPicture()
                   .record(EMR_EXTTEXTOUTW, textOut({10, 20}, "II", 0, QRect(), {40, 0}))
                   .finish()
            << QRect(24, 25, 8, 25) << QRect(50, 0, 50, 100);
    }
    void textPlacement()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QRect, ink);
        QFETCH(QRect, blank);
        const QImage image = render(bytes);
        QVERIFY(inkIn(image, ink));
        QVERIFY(!inkIn(image, blank));
    }

    void nonAsciiTextIsDrawn()
    {
        // A Cyrillic letter from code page 1251 bytes of a WMF draws as the same letter
        // from the wide string of an EMF.
        WmfWriter wmf(QRect(0, 0, 100, 100), 96);
        Le wmfFont;
        wmfFont.i16s(-60, 0, 0, 0, 400).u8s(0, 0, 0, 204, 0, 0, 0, 0);
        wmfFont.bytes(QByteArray("DejaVu Sans").leftJustified(32, '\0'));
        wmf.records(META_CREATEFONTINDIRECT, wmfFont, META_SELECTOBJECT, Le().u16(0));
        wmf.record(META_SETBKMODE, Le().u16(TRANSPARENT));
        wmf.record(META_EXTTEXTOUT, Le().i16s(20, 10, 1, 0).bytes("\xc6"));
        const QImage fromBytes = render(wmf.finish());

        const QImage fromWide =
            render(picture(EmfWriter(), EMR_EXTCREATEFONTINDIRECTW, emfFont(60, 400),
                           EMR_SELECTOBJECT, Le().u32(1), EMR_SETBKMODE, Le().u32(TRANSPARENT),
                           EMR_EXTTEXTOUTW, textOut({10, 20}, QStringLiteral("Ж"))));
        QVERIFY(inkIn(fromBytes, fromBytes.rect()));
        QCOMPARE(fromBytes, fromWide);
    }

    void clipping_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        const Le everything = box(0, 0, 100, 100);
        QTest::newRow("intersect") << picture(redFill(), EMR_INTERSECTCLIPRECT, box(20, 20, 40, 40),
                                              EMR_RECTANGLE, everything)
                                   << QPoint(40, 40) << QPoint(70, 70);
        QTest::newRow("exclude") << picture(redFill(), EMR_EXCLUDECLIPRECT, box(20, 20, 40, 40),
                                            EMR_RECTANGLE, everything)
                                 << QPoint(70, 70) << QPoint(40, 40);
        QTest::newRow("restore dc lifts the clip")
            << picture(redFill(), EMR_SAVEDC, Le(), EMR_INTERSECTCLIPRECT, box(20, 20, 40, 40),
                       EMR_RESTOREDC, Le().i32(-1), EMR_INTERSECTCLIPRECT, box(50, 50, 50, 50),
                       EMR_RECTANGLE, everything)
            << QPoint(70, 70) << QPoint(40, 40);
        Le region;
        region.u32s(48, RGN_COPY, 32, 1, 1, 16).rect(QRect(50, 0, 50, 100));
        region.rect(QRect(50, 0, 50, 100));
        QTest::newRow("select clip region")
            << picture(redFill(), EMR_EXTSELECTCLIPRGN, region, EMR_RECTANGLE, everything)
            << QPoint(75, 50) << QPoint(25, 50);
        QTest::newRow("region without rectangles clips everything")
            << picture(redFill(), EMR_RECTANGLE, box(0, 0, 10, 10), EMR_EXTSELECTCLIPRGN,
                       Le().u32s(32, RGN_COPY, 32, 1, 0, 0).rect(QRect(0, 0, 0, 0)), EMR_RECTANGLE,
                       everything)
            << QPoint(5, 5) << QPoint(50, 50);
        QTest::newRow("no region resets the clip")
            << picture(redFill(), EMR_INTERSECTCLIPRECT, box(0, 0, 10, 10), EMR_EXTSELECTCLIPRGN,
                       Le().u32s(0, RGN_COPY), EMR_RECTANGLE, everything)
            << QPoint(70, 70) << QPoint(200, 200);
        QTest::newRow("clip path")
            << picture(redFill(), EMR_BEGINPATH, Le(), EMR_ELLIPSE, everything, EMR_ENDPATH, Le(),
                       EMR_SELECTCLIPPATH, Le().u32(RGN_COPY), EMR_RECTANGLE, everything)
            << QPoint(50, 50) << QPoint(3, 3);
        QTest::newRow("wmf intersect")
            << picture(wmfRedFill(), META_INTERSECTCLIPRECT, wmfRect(QRect(0, 0, 500, 500)),
                       META_RECTANGLE, wmfRect(QRect(0, 0, 1000, 1000)))
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
                .record(EMR_STRETCHDIBITS,
                        Le().bytes(
                            stretchDiBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), quadrants())))
                .finish();
        QTest::newRow("stretchdibits top left") << whole << QPoint(25, 25) << Red;
        QTest::newRow("stretchdibits top right") << whole << QPoint(75, 25) << Green;
        QTest::newRow("stretchdibits bottom left") << whole << QPoint(25, 75) << Blue;
        QTest::newRow("stretchdibits bottom right") << whole << QPoint(75, 75) << Yellow;
        // Source rows of a bottom-up bitmap count from its bottom.
        QTest::newRow("stretchdibits source from the bottom")
            << EmfWriter()
                   .record(EMR_STRETCHDIBITS,
                           Le().bytes(stretchDiBits(QRect(0, 0, 100, 100), QRect(1, 0, 1, 1),
                                                    quadrants())))
                   .finish()
            << QPoint(50, 50) << Yellow;
        Le stretchBlt;
        stretchBlt.i32s(0, 0, 100, 100, 0, 0, 100, 100).u32(SRCCOPY).i32s(0, 0);
        stretchBlt.f32s(1, 0, 0, 1, 0, 0).u32s(0, 0);
        stretchBlt.u32s(108, 40, 148).u32(quint32(quadrants().size() - 40)).i32s(2, 2);
        stretchBlt.bytes(quadrants());
        QTest::newRow("stretchblt")
            << EmfWriter().record(EMR_STRETCHBLT, stretchBlt).finish() << QPoint(75, 25) << Green;
        Le keyed = stretchBlt;
        QByteArray keyedBytes = keyed.data();
        const QByteArray green = Le().u32(Green).data();
        keyedBytes.replace(32, 4, green); // the rop field holds the transparent colour
        QTest::newRow("transparentblt keys out a colour")
            << EmfWriter().record(EMR_TRANSPARENTBLT, Le().bytes(keyedBytes)).finish()
            << QPoint(75, 25) << rgb(255, 255, 255);
        QTest::newRow("transparentblt keeps the rest")
            << EmfWriter().record(EMR_TRANSPARENTBLT, Le().bytes(keyedBytes)).finish()
            << QPoint(25, 25) << Red;
        QTest::newRow("wmf dibstretchblt")
            << WmfWriter(QRect(0, 0, 100, 100), 96)
                   .record(META_DIBSTRETCHBLT,
                           Le().u32(SRCCOPY).i16s(2, 2, 0, 0, 100, 100, 0, 0).bytes(quadrants()))
                   .finish()
            << QPoint(25, 75) << Blue;
        QTest::newRow("wmf stretchdib")
            << WmfWriter(QRect(0, 0, 100, 100), 96)
                   .record(META_STRETCHDIB,
                           Le().u32(SRCCOPY).i16s(0, 2, 2, 0, 0, 100, 100, 0, 0).bytes(quadrants()))
                   .finish()
            << QPoint(75, 75) << Yellow;
        Le plgBlt;
        plgBlt.i32s(0, 0, 100, 100, 100, 0, 100, 100, 0, 0, 0, 0, 2, 2).f32s(1, 0, 0, 1, 0, 0);
        plgBlt.u32s(0, DIB_RGB_COLORS, 136, 40, 176, quadrants().size() - 40);
        plgBlt.bytes(QByteArray(24, '\0')).bytes(quadrants());
        // The source's top left lands at the top right, its top right at the bottom right.
        QTest::newRow("parallelogram blit, turned a quarter")
            << EmfWriter().record(EMR_PLGBLT, plgBlt).finish() << QPoint(75, 25) << Red;
        // Blits of 16-bit Windows carry a device-dependent bitmap, top row first.
        Le bitmap16;
        bitmap16.i16s(0, 2, 2, 6).u8s(1, 24);
        bitmap16.u8s(0, 0, 255, 0, 255, 0).u8s(255, 0, 0, 0, 255, 255); // red, green; blue, yellow
        auto bitBlt = [](quint16 function, const Le &bitmap) {
            return picture(WmfWriter(QRect(0, 0, 100, 100), 96), META_SETTEXTCOLOR, Le().u32(Red),
                           function,
                           Le().u32(SRCCOPY).i16s(0, 0, 100, 100, 0, 0).bytes(bitmap.data()));
        };
        QTest::newRow("wmf bitblt of a 16-bit bitmap")
            << bitBlt(META_BITBLT, bitmap16) << QPoint(75, 75) << Yellow;
        QTest::newRow("wmf monochrome bitmap in the text colour")
            << bitBlt(META_BITBLT, Le().i16s(0, 2, 2, 2).u8s(1, 1).u16s(0, 0)) << QPoint(50, 50)
            << Red;
        // The copy names a source as large as its destination: the whole bitmap fills it.
        QTest::newRow("wmf dib copy larger than its bitmap")
            << bitBlt(META_DIBBITBLT, Le().bytes(quadrants())) << QPoint(75, 75) << Yellow;
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

    // The 2 x 2 bitmap stretched over green with a blue brush selected: its top left pixel is red.
    void rasterOperations_data()
    {
        QTest::addColumn<quint32>("rop");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("copy") << quint32(SRCCOPY) << QColor(Qt::red);
        QTest::newRow("inverted copy") << quint32(NOTSRCCOPY) << QColor(Qt::cyan);
        QTest::newRow("and") << quint32(SRCAND) << QColor(Qt::black);
        QTest::newRow("or") << quint32(SRCPAINT) << QColor(Qt::yellow);
        QTest::newRow("xor") << quint32(SRCINVERT) << QColor(Qt::yellow);
        QTest::newRow("destination kept") << quint32(gdi::D) << QColor(Qt::green);
        QTest::newRow("destination inverted") << quint32(DSTINVERT) << QColor(Qt::magenta);
        QTest::newRow("brush") << quint32(PATCOPY) << QColor(Qt::blue);
        QTest::newRow("brush, index alone") << quint32(PATCOPY & 0xFFFF0000) << QColor(Qt::blue);
        QTest::newRow("brush xor") << quint32(PATINVERT) << QColor(Qt::cyan);
        QTest::newRow("black") << quint32(BLACKNESS) << QColor(Qt::black);
        QTest::newRow("white") << quint32(WHITENESS) << QColor(Qt::white);
    }
    void rasterOperations()
    {
        QFETCH(quint32, rop);
        QFETCH(QColor, colour);
        const Le blit =
            Le().bytes(stretchDiBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), quadrants(), rop));
        const QImage image = render(greenWithBlueBrush().record(EMR_STRETCHDIBITS, blit).finish());
        QVERIFY2(near(image.pixelColor(25, 25), colour),
                 qPrintable(image.pixelColor(25, 25).name()));
    }

    // A thick red line over green under each binary raster operation.
    void penRasterOperations_data()
    {
        QTest::addColumn<int>("rop2");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("copy") << int(R2_COPYPEN) << QColor(Qt::red);
        QTest::newRow("nothing") << int(R2_NOP) << QColor(Qt::green);
        QTest::newRow("black") << int(R2_BLACK) << QColor(Qt::black);
        QTest::newRow("white") << int(R2_WHITE) << QColor(Qt::white);
        QTest::newRow("inverted pen") << int(R2_NOTCOPYPEN) << QColor(Qt::cyan);
        QTest::newRow("inverted destination") << int(R2_NOT) << QColor(Qt::magenta);
        QTest::newRow("xor") << int(R2_XORPEN) << QColor(Qt::yellow);
        QTest::newRow("and") << int(R2_MASKPEN) << QColor(Qt::black);
        QTest::newRow("or") << int(R2_MERGEPEN) << QColor(Qt::yellow);
        QTest::newRow("not xor") << int(R2_NOTXORPEN) << QColor(Qt::blue);
    }
    void penRasterOperations()
    {
        QFETCH(int, rop2);
        QFETCH(QColor, colour);
        const QImage image = render(picture(
            greenWithBlueBrush(), EMR_CREATEPEN, Le().u32s(3, PS_SOLID).i32s(20, 0).u32(Red),
            EMR_SELECTOBJECT, Le().u32(3), EMR_SETROP2, Le().u32(quint32(rop2)), EMR_POLYLINE16,
            points16({{0, 50}, {100, 50}})));
        QVERIFY2(near(image.pixelColor(50, 50), colour),
                 qPrintable(image.pixelColor(50, 50).name()));
    }

    void gradientFillInterpolates()
    {
        Le gradient;
        gradient.i32s(0, 0, 100, 100).u32s(2, 1, 0); // horizontal rectangle
        gradient.i32s(0, 0).u16s(0xFF00, 0, 0, 0).i32s(100, 100).u16s(0, 0, 0xFF00, 0).u32s(0, 1);
        const QImage image = render(EmfWriter().record(EMR_GRADIENTFILL, gradient).finish());
        QVERIFY(near(image.pixelColor(2, 50), Qt::red));
        QVERIFY(near(image.pixelColor(50, 50), QColor(128, 0, 128)));
        QVERIFY(near(image.pixelColor(97, 50), Qt::blue));
    }

    void objectSelectionAndDeletion()
    {
        EmfWriter emf;
        emf.records(EMR_SELECTOBJECT, Le().u32(NULL_PEN), EMR_CREATEBRUSHINDIRECT,
                    Le().u32s(1, 0, Red, 0), EMR_CREATEBRUSHINDIRECT, Le().u32s(2, 0, Green, 0),
                    EMR_CREATEBRUSHINDIRECT, Le().u32s(100000, 0, Blue, 0));
        emf.records(EMR_SELECTOBJECT, Le().u32(1), EMR_DELETEOBJECT, Le().u32(1));
        emf.record(EMR_SELECTOBJECT, Le().u32(1));      // deleted: ignored
        emf.record(EMR_SELECTOBJECT, Le().u32(100000)); // never created: ignored
        emf.records(EMR_RECTANGLE, box(0, 0, 30, 100), EMR_SELECTOBJECT, Le().u32(2), EMR_RECTANGLE,
                    box(30, 0, 30, 100));
        emf.records(EMR_SELECTOBJECT, Le().u32(BLACK_BRUSH), EMR_RECTANGLE, box(60, 0, 40, 100));
        const QImage image = render(emf.finish());
        QVERIFY(near(image.pixelColor(15, 50), Qt::red));
        QVERIFY(near(image.pixelColor(45, 50), Qt::green));
        QVERIFY(near(image.pixelColor(80, 50), Qt::black));
    }

    void wmfObjectSlotsAreReused()
    {
        WmfWriter wmf(QRect(0, 0, 100, 100), 96);
        wmf.record(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Red).u16(0));   // slot 0
        wmf.record(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Green).u16(0)); // slot 1
        wmf.record(META_DELETEOBJECT, Le().u16(0));
        wmf.record(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Blue).u16(0)); // slot 0 again
        const QImage image = render(picture(wmf, META_SELECTOBJECT, Le().u16(0), META_RECTANGLE,
                                            wmfRect(QRect(0, 0, 100, 100))));
        QVERIFY(near(image.pixelColor(50, 50), Qt::blue));
    }

    void lyingSizes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        Le shortPolygon;
        shortPolygon.i32s(0, 0, 100, 100).u32(1000000).i32s(0, 0, 50, 0, 50, 50);
        QTest::newRow("emf point count beyond its record")
            << picture(redFill(), EMR_POLYGON, shortPolygon, EMR_RECTANGLE, box(50, 50, 50, 50))
            << QPoint(75, 75) << QPoint(10, 5);
        QByteArray beyond = redFill()
                                .record(EMR_RECTANGLE, box(0, 0, 50, 50))
                                .rawRecord(EMR_RECTANGLE, 0x7FFFFFF0, box(50, 50, 50, 50).data())
                                .finish(false);
        QTest::newRow("emf record beyond the file") << beyond << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("emf record of size zero") << redFill()
                                                        .record(EMR_RECTANGLE, box(0, 0, 50, 50))
                                                        .rawRecord(EMR_RECTANGLE, 0, QByteArray())
                                                        .record(EMR_RECTANGLE, box(50, 50, 50, 50))
                                                        .finish()
                                                 << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("emf region count beyond its data")
            << picture(redFill(), EMR_EXTSELECTCLIPRGN,
                       Le().u32s(48, 5, 32, 1, 0x10000000, 0)
                           .rect(QRect(0, 0, 10, 10))
                           .rect(QRect(0, 0, 10, 10)),
                       EMR_RECTANGLE, box(0, 0, 100, 100))
            << QPoint(50, 50) << QPoint(200, 200);
        QTest::newRow("wmf point count beyond its record")
            << picture(wmfRedFill(), META_POLYGON, Le().i16s(30000, 0, 0, 500, 0), META_RECTANGLE,
                       wmfRect(QRect(500, 500, 500, 500)))
            << QPoint(75, 75) << QPoint(25, 5);
        QTest::newRow("wmf record beyond the file")
            << wmfRedFill()
                   .record(META_RECTANGLE, wmfRect(QRect(0, 0, 500, 500)))
                   .rawRecord(0x40000000, META_RECTANGLE, wmfRect(QRect(500, 500, 500, 500)).data())
                   .finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("wmf text count beyond its record")
            << picture(wmfRedFill(), META_EXTTEXTOUT, Le().i16s(0, 0, 32000, 0).bytes("abc"),
                       META_RECTANGLE, wmfRect(QRect(500, 500, 500, 500)))
            << QPoint(75, 75) << QPoint(25, 25);
        // The object table's size lies after the file's byte count in the header; a file of
        // 64 KiB read it from there once and lost every object.
        const Le whole = box(0, 0, 100, 100);
        const int padding = 65536 - 12 - int(picture(redFill(), EMR_RECTANGLE, whole).size());
        QTest::newRow("emf of 64 KiB keeps its objects")
            << picture(redFill(), EMR_COMMENT, Le().u32(padding).bytes(QByteArray(padding, '\0')),
                       EMR_RECTANGLE, whole)
            << QPoint(50, 50) << QPoint(200, 200);
        // The header claims 200 x 200 pixels; the record holds the bits of 2 x 2.
        QByteArray dib = quadrants();
        dib.replace(4, 8, Le().i32s(200, 200).data());
        QTest::newRow("bitmap larger than its record")
            << picture(redFill(), EMR_STRETCHDIBITS,
                       Le().bytes(stretchDiBits(QRect(0, 0, 50, 100), QRect(0, 0, 200, 200), dib)),
                       EMR_RECTANGLE, box(50, 0, 50, 100))
            << QPoint(75, 50) << QPoint(25, 50);
    }
    void lyingSizes() { checkPaintedAt(); }

    // EMF+ records draw the picture; the enhanced records after them are its fallback. A
    // Windows metafile the picture was made from draws only when no record follows it.
    void emfPlus_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("painted");
        QTest::addColumn<QPoint>("unpainted");
        const QByteArray wmf =
            wmfRedFill().record(META_RECTANGLE, wmfRect(QRect(0, 0, 500, 500))).finish();
        const Le wmfComment =
            Le().u32s(PublicCommentIdentifier, CommentWindowsMetafile, 0x300, 0, 0, wmf.size())
                .bytes(wmf);
        QTest::newRow("windows metafile in a comment, alone")
            << EmfWriter()
                   .record(EMR_COMMENT, Le().u32(quint32(wmf.size() + 24)).bytes(wmfComment.data()))
                   .finish()
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("windows metafile in a comment, records follow")
            << picture(redFill(), EMR_COMMENT,
                       Le().u32(quint32(wmf.size() + 24)).bytes(wmfComment.data()), EMR_RECTANGLE,
                       box(50, 50, 50, 50))
            << QPoint(75, 75) << QPoint(25, 25);
        auto fillRects = [](QRectF rect) { return Le().u32s(PlusRed, 1).rectF(rect); };
        QTest::newRow("a colour fills, the fallback is skipped")
            << plusPicture(EmfPlusFillRects, FlagColour, fillRects(QRectF(0, 0, 50, 50)))
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("enhanced records after GetDC draw")
            << picture(redFill(), EMR_COMMENT, EmfPlusWriter().add(EmfPlusGetDC, 0).comment(),
                       EMR_RECTANGLE, box(0, 0, 50, 50))
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("records without a header leave the enhanced drawing")
            << picture(redFill(), EMR_COMMENT,
                       EmfPlusWriter(false)
                           .add(EmfPlusFillRects, FlagColour,
                                Le().u32s(0xFF0000FF, 1).rectF({0, 0, 100, 100}))
                           .comment(),
                       EMR_RECTANGLE, box(0, 0, 50, 50))
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("world transform, compressed rectangle")
            << plusPicture(EmfPlusTranslateWorldTransform, 0, Le().f32s(50, 50), EmfPlusFillRects,
                           FlagColour | FlagCompressed, Le().u32s(PlusRed, 1).i16s(0, 0, 40, 40))
            << QPoint(70, 70) << QPoint(25, 25);
        QTest::newRow("page unit millimetres")
            << plusPicture(EmfPlusSetPageTransform, UnitMillimeter, Le().f32(1), EmfPlusFillRects,
                           FlagColour, fillRects(QRectF(0, 0, 10, 10)))
            << QPoint(30, 30) << QPoint(45, 45);
        const Le triangle = plusPath({{0, 0}, {100, 0}, {0, 100}}, QByteArray("\x00\x01\x81", 3));
        QTest::newRow("path and brush objects")
            << plusPicture(EmfPlusObject, objectFlags(ObjectBrush, 0), plusSolidBrush(PlusRed),
                           EmfPlusObject, objectFlags(ObjectPath, 1), triangle, EmfPlusFillPath, 1,
                           Le().u32(0))
            << QPoint(20, 20) << QPoint(80, 80);
        const QByteArray path = triangle.data();
        QTest::newRow("object continued over two records")
            << plusPicture(EmfPlusObject, FlagContinued | objectFlags(ObjectPath, 1),
                           Le().u32(quint32(path.size())).bytes(path.left(20)), EmfPlusObject,
                           objectFlags(ObjectPath, 1), Le().bytes(path.mid(20)), EmfPlusFillPath,
                           FlagColour | 1, Le().u32(PlusRed))
            << QPoint(20, 20) << QPoint(80, 80);
        QTest::newRow("pen object strokes lines")
            << plusPicture(EmfPlusObject, objectFlags(ObjectPen, 2),
                           Le().u32s(0xDBC01002, 0, 0, UnitWorld)
                               .f32(20)
                               .bytes(plusSolidBrush(PlusRed).data()),
                           EmfPlusDrawLines, 2, Le().u32(2).f32s(0, 50, 100, 50))
            << QPoint(50, 50) << QPoint(50, 10);
        QTest::newRow("clip rectangle")
            << plusPicture(EmfPlusSetClipRect, CombineIntersect << 8, plusRect({0, 0, 50, 100}),
                           EmfPlusFillRects, FlagColour, fillRects(QRectF(0, 0, 100, 100)))
            << QPoint(25, 50) << QPoint(75, 50);
        Le bitmap;
        bitmap.u32s(0xDBC01002, ImageBitmap).i32s(2, 2, 8).u32(PixelFormat32bppARGB);
        bitmap.u32s(BitmapPixels, PlusRed, PlusRed, PlusRed, PlusRed);
        QTest::newRow("bitmap image")
            << plusPicture(EmfPlusObject, objectFlags(ObjectImage, 3), bitmap, EmfPlusDrawImage, 3,
                           Le().u32s(0, UnitPixel).rectF({0, 0, 2, 2}).rectF({0, 0, 50, 50}))
            << QPoint(25, 25) << QPoint(75, 75);
        const QByteArray inner = redFill().record(EMR_RECTANGLE, box(0, 0, 100, 100)).finish();
        QTest::newRow("metafile image")
            << plusPicture(EmfPlusObject, objectFlags(ObjectImage, 3),
                           Le().u32s(0xDBC01002, ImageMetafile, 3, inner.size()).bytes(inner),
                           EmfPlusDrawImage, 3,
                           Le().u32s(0, UnitPixel).rectF({0, 0, 100, 100}).rectF({50, 50, 50, 50}))
            << QPoint(75, 75) << QPoint(25, 25);
        const Le topLeft = fillRects(QRectF(0, 0, 50, 50));
        QTest::newRow("restore brings back the saved world")
            << plusPicture(EmfPlusSave, 0, Le().u32(7), EmfPlusTranslateWorldTransform, 0,
                           Le().f32s(50, 50), EmfPlusRestore, 0, Le().u32(7), EmfPlusFillRects,
                           FlagColour, topLeft)
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("container maps its source rectangle onto its destination")
            << plusPicture(EmfPlusBeginContainer, quint16(UnitPixel << 8),
                           Le().rectF({50, 50, 50, 50}).rectF({0, 0, 100, 100}).u32(3),
                           EmfPlusFillRects, FlagColour, fillRects({0, 0, 100, 100}),
                           EmfPlusEndContainer, 0, Le().u32(3))
            << QPoint(75, 75) << QPoint(25, 25);
        QTest::newRow("end of a container restores the world")
            << plusPicture(EmfPlusBeginContainerNoParams, 0, Le().u32(4),
                           EmfPlusScaleWorldTransform, 0, Le().f32s(2, 2), EmfPlusEndContainer, 0,
                           Le().u32(4), EmfPlusFillRects, FlagColour, topLeft)
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("pie angles run clockwise")
            << plusPicture(EmfPlusFillPie, FlagColour,
                           Le().u32(PlusRed).f32s(0, 90).rectF({0, 0, 100, 100}))
            << QPoint(70, 70) << QPoint(70, 30);
        // Offsets of one and two bytes: (0, 0), (100, 0), (99, 100).
        QTest::newRow("polygon of relative points, one and two bytes")
            << plusPicture(EmfPlusFillPolygon, FlagColour | FlagRelative,
                           Le().u32s(PlusRed, 3).u8s(0, 0, 0x80, 100, 0, 0x7F, 0x80, 100))
            << QPoint(90, 20) << QPoint(20, 80);
        const Le excludedRegion =
            Le().u32s(0xDBC01002, 2, RegionNodeExclude, RegionNodeInfinite, RegionNodeRect)
                .rectF({0, 0, 50, 100});
        QTest::newRow("clip to a region that excludes a rectangle")
            << plusPicture(EmfPlusObject, objectFlags(ObjectRegion, 5), excludedRegion,
                           EmfPlusSetClipRegion, quint16(CombineReplace << 8 | 5), Le(),
                           EmfPlusFillRects, FlagColour, fillRects({0, 0, 100, 100}))
            << QPoint(75, 50) << QPoint(25, 50);
        QTest::newRow("region filled with a brush")
            << plusPicture(EmfPlusObject, objectFlags(ObjectRegion, 5), excludedRegion,
                           EmfPlusFillRegion, FlagColour | 5, Le().u32(PlusRed))
            << QPoint(75, 50) << QPoint(25, 50);
        QTest::newRow("reset clip lifts the clip")
            << plusPicture(EmfPlusSetClipRect, CombineReplace << 8, plusRect({0, 0, 10, 10}),
                           EmfPlusResetClip, 0, Le(), EmfPlusFillRects, FlagColour, topLeft)
            << QPoint(25, 25) << QPoint(75, 75);
        QTest::newRow("linear gradient brush runs from its start colour")
            << plusPicture(EmfPlusObject, objectFlags(ObjectBrush, 6),
                           Le().u32s(0xDBC01002, BrushLinearGradient, 0, 0)
                               .rectF({0, 0, 100, 100})
                               .u32s(PlusRed, 0xFFFFFFFF, 0, 0),
                           EmfPlusFillRects, 0, Le().u32s(6, 1).rectF({0, 0, 50, 100}))
            << QPoint(2, 50) << QPoint(75, 50);
        QTest::newRow("closed curve through the corners of a square fills it")
            << plusPicture(EmfPlusFillClosedCurve, FlagColour,
                           Le().u32(PlusRed).f32(0.5f).u32(4).f32s(20, 20, 80, 20, 80, 80, 20, 80))
            << QPoint(50, 50) << QPoint(3, 97);
    }
    void emfPlus() { checkPaintedAt(); }

    void embeddedEmfReplacesTheWmfDrawing()
    {
        const QByteArray emf = redFill().record(EMR_RECTANGLE, box(0, 0, 100, 100)).finish();
        Le escape;
        escape.u16s(MFCOMMENT, 34 + emf.size())
            .u32s(EmbeddedEmfIdentifier, EmbeddedEmfCommentType, 0x10000)
            .u16(0)
            .u32s(0, 1, emf.size(), 0, emf.size())
            .bytes(emf);
        WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
        wmf.record(META_ESCAPE, escape);
        wmf.records(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Blue).u16(0), META_SELECTOBJECT,
                    Le().u16(0));
        wmf.record(META_RECTANGLE, wmfRect(QRect(0, 0, 1000, 1000)));
        const Metafile picture = Metafile::fromBytes(wmf.finish());
        QCOMPARE(picture.naturalSizeTwips(), QSizeF(1440, 1440)); // the outer header's size
        QVERIFY(near(picture.toImage(QSize(100, 100), Qt::white).pixelColor(50, 50), Qt::red));
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
        const Metafile picture =
            Metafile::fromBytes(redFill().record(EMR_RECTANGLE, box(0, 0, 100, 100)).finish());
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
