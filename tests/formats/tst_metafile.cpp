#include "MetafileWriter.h"

#include "core/RunTimeError.h"
#include "formats/metafile/Dib.h"
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

const quint32 Red = rgb(255, 0, 0), Green = rgb(0, 255, 0), Blue = rgb(0, 0, 255);
const quint32 PlusRed = 0xFFFF0000;

QImage render(const QByteArray &bytes)
{
    return Metafile::fromBytes(bytes).toImage(QSize(100, 100), Qt::white);
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

// An EMF that fills with a red brush and no pen.
EmfWriter redFill()
{
    EmfWriter emf;
    emf.records(EMR_CREATEBRUSHINDIRECT, Le().u32s(1, 0, Red, 0), EMR_SELECTOBJECT, Le().u32(1),
                EMR_SELECTOBJECT, Le().u32(NULL_PEN));
    return emf;
}

// A red rectangle drawn after the records.
template<typename... Records> QByteArray redBoxAfter(const Le &rectangle, const Records &...records)
{
    return picture(redFill(), records..., EMR_RECTANGLE, rectangle);
}

// A WMF with a placeable header of 1000 x 1000 units at 1000 an inch, red brush, no pen.
WmfWriter wmfRedFill()
{
    WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
    wmf.records(META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Red).u16(0), META_SELECTOBJECT,
                Le().u16(0), META_CREATEPENINDIRECT, Le().u16(5).i16s(0, 0).u32(0),
                META_SELECTOBJECT, Le().u16(1));
    return wmf;
}

Le wmfRect(QRect r)
{
    return Le().i16s(r.bottom() + 1, r.right() + 1, r.top(), r.left());
}

Le points16(const QList<QPoint> &points)
{
    Le le;
    le.i32s(0, 0, 100, 100).u32(quint32(points.size()));
    for (QPoint p : points)
        le.i16(qint16(p.x())).i16(qint16(p.y()));
    return le;
}

Le stretchDiBits(QRect dest, QRect source, quint32 rop = SRCCOPY,
                 const QByteArray &dib = quadrants())
{
    Le le;
    le.i32s(0, 0, 100, 100, dest.x(), dest.y(), source.x(), source.y());
    le.i32s(source.width(), source.height());
    le.u32s(80, 40, 120, dib.size() - 40, DIB_RGB_COLORS, rop).i32s(dest.width(), dest.height());
    return le.bytes(dib);
}

// Green all over, without a pen, with a blue brush selected: ground for raster operations.
EmfWriter greenWithBlueBrush()
{
    EmfWriter emf;
    emf.records(EMR_SELECTOBJECT, Le().u32(NULL_PEN), EMR_CREATEBRUSHINDIRECT,
                Le().u32s(1, BS_SOLID, Green, 0), EMR_SELECTOBJECT, Le().u32(1), EMR_RECTANGLE,
                box(0, 0, 100, 100), EMR_CREATEBRUSHINDIRECT, Le().u32s(2, BS_SOLID, Blue, 0),
                EMR_SELECTOBJECT, Le().u32(2));
    return emf;
}

// The quadrants stretched over the green under a raster operation.
QByteArray blitUnder(quint32 rop)
{
    return picture(greenWithBlueBrush(), EMR_STRETCHDIBITS,
                   stretchDiBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), rop));
}

// A thick red line across the green under a binary raster operation.
QByteArray lineUnder(int rop2)
{
    return picture(greenWithBlueBrush(), EMR_CREATEPEN, Le().u32s(3, PS_SOLID).i32s(20, 0).u32(Red),
                   EMR_SELECTOBJECT, Le().u32(3), EMR_SETROP2, Le().u32(quint32(rop2)),
                   EMR_POLYLINE16, points16({{0, 50}, {100, 50}}));
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
EmfWriter textPicture(int height = 40, const QString &face = QStringLiteral("DejaVu Sans"),
                      int charset = ANSI_CHARSET, int weight = 700)
{
    EmfWriter emf;
    emf.records(EMR_EXTCREATEFONTINDIRECTW, emfFont(height, weight, face, quint8(charset)),
                EMR_SELECTOBJECT, Le().u32(1), EMR_SETBKMODE, Le().u32(TRANSPARENT));
    return emf;
}

// Text drawn at (10, 20) in a regular font of 40 pixels, advancing 40 a character.
QByteArray textIn(const QString &face, int charset, const QString &text)
{
    return picture(textPicture(40, face, charset, 400), EMR_EXTTEXTOUTW,
                   textOut({10, 20}, text, 0, QRect(), {40, 40}));
}

// An EMF whose EMF+ records come first, followed by a fallback that paints everything blue.
template<typename... Records> QByteArray plusPicture(const Records &...records)
{
    return picture(EmfWriter(), EMR_COMMENT, EmfPlusWriter().add(records...).comment(),
                   EMR_CREATEBRUSHINDIRECT, Le().u32s(9, BS_SOLID, Blue, 0), EMR_SELECTOBJECT,
                   Le().u32(9), EMR_RECTANGLE, box(0, 0, 100, 100));
}

// A serialised path of float points with their types.
Le plusPath(const QList<QPointF> &points, const QByteArray &types)
{
    Le path;
    path.u32(0xDBC01002).u32(quint32(points.size())).u32(0);
    for (QPointF p : points)
        path.f32(float(p.x())).f32(float(p.y()));
    return path.bytes(types).pad(4);
}

Le fillRects(QRectF rect)
{
    return Le().u32s(PlusRed, 1).rectF(rect);
}

constexpr quint16 objectFlags(ObjectType type, quint8 id)
{
    return quint16(type << 8 | id);
}

// A WMF of 1000 units square that carries an EMF filling it red, and paints blue itself.
QByteArray wmfWithEmbeddedEmf()
{
    const QByteArray emf = picture(redFill(), EMR_RECTANGLE, box(0, 0, 100, 100));
    Le escape;
    escape.u16s(MFCOMMENT, 34 + emf.size())
        .u32s(EmbeddedEmfIdentifier, EmbeddedEmfCommentType, 0x10000)
        .u16(0)
        .u32s(0, 1, emf.size(), 0, emf.size())
        .bytes(emf);
    return picture(WmfWriter(QRect(0, 0, 1000, 1000), 1000), META_ESCAPE, escape,
                   META_CREATEBRUSHINDIRECT, Le().u16(0).u32(Blue).u16(0), META_SELECTOBJECT,
                   Le().u16(0), META_RECTANGLE, wmfRect(QRect(0, 0, 1000, 1000)));
}

// A picture that must be red at one point and white at the other (unless that lies outside).
void row(const char *name, QPoint painted, QPoint unpainted, const QByteArray &bytes)
{
    QTest::newRow(name) << bytes << painted << QColor(Qt::red) << unpainted;
}

// A picture that must show the colour at the point.
void row(const char *name, QPoint at, QColor colour, const QByteArray &bytes)
{
    QTest::newRow(name) << bytes << at << colour << QPoint(-1, -1);
}

} // namespace

class tst_Metafile : public QObject {
    Q_OBJECT

private slots:
    // Whether the bytes look like a picture, and the size of one that loads; refused ones raise
    // the picture error.
    void recognisesAndLoads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("looksLike");
        QTest::addColumn<QSizeF>("twips"); // empty when refused
        QTest::newRow("placeable wmf, 576 an inch")
            << WmfWriter(QRect(100, 100, 576, 288), 576).finish() << true << QSizeF(1440, 720);
        QTest::newRow("window of a plain wmf, at 96 an inch")
            << WmfWriter().record(META_SETWINDOWEXT, Le().i16s(48, 96)).finish() << true
            << QSizeF(1440, 720);
        // 254 pixels at 4 a millimetre is 63.5 mm, 3600 twips.
        QTest::newRow("emf frame")
            << EmfWriter(QSize(254, 127)).finish() << true << QSizeF(3600, 1800);
        QTest::newRow("outer header of a wmf carrying an emf")
            << wmfWithEmbeddedEmf() << true << QSizeF(1440, 1440);
        QTest::newRow("empty") << QByteArray() << false << QSizeF();
        QTest::newRow("emf type without signature")
            << QByteArray(Le().u32s(1, 88).data() + QByteArray(80, 'x')) << false << QSizeF();
        QTest::newRow("emf header cut short") << EmfWriter().finish().left(60) << true << QSizeF();
        QTest::newRow("placeable key only") << Le().u32(PlaceableKey).data() << true << QSizeF();
    }
    void recognisesAndLoads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, looksLike);
        QFETCH(QSizeF, twips);
        QCOMPARE(Metafile::looksLikeMetafile(bytes), looksLike);
        try {
            const QSizeF size = Metafile::fromBytes(bytes).naturalSizeTwips();
            QVERIFY2(std::abs(size.width() - twips.width()) < 1 &&
                         std::abs(size.height() - twips.height()) < 1,
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        } catch (const RunTimeError &error) {
            QVERIFY(twips.isEmpty());
            QCOMPARE(error.number(), int(InvalidPicture));
        }
    }

    // Each picture must show the colour at the point, and white at the other point if given.
    void draws_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QPoint>("white");
        row("emf lometric, y up", {20, 80}, {20, 20},
            redBoxAfter(box(0, 0, 100, 100), EMR_SETMAPMODE, Le().u32(MM_LOMETRIC),
                        EMR_SETVIEWPORTORGEX, Le().i32s(0, 100)));
        Le holed;
        holed.i32s(0, 0, 100, 100).u32s(2, 8, 4, 4);
        for (QPoint p : {QPoint(10, 10), QPoint(90, 10), QPoint(90, 90), QPoint(10, 90),
                         QPoint(30, 30), QPoint(70, 30), QPoint(70, 70), QPoint(30, 70)})
            holed.i16(qint16(p.x())).i16(qint16(p.y()));
        row("poly-polygon with a hole", {20, 20}, {50, 50},
            picture(redFill(), EMR_POLYPOLYGON16, holed));
        row("pie, clockwise", {35, 65}, {65, 35},
            picture(redFill(), EMR_SETARCDIRECTION, Le().u32(AD_CLOCKWISE), EMR_PIE,
                    Le().rect(QRect(10, 10, 80, 80)).i32s(90, 50, 50, 10)));
        row("path figures stay apart", {25, 10}, {35, 50},
            picture(EmfWriter(), EMR_CREATEPEN, Le().u32s(1, 0).i32s(3, 0).u32(Red),
                    EMR_SELECTOBJECT, Le().u32(1), EMR_BEGINPATH, Le(), EMR_MOVETOEX,
                    Le().i32s(10, 10), EMR_POLYBEZIERTO16, points16({{10, 10}, {40, 10}, {40, 10}}),
                    EMR_LINETO, Le().i32s(10, 40), EMR_MOVETOEX, Le().i32s(60, 60),
                    EMR_POLYBEZIERTO16, points16({{60, 60}, {90, 60}, {90, 60}}), EMR_LINETO,
                    Le().i32s(60, 90), EMR_ENDPATH, Le(), EMR_STROKEPATH, box(0, 0, 100, 100)));
        Le dashes;
        dashes.u32s(1, 0, 0, 0, 0, PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_USERSTYLE, 4, 0, Red, 0, 2);
        row("user dashes leave gaps", {25, 50}, {15, 50},
            picture(EmfWriter(), EMR_EXTCREATEPEN, dashes.u32s(10, 10), EMR_SELECTOBJECT,
                    Le().u32(1), EMR_POLYLINE16, points16({{0, 50}, {100, 50}})));
        Le gradient; // red at the left edge to blue at the right
        gradient.i32s(0, 0, 100, 100).u32s(2, 1, 0);
        gradient.i32s(0, 0).u16s(0xFF00, 0, 0, 0).i32s(100, 100).u16s(0, 0, 0xFF00, 0).u32s(0, 1);
        const QByteArray gradientFill = picture(EmfWriter(), EMR_GRADIENTFILL, gradient);
        row("gradient starts at its first colour", {2, 50}, Qt::red, gradientFill);
        row("gradient mixes in the middle", {50, 50}, QColor(128, 0, 128), gradientFill);
        EmfWriter objects;
        objects.records(EMR_SELECTOBJECT, Le().u32(NULL_PEN), EMR_CREATEBRUSHINDIRECT,
                        Le().u32s(1, 0, Red, 0), EMR_CREATEBRUSHINDIRECT,
                        Le().u32s(100000, 0, Blue, 0), EMR_SELECTOBJECT, Le().u32(1),
                        EMR_DELETEOBJECT, Le().u32(1));
        objects.records(EMR_SELECTOBJECT, Le().u32(1), EMR_SELECTOBJECT, Le().u32(100000),
                        EMR_RECTANGLE, box(0, 0, 50, 100));
        row("deleted and unknown objects are not selected", {25, 50}, Qt::red, objects.finish());
        row("emf carried by a wmf replaces its drawing", {50, 50}, {-1, -1}, wmfWithEmbeddedEmf());
        const Le everything = box(0, 0, 100, 100);
        row("exclude", {70, 70}, {40, 40},
            redBoxAfter(everything, EMR_EXCLUDECLIPRECT, box(20, 20, 40, 40)));
        Le region;
        region.u32s(48, RGN_COPY, 32, 1, 1, 16).rect(QRect(50, 0, 50, 100));
        region.rect(QRect(50, 0, 50, 100));
        row("select clip region", {75, 50}, {25, 50},
            redBoxAfter(everything, EMR_EXTSELECTCLIPRGN, region));
        row("region without rectangles clips everything", {5, 5}, {50, 50},
            redBoxAfter(everything, EMR_RECTANGLE, box(0, 0, 10, 10), EMR_EXTSELECTCLIPRGN,
                        Le().u32s(32, RGN_COPY, 32, 1, 0, 0).rect(QRect(0, 0, 0, 0))));
        // Source rows of a bottom-up bitmap count from its bottom.
        row("stretchdibits source from the bottom", {50, 50}, Qt::yellow,
            picture(EmfWriter(), EMR_STRETCHDIBITS, stretchDiBits({0, 0, 100, 100}, {1, 0, 1, 1})));
        Le stretchBlt;
        stretchBlt.i32s(0, 0, 100, 100, 0, 0, 100, 100).u32(SRCCOPY).i32s(0, 0);
        stretchBlt.f32s(1, 0, 0, 1, 0, 0).u32s(0, 0);
        stretchBlt.u32s(108, 40, 148).u32(quint32(quadrants().size() - 40)).i32s(2, 2);
        stretchBlt.bytes(quadrants());
        row("stretchblt", {75, 25}, Qt::green, picture(EmfWriter(), EMR_STRETCHBLT, stretchBlt));
        QByteArray keyed = stretchBlt.data();
        keyed.replace(32, 4, Le().u32(Green).data()); // the rop field holds the transparent colour
        const QByteArray transparentBlt =
            picture(EmfWriter(), EMR_TRANSPARENTBLT, Le().bytes(keyed));
        row("transparentblt keys out a colour", {75, 25}, Qt::white, transparentBlt);
        row("transparentblt keeps the rest", {25, 25}, Qt::red, transparentBlt);
        row("wmf dibstretchblt", {25, 75}, Qt::blue,
            picture(WmfWriter(QRect(0, 0, 100, 100), 96), META_DIBSTRETCHBLT,
                    Le().u32(SRCCOPY).i16s(2, 2, 0, 0, 100, 100, 0, 0).bytes(quadrants())));
        Le plgBlt;
        plgBlt.i32s(0, 0, 100, 100, 100, 0, 100, 100, 0, 0, 0, 0, 2, 2).f32s(1, 0, 0, 1, 0, 0);
        plgBlt.u32s(0, DIB_RGB_COLORS, 136, 40, 176, quadrants().size() - 40);
        plgBlt.bytes(QByteArray(24, '\0')).bytes(quadrants());
        // The source's top left lands at the top right, its top right at the bottom right.
        row("parallelogram blit, turned a quarter", {75, 25}, Qt::red,
            picture(EmfWriter(), EMR_PLGBLT, plgBlt));
        // Blits of 16-bit Windows carry a device-dependent bitmap, top row first.
        Le bitmap16;
        bitmap16.i16s(0, 2, 2, 6).u8s(1, 24);
        bitmap16.u8s(0, 0, 255, 0, 255, 0).u8s(255, 0, 0, 0, 255, 255); // red, green; blue, yellow
        auto bitBlt = [](quint16 function, const Le &bitmap) {
            return picture(WmfWriter(QRect(0, 0, 100, 100), 96), META_SETTEXTCOLOR, Le().u32(Red),
                           function,
                           Le().u32(SRCCOPY).i16s(0, 0, 100, 100, 0, 0).bytes(bitmap.data()));
        };
        row("wmf bitblt of a 16-bit bitmap", {75, 75}, Qt::yellow, bitBlt(META_BITBLT, bitmap16));
        row("wmf monochrome bitmap in the text colour", {50, 50}, Qt::red,
            bitBlt(META_BITBLT, Le().i16s(0, 2, 2, 2).u8s(1, 1).u16s(0, 0)));
        // The copy names a source as large as its destination: the whole bitmap fills it.
        row("wmf dib copy larger than its bitmap", {75, 75}, Qt::yellow,
            bitBlt(META_DIBBITBLT, Le().bytes(quadrants())));
        // The quadrants' red corner over green with a blue brush, and a red line over green.
        row("inverted copy", {25, 25}, Qt::cyan, blitUnder(NOTSRCCOPY));
        row("xor", {25, 25}, Qt::yellow, blitUnder(SRCINVERT));
        row("destination kept", {25, 25}, Qt::green, blitUnder(gdi::D));
        row("destination inverted", {25, 25}, Qt::magenta, blitUnder(DSTINVERT));
        row("brush, index alone", {25, 25}, Qt::blue, blitUnder(PATCOPY & 0xFFFF0000));
        row("brush xor", {25, 25}, Qt::cyan, blitUnder(PATINVERT));
        row("black", {25, 25}, Qt::black, blitUnder(BLACKNESS));
        row("pen nothing", {50, 50}, Qt::green, lineUnder(R2_NOP));
        row("pen black", {50, 50}, Qt::black, lineUnder(R2_BLACK));
        row("pen inverted", {50, 50}, Qt::cyan, lineUnder(R2_NOTCOPYPEN));
        row("pen inverted destination", {50, 50}, Qt::magenta, lineUnder(R2_NOT));
        row("pen xor", {50, 50}, Qt::yellow, lineUnder(R2_XORPEN));
        Le shortPolygon;
        shortPolygon.i32s(0, 0, 100, 100).u32(1000000).i32s(0, 0, 50, 0, 50, 50);
        row("emf point count beyond its record", {75, 75}, {10, 5},
            redBoxAfter(box(50, 50, 50, 50), EMR_POLYGON, shortPolygon));
        row("emf record beyond the file", {25, 25}, {75, 75},
            redFill()
                .record(EMR_RECTANGLE, box(0, 0, 50, 50))
                .rawRecord(EMR_RECTANGLE, 0x7FFFFFF0, box(50, 50, 50, 50).data())
                .finish(false));
        row("emf record of size zero", {25, 25}, {75, 75},
            redFill()
                .record(EMR_RECTANGLE, box(0, 0, 50, 50))
                .rawRecord(EMR_RECTANGLE, 0, QByteArray())
                .record(EMR_RECTANGLE, box(50, 50, 50, 50))
                .finish());
        row("emf region count beyond its data", {50, 50}, {-1, -1},
            picture(
                redFill(), EMR_EXTSELECTCLIPRGN,
                Le().u32s(48, 5, 32, 1, 0x10000000, 0).rect({0, 0, 10, 10}).rect({0, 0, 10, 10}),
                EMR_RECTANGLE, box(0, 0, 100, 100)));
        row("wmf point count beyond its record", {75, 75}, {25, 5},
            picture(wmfRedFill(), META_POLYGON, Le().i16s(30000, 0, 0, 500, 0), META_RECTANGLE,
                    wmfRect(QRect(500, 500, 500, 500))));
        row("wmf record beyond the file", {25, 25}, {75, 75},
            wmfRedFill()
                .record(META_RECTANGLE, wmfRect(QRect(0, 0, 500, 500)))
                .rawRecord(0x40000000, META_RECTANGLE, wmfRect(QRect(500, 500, 500, 500)).data())
                .finish());
        row("wmf text count beyond its record", {75, 75}, {25, 25},
            picture(wmfRedFill(), META_EXTTEXTOUT, Le().i16s(0, 0, 32000, 0).bytes("abc"),
                    META_RECTANGLE, wmfRect(QRect(500, 500, 500, 500))));
        // The object table's size lies after the file's byte count in the header; a file of
        // 64 KiB read it from there once and lost every object.
        const int padding = 65536 - 12 - int(picture(redFill(), EMR_RECTANGLE, everything).size());
        row("emf of 64 KiB keeps its objects", {50, 50}, {-1, -1},
            redBoxAfter(everything, EMR_COMMENT,
                        Le().u32(padding).bytes(QByteArray(padding, '\0'))));
        // The header claims 200 x 200 pixels; the record holds the bits of 2 x 2.
        QByteArray dib = quadrants();
        dib.replace(4, 8, Le().i32s(200, 200).data());
        row("bitmap larger than its record", {75, 50}, {25, 50},
            redBoxAfter(box(50, 0, 50, 100), EMR_STRETCHDIBITS,
                        stretchDiBits({0, 0, 50, 100}, {0, 0, 200, 200}, SRCCOPY, dib)));
        // EMF+ records draw the picture; the enhanced records after them are its fallback. A
        // Windows metafile the picture was made from draws only when no record follows it.
        const QByteArray wmf =
            wmfRedFill().record(META_RECTANGLE, wmfRect(QRect(0, 0, 500, 500))).finish();
        const Le wmfComment =
            Le().u32(quint32(wmf.size() + 24))
                .u32s(PublicCommentIdentifier, CommentWindowsMetafile, 0x300, 0, 0, wmf.size())
                .bytes(wmf);
        row("windows metafile in a comment, alone", {25, 25}, {75, 75},
            picture(EmfWriter(), EMR_COMMENT, wmfComment));
        row("windows metafile in a comment, records follow", {75, 75}, {25, 25},
            redBoxAfter(box(50, 50, 50, 50), EMR_COMMENT, wmfComment));
        const Le topLeft = fillRects({0, 0, 50, 50});
        row("records without a header leave the enhanced drawing", {25, 25}, {75, 75},
            redBoxAfter(box(0, 0, 50, 50), EMR_COMMENT,
                        EmfPlusWriter(false)
                            .add(EmfPlusFillRects, FlagColour,
                                 Le().u32s(0xFF0000FF, 1).rectF({0, 0, 100, 100}))
                            .comment()));
        row("world transform, compressed rectangle", {70, 70}, {25, 25},
            plusPicture(EmfPlusTranslateWorldTransform, 0, Le().f32s(50, 50), EmfPlusFillRects,
                        FlagColour | FlagCompressed, Le().u32s(PlusRed, 1).i16s(0, 0, 40, 40)));
        const QByteArray path =
            plusPath({{0, 0}, {100, 0}, {0, 100}}, QByteArray("\x00\x01\x81", 3)).data();
        row("object continued over two records", {20, 20}, {80, 80},
            plusPicture(EmfPlusObject, FlagContinued | objectFlags(ObjectPath, 1),
                        Le().u32(quint32(path.size())).bytes(path.left(20)), EmfPlusObject,
                        objectFlags(ObjectPath, 1), Le().bytes(path.mid(20)), EmfPlusFillPath,
                        FlagColour | 1, Le().u32(PlusRed)));
        const QByteArray inner = picture(redFill(), EMR_RECTANGLE, box(0, 0, 100, 100));
        row("metafile image", {75, 75}, {25, 25},
            plusPicture(EmfPlusObject, objectFlags(ObjectImage, 3),
                        Le().u32s(0xDBC01002, ImageMetafile, 3, inner.size()).bytes(inner),
                        EmfPlusDrawImage, 3,
                        Le().u32s(0, UnitPixel).rectF({0, 0, 100, 100}).rectF({50, 50, 50, 50})));
        row("restore brings back the saved world", {25, 25}, {75, 75},
            plusPicture(EmfPlusSave, 0, Le().u32(7), EmfPlusTranslateWorldTransform, 0,
                        Le().f32s(50, 50), EmfPlusRestore, 0, Le().u32(7), EmfPlusFillRects,
                        FlagColour, topLeft));
        row("container maps its source rectangle onto its destination", {75, 75}, {25, 25},
            plusPicture(EmfPlusBeginContainer, quint16(UnitPixel << 8),
                        Le().rectF({50, 50, 50, 50}).rectF({0, 0, 100, 100}).u32(3),
                        EmfPlusFillRects, FlagColour, fillRects({0, 0, 100, 100}),
                        EmfPlusEndContainer, 0, Le().u32(3)));
        row("end of a container restores the world", {25, 25}, {75, 75},
            plusPicture(EmfPlusBeginContainerNoParams, 0, Le().u32(4), EmfPlusScaleWorldTransform,
                        0, Le().f32s(2, 2), EmfPlusEndContainer, 0, Le().u32(4), EmfPlusFillRects,
                        FlagColour, topLeft));
        row("pie angles run clockwise", {70, 70}, {70, 30},
            plusPicture(EmfPlusFillPie, FlagColour,
                        Le().u32(PlusRed).f32s(0, 90).rectF({0, 0, 100, 100})));
        // Offsets of one and two bytes: (0, 0), (100, 0), (99, 100).
        row("polygon of relative points, one and two bytes", {90, 20}, {20, 80},
            plusPicture(EmfPlusFillPolygon, FlagColour | FlagRelative,
                        Le().u32s(PlusRed, 3).u8s(0, 0, 0x80, 100, 0, 0x7F, 0x80, 100)));
        row("region that excludes a rectangle, filled", {75, 50}, {25, 50},
            plusPicture(
                EmfPlusObject, objectFlags(ObjectRegion, 5),
                Le().u32s(0xDBC01002, 2, RegionNodeExclude, RegionNodeInfinite, RegionNodeRect)
                    .rectF({0, 0, 50, 100}),
                EmfPlusFillRegion, FlagColour | 5, Le().u32(PlusRed)));
        row("reset clip lifts the clip", {25, 25}, {75, 75},
            plusPicture(EmfPlusSetClipRect, CombineReplace << 8, Le().rectF({0, 0, 10, 10}),
                        EmfPlusResetClip, 0, Le(), EmfPlusFillRects, FlagColour, topLeft));
        row("linear gradient brush runs from its start colour", {2, 50}, {75, 50},
            plusPicture(EmfPlusObject, objectFlags(ObjectBrush, 6),
                        Le().u32s(0xDBC01002, BrushLinearGradient, 0, 0)
                            .rectF({0, 0, 100, 100})
                            .u32s(PlusRed, 0xFFFFFFFF, 0, 0),
                        EmfPlusFillRects, 0, Le().u32s(6, 1).rectF({0, 0, 50, 100})));
        // Fills under one clip share it; a new clip between them must still take hold.
        const Le fillAll = Le().u32s(PlusRed, 1).rectF({0, 0, 100, 100});
        row("EMF+ clip replaced between fills", {25, 50}, {75, 50},
            plusPicture(EmfPlusSetClipRect, 0, Le().rectF({0, 0, 50, 100}), EmfPlusFillRects,
                        FlagColour, fillAll, EmfPlusFillRects, FlagColour, fillAll,
                        EmfPlusSetClipRect, 0, Le().rectF({0, 0, 50, 50}), EmfPlusFillRects,
                        FlagColour, Le().u32s(0xFF00FF00, 1).rectF({0, 0, 100, 100})));
        row("EMF+ clip reset between fills", {75, 50}, Qt::red,
            plusPicture(EmfPlusSetClipRect, 0, Le().rectF({0, 0, 50, 100}), EmfPlusFillRects,
                        FlagColour, Le().u32s(0xFF00FF00, 1).rectF({0, 0, 100, 100}),
                        EmfPlusResetClip, 0, Le(), EmfPlusFillRects, FlagColour, fillAll));
        row("closed curve through the corners of a square fills it", {50, 50}, {3, 97},
            plusPicture(EmfPlusFillClosedCurve, FlagColour,
                        Le().u32(PlusRed).f32(0.5f).u32(4).f32s(20, 20, 80, 20, 80, 80, 20, 80)));
    }

    void draws()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QFETCH(QPoint, white);
        const QImage image = render(bytes);
        QVERIFY2(near(image.pixelColor(at), colour), qPrintable(image.pixelColor(at).name()));
        if (image.rect().contains(white))
            QVERIFY2(image.pixelColor(white) == QColor(Qt::white),
                     qPrintable(image.pixelColor(white).name()));
    }

    // Where a text record puts its ink, and where it must leave none.
    void textPlacement_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QRect>("ink");
        QTest::addColumn<QRect>("blank");
        auto inkRow = [](const char *name, QRect ink, QRect blank, const QByteArray &bytes) {
            QTest::newRow(name) << bytes << ink << blank;
        };
        // A reference point at (50, 50) under each alignment.
        auto aligned = [](quint32 align) {
            return picture(textPicture(), EMR_SETTEXTALIGN, Le().u32(align), EMR_EXTTEXTOUTW,
                           textOut({50, 50}, "II"));
        };
        inkRow("right, bottom", {0, 0, 48, 48}, {52, 0, 48, 100}, aligned(TA_RIGHT | TA_BOTTOM));
        inkRow("centre, baseline", {0, 0, 48, 48}, {0, 52, 100, 48},
               aligned(TA_CENTER | TA_BASELINE));
        inkRow("opaque rectangle without text", {25, 25, 30, 30}, {65, 0, 35, 100},
               picture(textPicture(), EMR_SETBKCOLOR, Le().u32(Blue), EMR_EXTTEXTOUTW,
                       textOut({0, 0}, "", ETO_OPAQUE, QRect(20, 20, 40, 40))));
        inkRow("opaque glyph numbers keep their box", {25, 25, 30, 30}, {65, 0, 35, 100},
               picture(textPicture(), EMR_SETBKCOLOR, Le().u32(Blue), EMR_EXTTEXTOUTW,
                       textOut({20, 20}, "\x01\x02", ETO_OPAQUE | ETO_GLYPH_INDEX,
                               QRect(20, 20, 40, 40))));
        // Window y grows upwards, and an escapement of 270 degrees climbs from the reference
        // point at device (50, 80), as the vertical axis labels of charts are written.
        inkRow("escapement in a mapping with y up", {50, 30, 25, 45}, {0, 84, 100, 16},
               picture(EmfWriter(), EMR_SETMAPMODE, Le().u32(MM_ANISOTROPIC), EMR_SETWINDOWEXTEX,
                       Le().i32s(100, -100), EMR_SETWINDOWORGEX, Le().i32s(0, 100),
                       EMR_SETVIEWPORTEXTEX, Le().i32s(100, 100), EMR_EXTCREATEFONTINDIRECTW,
                       emfFont(20, 700, QStringLiteral("DejaVu Sans"), 0, 2700), EMR_SELECTOBJECT,
                       Le().u32(1), EMR_SETBKMODE, Le().u32(TRANSPARENT), EMR_EXTTEXTOUTW,
                       textOut({50, 20}, "IIII")));
        Le font;
        font.u32(0xDBC01002).f32(30).u32s(UnitPixel, 0, 0, 11).utf16("DejaVu Sans");
        inkRow("emf+ string", {10, 12, 30, 30}, {50, 0, 50, 100},
               plusPicture(EmfPlusObject, objectFlags(ObjectFont, 4), font, EmfPlusDrawString,
                           FlagColour | 4,
                           Le().u32s(0xFF000000, 0xFFFFFFFF, 2).rectF({10, 10, 0, 0}).utf16("II")));
        // Each character on its own baseline point: the second far from the first.
        inkRow("emf+ driver string", {70, 15, 10, 25}, {25, 0, 40, 100},
               plusPicture(EmfPlusObject, objectFlags(ObjectFont, 4), font, EmfPlusDrawDriverString,
                           FlagColour | 4,
                           Le().u32s(0xFF000000, DriverStringCmapLookup, 0, 2)
                               .utf16("II")
                               .f32s(10, 40, 70, 40)));
        Le polyText;
        polyText.i32s(0, 0, 100, 100).u32(2).f32s(1, 1).u32(1);
        polyText.i32s(10, 20).u32s(2, 80, 0).rect(QRect()).u32(0).utf16("II");
        inkRow("poly text out", {10, 25, 25, 20}, {50, 0, 50, 100},
               picture(textPicture(), EMR_POLYTEXTOUTW, polyText));
        // The records' reference points are ignored: the second run follows the first.
        inkRow("text at the current position moves it", {35, 10, 25, 35}, {0, 60, 100, 40},
               picture(textPicture(30), EMR_SETTEXTALIGN, Le().u32(TA_UPDATECP), EMR_MOVETOEX,
                       Le().i32s(10, 10), EMR_EXTTEXTOUTW, textOut({0, 70}, "II"), EMR_EXTTEXTOUTW,
                       textOut({0, 70}, "II")));
        inkRow("clipped to its rectangle", {0, 0, 30, 100}, {31, 0, 69, 100},
               picture(textPicture(), EMR_EXTTEXTOUTW,
                       textOut({0, 20}, "IIIIIIII", ETO_CLIPPED, QRect(0, 0, 30, 100))));
        inkRow(
            "second letter of a ligature, no advance of its own", {24, 25, 8, 25}, {50, 0, 50, 100},
            picture(textPicture(), EMR_EXTTEXTOUTW, textOut({10, 20}, "II", 0, QRect(), {40, 0})));
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

    // Codes of a symbol font, or bytes in a font's code page, draw as the characters they
    // stand for written in a font that has them.
    void textDrawsAsItsCharacters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("symbol") << textIn("Symbol", SYMBOL_CHARSET, "ab") << u"\u03b1\u03b2"_qs;
        QTest::newRow("unknown font of the symbol set")
            << textIn("DejaVu Sans", SYMBOL_CHARSET, u"\uf041\uf042"_qs) << "AB";
        Le wmfFont;
        wmfFont.i16s(-40, 0, 0, 0, 400).u8s(0, 0, 0, 204, 0, 0, 0, 0);
        wmfFont.bytes(QByteArray("DejaVu Sans").leftJustified(32, '\0'));
        QTest::newRow("wmf bytes of code page 1251")
            << picture(WmfWriter(QRect(0, 0, 100, 100), 96), META_CREATEFONTINDIRECT, wmfFont,
                       META_SELECTOBJECT, Le().u16(0), META_SETBKMODE, Le().u16(TRANSPARENT),
                       META_EXTTEXTOUT, Le().i16s(20, 10, 1, 0).u8s(0xc6, 0).i16(40))
            << u"\u0416"_qs;
    }
    void textDrawsAsItsCharacters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QImage expected = render(textIn(QStringLiteral("DejaVu Sans"), ANSI_CHARSET, shown));
        QVERIFY(inkIn(expected, expected.rect()));
        QCOMPARE(render(bytes), expected);
    }

    // Each line decodes on its own, though the decoders of code pages are kept between lines.
    void textBytesDecodeInTheirCodePage_data()
    {
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QString>("last");
        QTest::newRow("code page 1251")
            << QByteArrayList{"\xc6"} << int(RUSSIAN_CHARSET) << u"\u0416"_qs;
        QTest::newRow("shift_jis pair")
            << QByteArrayList{"\x82\xa0"} << int(SHIFTJIS_CHARSET) << u"\u3042"_qs;
        QTest::newRow("a line cut inside a character leaves the next alone")
            << QByteArrayList{"\x82", "A"} << int(SHIFTJIS_CHARSET) << u"A"_qs;
    }
    void textBytesDecodeInTheirCodePage()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(int, charset);
        QFETCH(QString, last);
        QString decoded;
        for (const QByteArray &line : lines)
            decoded = decodeGdiText(line, charset, QStringLiteral("Arial"));
        QCOMPARE(decoded, last);
    }

    // A costly record reads the clock at once; the record loop every eighth record.
    void budgetEndsTheRecordLoop_data()
    {
        QTest::addColumn<qint64>("maxRecords");
        QTest::addColumn<int>("clockJumpsAfter"); // records spent before the time runs out
        QTest::addColumn<bool>("costly");
        QTest::addColumn<int>("spentBeforeStop");
        QTest::newRow("record count") << qint64(10) << -1 << false << 10;
        QTest::newRow("time, read every 8 records") << qint64(1'000'000) << 20 << false << 23;
        QTest::newRow("time, inside a costly record") << qint64(1'000'000) << 5 << true << 5;
    }
    void budgetEndsTheRecordLoop()
    {
        QFETCH(qint64, maxRecords);
        QFETCH(int, clockJumpsAfter);
        QFETCH(bool, costly);
        QFETCH(int, spentBeforeStop);
        qint64 now = 5000;
        RenderBudget budget(100, maxRecords, [&] { return now; });
        int spent = 0;
        for (;;) {
            if (spent == clockJumpsAfter)
                now += 101;
            if (costly ? budget.overTime() : budget.spend())
                break;
            QVERIFY(++spent < 1000);
        }
        QCOMPARE(spent, spentBeforeStop);
        QVERIFY(budget.exhausted() && budget.spend());
    }

    // Rows of odd widths end inside a byte and are padded to four bytes; rows are stored
    // bottom first.
    void bitmapsDecodeEachPixel_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QList<QRgb>>("pixels"); // top row first
        const QRgb k = qRgb(0, 0, 0), r = qRgb(255, 0, 0), g = qRgb(0, 255, 0), b = qRgb(0, 0, 255);
        auto dib = [](int width, int height, int bits, quint32 compression) {
            Le header;
            header.u32(40).i32s(width, height).u16s(1, bits).u32s(compression, 0, 0, 0, 0, 0);
            return header;
        };
        // Colour table: black, red, green, blue, then black.
        auto table = [](Le header, int entries) {
            const quint32 colours[] = {0, 0xFF0000, 0x00FF00, 0x0000FF};
            for (int i = 0; i < entries; ++i)
                header.u32(i < 4 ? colours[i] : 0);
            return header;
        };
        QTest::newRow("1 bit, 11 wide")
            << table(dib(11, 1, 1, BI_RGB), 2).u8s(0b10110011, 0b10100000, 0, 0).data()
            << QList<QRgb>{r, k, r, r, k, k, r, r, r, k, r};
        QTest::newRow("4 bits, 3 wide, two rows")
            << table(dib(3, 2, 4, BI_RGB), 16).u8s(0x12, 0x30, 0, 0, 0x32, 0x10, 0, 0).data()
            << QList<QRgb>{b, g, r, r, g, b};
        QTest::newRow("8 bits, 5 wide, top row first")
            << table(dib(5, -2, 8, BI_RGB), 256)
                   .u8s(1, 2, 3, 0, 1, 0, 0, 0, 3, 3, 2, 2, 1, 0, 0, 0)
                   .data()
            << QList<QRgb>{r, g, b, k, r, b, b, g, g, r};
        QTest::newRow("32 bits, masks of whole bytes")
            << dib(2, 1, 32, BI_BITFIELDS)
                   .u32s(0xFF0000, 0xFF00, 0xFF)
                   .u8s(0x10, 0x20, 0x30, 0x00, 0xFF, 0x80, 0x00, 0x7F)
                   .data()
            << QList<QRgb>{qRgb(0x30, 0x20, 0x10), qRgb(0x00, 0x80, 0xFF)};
        QTest::newRow("24 bits, masks of other widths") << dib(1, 1, 24, BI_BITFIELDS)
                                                               .u32s(0xF00000, 0x0F0000, 0xFF)
                                                               .u8s(0x40, 0x00, 0xF1, 0)
                                                               .data()
                                                        << QList<QRgb>{qRgb(255, 17, 0x40)};
    }
    void bitmapsDecodeEachPixel()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QList<QRgb>, pixels);
        const QImage image =
            decodePackedDib(
                ByteSpan(reinterpret_cast<const uchar *>(packed.constData()), packed.size()))
                .image;
        QCOMPARE(image.width() * image.height(), pixels.size());
        QList<QRgb> decoded;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                decoded.append(image.pixel(x, y) | 0xFF000000);
        QCOMPARE(decoded, pixels);
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
};

QTEST_MAIN(tst_Metafile)
#include "tst_metafile.moc"
