#pragma once

#include <QtGlobal>

// Record types, object types and flags of EMF+ drawings (the records GDI+ writes into the
// comments of an enhanced metafile), named as the EMF+ format document names them.
namespace glintbox::emfplus {

// The comment identifier that marks an EMR_COMMENT as EMF+ records, "EMF+".
constexpr quint32 EmfPlusCommentIdentifier = 0x2B464D45;

enum RecordType : quint16 {
    EmfPlusHeader = 0x4001,
    EmfPlusEndOfFile = 0x4002,
    EmfPlusComment = 0x4003,
    EmfPlusGetDC = 0x4004,
    EmfPlusObject = 0x4008,
    EmfPlusClear = 0x4009,
    EmfPlusFillRects = 0x400A,
    EmfPlusDrawRects = 0x400B,
    EmfPlusFillPolygon = 0x400C,
    EmfPlusDrawLines = 0x400D,
    EmfPlusFillEllipse = 0x400E,
    EmfPlusDrawEllipse = 0x400F,
    EmfPlusFillPie = 0x4010,
    EmfPlusDrawPie = 0x4011,
    EmfPlusDrawArc = 0x4012,
    EmfPlusFillRegion = 0x4013,
    EmfPlusFillPath = 0x4014,
    EmfPlusDrawPath = 0x4015,
    EmfPlusFillClosedCurve = 0x4016,
    EmfPlusDrawClosedCurve = 0x4017,
    EmfPlusDrawCurve = 0x4018,
    EmfPlusDrawBeziers = 0x4019,
    EmfPlusDrawImage = 0x401A,
    EmfPlusDrawImagePoints = 0x401B,
    EmfPlusDrawString = 0x401C,
    EmfPlusSave = 0x4025,
    EmfPlusRestore = 0x4026,
    EmfPlusBeginContainer = 0x4027,
    EmfPlusBeginContainerNoParams = 0x4028,
    EmfPlusEndContainer = 0x4029,
    EmfPlusSetWorldTransform = 0x402A,
    EmfPlusResetWorldTransform = 0x402B,
    EmfPlusMultiplyWorldTransform = 0x402C,
    EmfPlusTranslateWorldTransform = 0x402D,
    EmfPlusScaleWorldTransform = 0x402E,
    EmfPlusRotateWorldTransform = 0x402F,
    EmfPlusSetPageTransform = 0x4030,
    EmfPlusResetClip = 0x4031,
    EmfPlusSetClipRect = 0x4032,
    EmfPlusSetClipPath = 0x4033,
    EmfPlusSetClipRegion = 0x4034,
    EmfPlusOffsetClip = 0x4035,
    EmfPlusDrawDriverString = 0x4036,
};

// Record flags.
constexpr quint16 FlagColour = 0x8000;       // S: a brush given as an ARGB colour, not an object
constexpr quint16 FlagCompressed = 0x4000;   // C: 16-bit integer coordinates
constexpr quint16 FlagPostMultiply = 0x2000; // A: a transform applied after the world's
constexpr quint16 FlagClosed = 0x2000;       // L: DrawLines joins the last point to the first
constexpr quint16 FlagWinding = 0x2000;      // W: FillClosedCurve fills by the winding rule
constexpr quint16 FlagRelative = 0x0800;     // P: points relative to the one before
constexpr quint16 FlagContinued = 0x8000;    // an object record followed by more of its data
constexpr quint16 ObjectIdMask = 0x00FF;

enum ObjectType : quint8 {
    ObjectBrush = 1,
    ObjectPen = 2,
    ObjectPath = 3,
    ObjectRegion = 4,
    ObjectImage = 5,
    ObjectFont = 6,
    ObjectStringFormat = 7,
};

enum Unit : quint32 {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};

enum BrushType : quint32 {
    BrushSolidColor = 0,
    BrushHatchFill = 1,
    BrushTextureFill = 2,
    BrushPathGradient = 3,
    BrushLinearGradient = 4,
};

// Optional parts of brushes and pens.
enum BrushDataFlags : quint32 {
    BrushDataPath = 0x01,
    BrushDataTransform = 0x02,
    BrushDataPresetColors = 0x04,
    BrushDataBlendFactorsH = 0x08,
    BrushDataBlendFactorsV = 0x10,
    BrushDataFocusScales = 0x40,
};
enum PenDataFlags : quint32 {
    PenDataTransform = 0x0001,
    PenDataStartCap = 0x0002,
    PenDataEndCap = 0x0004,
    PenDataJoin = 0x0008,
    PenDataMiterLimit = 0x0010,
    PenDataLineStyle = 0x0020,
    PenDataDashedLineCap = 0x0040,
    PenDataDashedLineOffset = 0x0080,
    PenDataDashedLine = 0x0100,
    PenDataNonCenter = 0x0200,
    PenDataCompoundLine = 0x0400,
    PenDataCustomStartCap = 0x0800,
    PenDataCustomEndCap = 0x1000,
};

enum LineCap : quint32 { LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2 };
constexpr quint32 CustomLineCapAdjustableArrow = 1;
enum CustomLineCapDataFlags : quint32 {
    CustomLineCapDataFillPath = 0x1,
    CustomLineCapDataLinePath = 0x2,
};
enum LineJoin : quint32 { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2 };
enum LineStyle : quint32 {
    LineStyleSolid = 0,
    LineStyleDash = 1,
    LineStyleDot = 2,
    LineStyleDashDot = 3,
    LineStyleDashDotDot = 4,
    LineStyleCustom = 5,
};

// Path point flags and point types.
constexpr quint32 PathCompressed = 0x4000;
constexpr quint32 PathRunLengthTypes = 0x1000;
constexpr quint32 PathRelative = 0x0800;
enum PathPointType : quint8 {
    PathPointTypeStart = 0,
    PathPointTypeLine = 1,
    PathPointTypeBezier = 3,
    PathPointTypeMask = 0x0F,
    PathPointTypeCloseSubpath = 0x80,
};

enum RegionNodeType : quint32 {
    RegionNodeAnd = 1,
    RegionNodeOr = 2,
    RegionNodeXor = 3,
    RegionNodeExclude = 4,
    RegionNodeComplement = 5,
    RegionNodeRect = 0x10000000,
    RegionNodePath = 0x10000001,
    RegionNodeEmpty = 0x10000002,
    RegionNodeInfinite = 0x10000003,
};

// How a clip combines with the one before.
enum CombineMode : quint32 {
    CombineReplace = 0,
    CombineIntersect = 1,
    CombineUnion = 2,
    CombineXor = 3,
    CombineExclude = 4,
    CombineComplement = 5,
};

enum ImageType : quint32 { ImageBitmap = 1, ImageMetafile = 2 };
enum BitmapDataType : quint32 { BitmapPixels = 0, BitmapCompressed = 1 };
enum PixelFormat : quint32 {
    PixelFormat1bppIndexed = 0x00030101,
    PixelFormat4bppIndexed = 0x00030402,
    PixelFormat8bppIndexed = 0x00030803,
    PixelFormat16bppRGB555 = 0x00021005,
    PixelFormat16bppRGB565 = 0x00021006,
    PixelFormat24bppRGB = 0x00021808,
    PixelFormat32bppRGB = 0x00022009,
    PixelFormat32bppARGB = 0x0026200A,
    PixelFormat32bppPARGB = 0x000E200B,
};

enum FontStyle : quint32 {
    FontStyleBold = 0x1,
    FontStyleItalic = 0x2,
    FontStyleUnderline = 0x4,
    FontStyleStrikeout = 0x8,
};

enum StringAlignment : quint32 { StringAlignmentNear = 0, StringAlignmentCenter = 1 };
constexpr quint32 StringFormatDirectionVertical = 0x0002;
constexpr quint32 StringFormatNoWrap = 0x1000;
constexpr quint32 StringFormatNoClip = 0x4000;

// DrawDriverString options.
constexpr quint32 DriverStringCmapLookup = 0x1;
constexpr quint32 DriverStringRealizedAdvance = 0x4;

} // namespace glintbox::emfplus
