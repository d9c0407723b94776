// What each control word does to the parser's state.
#include "RtfParser.h"

namespace glintbox::rtf {

void RtfParser::handleHeaderWord(Keyword keyword, const RtfToken &token)
{
    const int value = token.parameter;
    GroupState &current = state();
    switch (keyword) {
    case Keyword::Ansi:
        m_documentCodePage = CodePageWindows1252;
        break;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        break;
    case Keyword::Pc:
        m_documentCodePage = 437;
        break;
    case Keyword::Pca:
        m_documentCodePage = 850;
        break;
    case Keyword::AnsiCodePage:
        if (value > 0)
            m_documentCodePage = value;
        break;
    case Keyword::DefaultFont:
        m_defaultFont = value;
        forgetCharFormats();
        break;
    case Keyword::UnicodeSkip:
        current.unicodeSkip = qBound(0, value, 16);
        break;
    case Keyword::Unicode:
        if (token.hasParameter) {
            const char16_t code = char16_t(value < 0 ? value + 65536 : value);
            const Font *font = currentFont();
            if (font && font->symbol != fonts::SymbolFont::None)
                flushText(), deliverText(fonts::symbolFontText(font->symbol, code));
            else
                deliverChar(code);
            m_unicodeSkipLeft = current.unicodeSkip;
        }
        break;
    case Keyword::Font:
        if (current.destination == Destination::FontTable) {
            commitFont();
            m_fontEntry = value;
        } else {
            current.character.font = value;
        }
        break;
    case Keyword::Charset:
        if (current.destination == Destination::FontTable)
            m_fontEntryCodePage = codePageForCharset(value);
        break;
    case Keyword::FontCodePage:
        if (current.destination == Destination::FontTable && value > 0)
            m_fontEntryCodePage = value;
        break;
    case Keyword::Red:
    case Keyword::Green:
    case Keyword::Blue:
        if (current.destination == Destination::ColourTable)
            m_colourParts[int(keyword) - int(Keyword::Red)] = value;
        break;
    case Keyword::Style:
    case Keyword::CharStyle: {
        const bool character = keyword == Keyword::CharStyle;
        if (current.destination == Destination::StyleSheet) {
            m_styleEntry = value;
            m_styleEntryIsCharacter = character;
            break;
        }
        const auto &styles = character ? m_characterStyles : m_paragraphStyles;
        const auto found = styles.constFind(value);
        if (found == styles.constEnd())
            break;
        current.character = found->character;
        if (!character) {
            const int tableDepth = current.paragraph.tableDepth;
            current.paragraph = found->paragraph;
            current.paragraph.tableDepth = tableDepth;
            current.paragraph.fromStyle = true;
        }
        break;
    }
    default:
        break;
    }
}

void RtfParser::handleCharacterWord(Keyword keyword, const RtfToken &token)
{
    CharState &character = state().character;
    const bool on = !token.hasParameter || token.parameter != 0;
    const int value = token.parameter;
    switch (keyword) {
    case Keyword::Plain: {
        const int link = character.link;
        character = CharState{};
        character.link = link;
        break;
    }
    case Keyword::Bold:
        character.bold = on;
        break;
    case Keyword::Italic:
        character.italic = on;
        break;
    case Keyword::Strike:
        character.strike = on;
        break;
    case Keyword::Hidden:
        character.hidden = on;
        break;
    case Keyword::Capitals:
        character.capitals = on ? QFont::AllUppercase : QFont::MixedCase;
        break;
    case Keyword::SmallCapitals:
        character.capitals = on ? QFont::SmallCaps : QFont::MixedCase;
        break;
    case Keyword::Underline:
        character.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineDotted:
        character.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineDashed:
        character.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineDashDot:
        character.underline = on ? QTextCharFormat::DashDotLine : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineDashDotDot:
        character.underline = on ? QTextCharFormat::DashDotDotLine : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineWave:
        character.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case Keyword::UnderlineNone:
        character.underline = QTextCharFormat::NoUnderline;
        break;
    case Keyword::FontSize:
        if (token.hasParameter && value > 0)
            character.halfPoints = qMin(value, 3276);
        break;
    case Keyword::Foreground:
        character.foreground = value;
        break;
    case Keyword::Background:
        character.background = value;
        break;
    case Keyword::Superscript:
        character.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Subscript:
        character.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::NoSuperSub:
        character.vertical = QTextCharFormat::AlignNormal;
        break;
    case Keyword::Up:
        character.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Down:
        character.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    default:
        break;
    }
}

void RtfParser::handleParagraphWord(Keyword keyword, const RtfToken &token)
{
    GroupState &current = state();
    ParaState &paragraph = current.paragraph;
    const int value = std::clamp(token.parameter, -MaxTwips, MaxTwips);
    const bool normal = current.destination == Destination::Normal;
    const bool inNote = m_noteDepth >= 0;
    switch (keyword) {
    case Keyword::AlignLeft:
    case Keyword::AlignCentre:
    case Keyword::AlignRight:
    case Keyword::AlignJustify:
    case Keyword::LeftIndent:
    case Keyword::RightIndent:
    case Keyword::FirstIndent:
    case Keyword::SpaceBefore:
    case Keyword::SpaceAfter:
    case Keyword::LineSpacing:
    case Keyword::TabPosition:
    case Keyword::TabRight:
    case Keyword::TabCentre:
    case Keyword::TabDecimal:
        if (paragraph.fromStyle) {
            const int tableDepth = paragraph.tableDepth;
            paragraph = ParaState{};
            paragraph.tableDepth = tableDepth;
        }
        break;
    default:
        break;
    }
    switch (keyword) {
    case Keyword::Par:
    case Keyword::Sect:
        if (normal)
            endParagraph(paragraph.tableDepth);
        break;
    case Keyword::Page:
        if (normal) {
            endParagraph(paragraph.tableDepth);
            m_pageBreakPending = true;
        }
        break;
    case Keyword::Pard:
        paragraph = ParaState{};
        break;
    case Keyword::Line:
        deliverChar(QChar::LineSeparator);
        break;
    case Keyword::Tab:
        deliverChar(u'\t');
        break;
    case Keyword::AlignLeft:
        paragraph.alignment = Qt::AlignLeft;
        break;
    case Keyword::AlignCentre:
        paragraph.alignment = Qt::AlignHCenter;
        break;
    case Keyword::AlignRight:
        paragraph.alignment = Qt::AlignRight;
        break;
    case Keyword::AlignJustify:
        paragraph.alignment = Qt::AlignJustify;
        break;
    case Keyword::LeftIndent:
        paragraph.leftIndent = value;
        break;
    case Keyword::RightIndent:
        paragraph.rightIndent = value;
        break;
    case Keyword::FirstIndent:
        paragraph.firstIndent = value;
        break;
    case Keyword::SpaceBefore:
        paragraph.spaceBefore = value;
        break;
    case Keyword::SpaceAfter:
        paragraph.spaceAfter = value;
        break;
    case Keyword::LineSpacing:
        paragraph.lineSpacing = value;
        break;
    case Keyword::LineMultiple:
        paragraph.lineMultiple = value != 0;
        break;
    case Keyword::TabRight:
        paragraph.nextTabType = QTextOption::RightTab;
        break;
    case Keyword::TabCentre:
        paragraph.nextTabType = QTextOption::CenterTab;
        break;
    case Keyword::TabDecimal:
        paragraph.nextTabType = QTextOption::DelimiterTab;
        break;
    case Keyword::TabPosition:
        if (paragraph.tabs.size() < MaxTabStops) {
            const QChar delimiter =
                paragraph.nextTabType == QTextOption::DelimiterTab ? QChar(u'.') : QChar();
            paragraph.tabs << QTextOption::Tab(value, paragraph.nextTabType, delimiter);
        }
        paragraph.nextTabType = QTextOption::LeftTab;
        break;
    case Keyword::DefaultTab:
        if (value > 0)
            m_builder.setDefaultTabStop(value / TwipsPerPixel);
        break;
    case Keyword::FootnoteMark:
        deliverText(QString::number(inNote ? m_noteCount : m_noteCount + 1));
        break;
    case Keyword::EmDash:
        deliverChar(0x2014);
        break;
    case Keyword::EnDash:
        deliverChar(0x2013);
        break;
    case Keyword::Bullet:
        deliverChar(0x2022);
        break;
    case Keyword::LeftQuote:
        deliverChar(0x2018);
        break;
    case Keyword::RightQuote:
        deliverChar(0x2019);
        break;
    case Keyword::LeftDoubleQuote:
        deliverChar(0x201C);
        break;
    case Keyword::RightDoubleQuote:
        deliverChar(0x201D);
        break;
    case Keyword::EmSpace:
        deliverChar(0x2003);
        break;
    case Keyword::EnSpace:
        deliverChar(0x2002);
        break;
    case Keyword::QuarterEmSpace:
        deliverChar(0x2005);
        break;
    case Keyword::ZeroWidthJoiner:
        deliverChar(0x200D);
        break;
    case Keyword::ZeroWidthNonJoiner:
        deliverChar(0x200C);
        break;
    case Keyword::LeftToRightMark:
        deliverChar(0x200E);
        break;
    case Keyword::RightToLeftMark:
        deliverChar(0x200F);
        break;
    default:
        break;
    }
}

void RtfParser::handlePictureWord(Keyword keyword, const RtfToken &token)
{
    const int value = token.parameter;
    switch (keyword) {
    case Keyword::PngBlip:
        m_picture.kind = RtfPicture::Kind::Png;
        break;
    case Keyword::JpegBlip:
        m_picture.kind = RtfPicture::Kind::Jpeg;
        break;
    case Keyword::WindowsMetafile:
        m_picture.kind = RtfPicture::Kind::Wmf;
        break;
    case Keyword::EmfBlip:
        m_picture.kind = RtfPicture::Kind::Emf;
        break;
    case Keyword::OtherPictureKind:
        m_picture.kind = RtfPicture::Kind::Unknown;
        break;
    case Keyword::PictureWidth:
        m_picture.width = value;
        break;
    case Keyword::PictureHeight:
        m_picture.height = value;
        break;
    case Keyword::PictureGoalWidth:
        m_picture.goalWidth = value;
        break;
    case Keyword::PictureGoalHeight:
        m_picture.goalHeight = value;
        break;
    case Keyword::PictureScaleX:
        m_picture.scaleX = value;
        break;
    case Keyword::PictureScaleY:
        m_picture.scaleY = value;
        break;
    default:
        break;
    }
}

void RtfParser::handleSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        m_starPending = true;
        return;
    case '\\':
    case '{':
    case '}':
        handleBytes(QByteArrayView(&symbol, 1));
        return;
    default:
        break;
    }
    flushText();
    if (state().destination == Destination::Skip)
        return;
    switch (symbol) {
    case '~':
        deliverChar(0x00A0);
        break;
    case '-':
        deliverChar(0x00AD);
        break;
    case '_':
        deliverChar(0x2011);
        break;
    case '\n':
        if (state().destination == Destination::Normal)
            endParagraph(state().paragraph.tableDepth);
        break;
    case '\t':
        deliverChar(u'\t');
        break;
    default:
        break;
    }
}

} // namespace glintbox::rtf
