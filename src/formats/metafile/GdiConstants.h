#pragma once

#include <QtGlobal>

// The numbers of the Windows graphics device interface that metafile records carry,
// named as the WMF and EMF format documents name them. Records may hold any value,
// so fields are read as integers and compared with these.
namespace glintbox::gdi {

// SetMapMode: how logical units map onto the device.
enum MapMode : int {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
};

// ModifyWorldTransform: how the given transform meets the current one.
enum ModifyWorldTransformMode : int {
    MWT_IDENTITY = 1,
    MWT_LEFTMULTIPLY = 2,
    MWT_RIGHTMULTIPLY = 3,
    MWT_SET = 4,
};

// SetROP2: how a pen or a brush combines with the destination.
enum BinaryRasterOperation : int {
    R2_BLACK = 1,
    R2_NOTMERGEPEN = 2,
    R2_MASKNOTPEN = 3,
    R2_NOTCOPYPEN = 4,
    R2_MASKPENNOT = 5,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOTMASKPEN = 8,
    R2_MASKPEN = 9,
    R2_NOTXORPEN = 10,
    R2_NOP = 11,
    R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13,
    R2_MERGEPENNOT = 14,
    R2_MERGEPEN = 15,
    R2_WHITE = 16,
};

// Blits and pattern fills: how source, brush and destination combine. Only the
// operations drawn differently from a plain copy are named.
enum TernaryRasterOperation : quint32 {
    BLACKNESS = 0x00000042,
    NOTSRCCOPY = 0x00330008,
    DSTINVERT = 0x00550009,
    PATINVERT = 0x005A0049,
    SRCINVERT = 0x00660046,
    SRCAND = 0x008800C6,
    D = 0x00AA0029, // the destination left as it is
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    PATCOPY = 0x00F00021,
    WHITENESS = 0x00FF0062,
};

// What a ternary operation does is told by its index, the code's third byte; the low
// word only tells a driver how to compile it.
constexpr quint32 ropIndex(quint32 code)
{
    return code >> 16 & 0xFF;
}

// SetTextAlign: one horizontal and one vertical choice, and whether text output
// starts at and moves the current position.
enum TextAlignment : quint32 {
    TA_NOUPDATECP = 0x0000,
    TA_UPDATECP = 0x0001,
    TA_LEFT = 0x0000,
    TA_RIGHT = 0x0002,
    TA_CENTER = 0x0006,
    TA_TOP = 0x0000,
    TA_BOTTOM = 0x0008,
    TA_BASELINE = 0x0018,
};
constexpr quint32 TextAlignHorizontal = TA_LEFT | TA_RIGHT | TA_CENTER;
constexpr quint32 TextAlignVertical = TA_TOP | TA_BOTTOM | TA_BASELINE;

// ExtTextOut options.
enum ExtTextOutOptions : quint32 {
    ETO_OPAQUE = 0x0002,
    ETO_CLIPPED = 0x0004,
    ETO_GLYPH_INDEX = 0x0010,
    ETO_NO_RECT = 0x0100,
    ETO_SMALL_CHARS = 0x0200,
    ETO_PDY = 0x2000,
};

// SetBkMode.
enum MixMode : quint32 {
    TRANSPARENT = 1,
    OPAQUE = 2,
};

// SetPolyFillMode.
enum PolyFillMode : quint32 {
    ALTERNATE = 1,
    WINDING = 2,
};

// SetArcDirection.
enum ArcDirection : quint32 {
    AD_COUNTERCLOCKWISE = 1,
    AD_CLOCKWISE = 2,
};

// Clipping records: how a new region combines with the clip.
enum RegionMode : int {
    RGN_AND = 1,
    RGN_OR = 2,
    RGN_XOR = 3,
    RGN_DIFF = 4,
    RGN_COPY = 5,
};

// Pen styles: a line style, an end cap, a join, and whether the pen is geometric.
enum PenStyle : quint32 {
    PS_SOLID = 0x0000,
    PS_DASH = 0x0001,
    PS_DOT = 0x0002,
    PS_DASHDOT = 0x0003,
    PS_DASHDOTDOT = 0x0004,
    PS_NULL = 0x0005,
    PS_INSIDEFRAME = 0x0006,
    PS_USERSTYLE = 0x0007,
    PS_ALTERNATE = 0x0008,
    PS_ENDCAP_ROUND = 0x0000,
    PS_ENDCAP_SQUARE = 0x0100,
    PS_ENDCAP_FLAT = 0x0200,
    PS_JOIN_ROUND = 0x0000,
    PS_JOIN_BEVEL = 0x1000,
    PS_JOIN_MITER = 0x2000,
    PS_GEOMETRIC = 0x10000,
};
constexpr quint32 PenLineStyleMask = 0x000F;
constexpr quint32 PenEndCapMask = 0x0F00;
constexpr quint32 PenJoinMask = 0xF000;

// Brush styles of a LogBrush.
enum BrushStyle : quint32 {
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HATCHED = 2,
};

// Hatch patterns of a hatched brush.
enum HatchStyle : quint32 {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

// Objects every device context has, addressed in EMF by these indexes.
enum StockObject : quint32 {
    WHITE_BRUSH = 0x80000000,
    LTGRAY_BRUSH = 0x80000001,
    GRAY_BRUSH = 0x80000002,
    DKGRAY_BRUSH = 0x80000003,
    BLACK_BRUSH = 0x80000004,
    NULL_BRUSH = 0x80000005,
    WHITE_PEN = 0x80000006,
    BLACK_PEN = 0x80000007,
    NULL_PEN = 0x80000008,
    OEM_FIXED_FONT = 0x8000000A,
    ANSI_FIXED_FONT = 0x8000000B,
    ANSI_VAR_FONT = 0x8000000C,
    SYSTEM_FONT = 0x8000000D,
    DEVICE_DEFAULT_FONT = 0x8000000E,
    DEFAULT_PALETTE = 0x8000000F,
    SYSTEM_FIXED_FONT = 0x80000010,
    DEFAULT_GUI_FONT = 0x80000011,
    DC_BRUSH = 0x80000012,
    DC_PEN = 0x80000013,
};

// Character sets of a logical font.
enum CharacterSet : int {
    ANSI_CHARSET = 0,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
    HANGUL_CHARSET = 129,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
};

// How a bitmap's colour table is to be read.
enum ColorUsage : quint32 {
    DIB_RGB_COLORS = 0,
    DIB_PAL_COLORS = 1,
};

// Bitmap compression.
enum Compression : quint32 {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_JPEG = 4,
    BI_PNG = 5,
    BI_ALPHABITFIELDS = 6,
};

// GradientFill modes.
enum GradientFill : quint32 {
    GRADIENT_FILL_RECT_H = 0,
    GRADIENT_FILL_RECT_V = 1,
    GRADIENT_FILL_TRIANGLE = 2,
};

// PolyDraw point types.
enum PointType : quint8 {
    PT_CLOSEFIGURE = 0x01,
    PT_LINETO = 0x02,
    PT_BEZIERTO = 0x04,
    PT_MOVETO = 0x06,
};

// AlphaBlend's alpha format: the source carries its own alpha.
constexpr quint32 AC_SRC_ALPHA = 0x01;

} // namespace glintbox::gdi
