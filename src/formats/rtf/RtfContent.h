#pragma once

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextFrameFormat>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace glintbox::rtf {

// Document units are pixels at 96 DPI; RTF measures in twips.
constexpr double TwipsPerPixel = 15.0;

// A stretch of text in one format, or one inline picture.
struct RtfRun {
    QString text;
    QTextCharFormat format; // a QTextImageFormat for a picture
    bool isImage = false;
};

// One paragraph as the reader assembled it.
struct RtfParagraph {
    QTextBlockFormat format;
    std::vector<RtfRun> runs;
};

// Inserts a paragraph at the cursor: into the cursor's block when it is still unused (fresh),
// otherwise as a new block.
void writeParagraph(const RtfParagraph &paragraph, QTextCursor &cursor, bool fresh);

// One edge line of a cell or row; width 0 draws nothing.
struct RtfBorder {
    bool given = false; // the row or cell named this side
    double width = 0;   // pixels
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_Solid;
    QColor colour = Qt::black;
};

enum RtfSide { SideTop, SideLeft, SideBottom, SideRight, SideHorizontal, SideVertical };

// The table cell format properties of the four cell sides, in RtfSide order, and the control
// word that names each side.
struct RtfCellSide {
    int width;
    int style;
    int brush;
    const char *word;
};
constexpr RtfCellSide CellSides[] = {
    {QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
     QTextFormat::TableCellTopBorderBrush, "\\clbrdrt"},
    {QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
     QTextFormat::TableCellLeftBorderBrush, "\\clbrdrl"},
    {QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
     QTextFormat::TableCellBottomBorderBrush, "\\clbrdrb"},
    {QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
     QTextFormat::TableCellRightBorderBrush, "\\clbrdrr"},
};

struct RtfCellDefinition {
    enum class Merge : quint8 { None, First, Continue };
    int rightEdge = 0; // twips
    std::array<RtfBorder, 4> borders;
    std::optional<QColor> shading;
    Merge horizontal = Merge::None;
    Merge vertical = Merge::None;
    QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignTop;
};

// What \trowd to \row say about a row: its cells' edges, lines and fills.
struct RtfRowDefinition {
    int left = 0;                            // twips
    int height = 0;                          // twips; > 0 at least, < 0 exactly
    int gap = 108;                           // half the space between cells, twips
    Qt::Alignment alignment = Qt::AlignLeft; // of the row between the margins
    std::array<RtfBorder, 6> borders;        // outer sides, then the lines between rows and cells
    std::vector<RtfCellDefinition> cells;
};

struct RtfTable;

// A cell holds paragraphs and tables nested in it.
struct RtfCellItem {
    RtfParagraph paragraph;
    std::unique_ptr<RtfTable> table;
};
using RtfCell = std::vector<RtfCellItem>;

struct RtfRow {
    std::vector<RtfCell> cells;
    RtfRowDefinition definition;
};

struct RtfTable {
    std::vector<RtfRow> rows;
    qsizetype cellCount = 0; // of this table and those nested in it
};

} // namespace glintbox::rtf
