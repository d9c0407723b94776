// What the table control words do: paragraphs in cells, cell and row ends, and the row
// definitions with their cells' edges, lines, fills and merges.
#include "RtfParser.h"

namespace glintbox::rtf {

std::optional<QColor> RtfParser::colourAt(int index) const
{
    if (index < 0 || index >= int(m_colours.size()))
        return std::nullopt;
    return m_colours[size_t(index)];
}

void RtfParser::selectBorder(RtfBorder *border)
{
    m_border = border;
    if (border) {
        *border = RtfBorder{};
        border->given = true;
    }
}

void RtfParser::handleTableWord(Keyword keyword, const RtfToken &token)
{
    GroupState &current = state();
    ParaState &paragraph = current.paragraph;
    const int value = std::clamp(token.parameter, -MaxTwips, MaxTwips);
    const bool inBody = current.destination == Destination::Normal && m_noteDepth < 0;
    // A nested row states its definition after its cells, inside \nesttableprops.
    RtfRowDefinition &row = current.destination == Destination::NestedTableProperties
                                ? m_nestedRowDefinition
                                : m_rowDefinition;
    switch (keyword) {
    case Keyword::InTable:
        paragraph.tableDepth = std::max(paragraph.tableDepth, 1);
        break;
    case Keyword::NestingLevel:
        paragraph.tableDepth = std::clamp(value, 0, MaxTableDepth);
        break;
    case Keyword::Cell:
        if (inBody) {
            endParagraph(1);
            m_builder.endCell(1);
        }
        break;
    case Keyword::NestedCell:
        if (inBody) {
            const int depth = std::max(paragraph.tableDepth, 2);
            endParagraph(depth);
            m_builder.endCell(depth);
        }
        break;
    case Keyword::Row:
    case Keyword::NestedRow:
        if (m_noteDepth < 0) {
            const bool nested = keyword == Keyword::NestedRow;
            const int depth = nested ? std::max(paragraph.tableDepth, 2) : 1;
            if (!m_paragraph.runs.empty())
                endParagraph(depth);
            m_builder.endRow(nested ? m_nestedRowDefinition : m_rowDefinition, depth);
        }
        break;
    case Keyword::RowDefaults:
        row = {};
        m_cellDefinition = {};
        m_cellBackground = m_cellPattern = -1;
        m_cellShading = 0;
        m_border = nullptr;
        break;
    case Keyword::RowLeft:
        row.left = value;
        break;
    case Keyword::RowHeight:
        row.height = value;
        break;
    case Keyword::RowLeftAligned:
        row.alignment = Qt::AlignLeft;
        break;
    case Keyword::RowCentred:
        row.alignment = Qt::AlignHCenter;
        break;
    case Keyword::RowRightAligned:
        row.alignment = Qt::AlignRight;
        break;
    case Keyword::RowGap:
        row.gap = std::clamp(value, 0, 1440);
        break;
    case Keyword::CellEdge: {
        // The fill is the pattern colour laid over the background at the shading's strength.
        if (m_cellBackground >= 0 || m_cellShading > 0) {
            const QColor background = colourAt(m_cellBackground).value_or(QColor(Qt::white));
            const QColor pattern = colourAt(m_cellPattern).value_or(QColor(Qt::black));
            const double share = std::clamp(m_cellShading, 0, 10000) / 10000.0;
            m_cellDefinition.shading = QColor::fromRgbF(
                float(background.redF() * (1 - share) + pattern.redF() * share),
                float(background.greenF() * (1 - share) + pattern.greenF() * share),
                float(background.blueF() * (1 - share) + pattern.blueF() * share));
        }
        m_cellDefinition.rightEdge = value;
        if (row.cells.size() < MaxCellEdges)
            row.cells.push_back(m_cellDefinition);
        m_cellDefinition = {};
        m_cellBackground = m_cellPattern = -1;
        m_cellShading = 0;
        m_border = nullptr;
        break;
    }
    case Keyword::CellBorderTop:
    case Keyword::CellBorderLeft:
    case Keyword::CellBorderBottom:
    case Keyword::CellBorderRight:
        selectBorder(&m_cellDefinition.borders[int(keyword) - int(Keyword::CellBorderTop)]);
        break;
    case Keyword::RowBorderTop:
    case Keyword::RowBorderLeft:
    case Keyword::RowBorderBottom:
    case Keyword::RowBorderRight:
    case Keyword::RowBorderHorizontal:
    case Keyword::RowBorderVertical:
        selectBorder(&row.borders[int(keyword) - int(Keyword::RowBorderTop)]);
        break;
    case Keyword::ParagraphBorder:
        m_border = nullptr; // paragraph borders are not drawn
        break;
    case Keyword::BorderNone:
        if (m_border)
            m_border->width = 0;
        break;
    case Keyword::BorderSolid:
    case Keyword::BorderDouble:
    case Keyword::BorderDotted:
    case Keyword::BorderDashed:
        if (m_border) {
            m_border->style =
                keyword == Keyword::BorderDouble   ? QTextFrameFormat::BorderStyle_Double
                : keyword == Keyword::BorderDotted ? QTextFrameFormat::BorderStyle_Dotted
                : keyword == Keyword::BorderDashed ? QTextFrameFormat::BorderStyle_Dashed
                                                   : QTextFrameFormat::BorderStyle_Solid;
            m_border->width = std::max(m_border->width, 1.0);
        }
        break;
    case Keyword::BorderWidth:
        if (m_border && value > 0)
            m_border->width = std::clamp(value / TwipsPerPixel, 1.0, 20.0);
        break;
    case Keyword::BorderColour:
        if (m_border)
            m_border->colour = colourAt(value).value_or(QColor(Qt::black));
        break;
    case Keyword::CellBackground:
        m_cellBackground = value;
        break;
    case Keyword::CellPattern:
        m_cellPattern = value;
        break;
    case Keyword::CellShading:
        m_cellShading = value;
        break;
    case Keyword::CellMergeFirst:
        m_cellDefinition.horizontal = RtfCellDefinition::Merge::First;
        break;
    case Keyword::CellMerge:
        m_cellDefinition.horizontal = RtfCellDefinition::Merge::Continue;
        break;
    case Keyword::CellVerticalMergeFirst:
        m_cellDefinition.vertical = RtfCellDefinition::Merge::First;
        break;
    case Keyword::CellVerticalMerge:
        m_cellDefinition.vertical = RtfCellDefinition::Merge::Continue;
        break;
    case Keyword::CellAlignTop:
        m_cellDefinition.alignment = QTextCharFormat::AlignTop;
        break;
    case Keyword::CellAlignCentre:
        m_cellDefinition.alignment = QTextCharFormat::AlignMiddle;
        break;
    case Keyword::CellAlignBottom:
        m_cellDefinition.alignment = QTextCharFormat::AlignBottom;
        break;
    default:
        break;
    }
}

} // namespace glintbox::rtf
