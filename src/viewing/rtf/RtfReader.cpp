#include "RtfReader.h"

#include "RtfCodePage.h"
#include "RtfDocumentBuilder.h"
#include "RtfFieldInstruction.h"
#include "RtfKeywords.h"
#include "RtfPicture.h"
#include "RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QLoggingCategory>

#include <optional>

Q_LOGGING_CATEGORY(lcRtf, "glintbox.viewing.rtf", QtWarningMsg)

namespace glintbox {

namespace rtf {
namespace {

// Deeper groups share the state of the deepest one, so nesting costs neither stack nor memory.
constexpr int MaxGroupDepth = 1000;
constexpr int MaxWarnings = 50;
constexpr int MaxCellEdges = 1000;
// Pictures may decode to this many bytes of pixels: generous for real documents, bounded by
// the input for hostile ones.
constexpr qint64 PixelBytesPerInputByte = 64;
constexpr qint64 PixelBytesFloor = 16 * 1024 * 1024;

enum class Destination {
    Normal,
    Skip,
    FontTable,
    ColourTable,
    StyleSheet,
    FieldInstruction,
    Picture,
    NestedTableProperties, // only its \\nestrow matters: nested tables degrade to text
};

struct CharState {
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int foreground = -1; // colour table index; -1 automatic
    int background = -1;
    int link = -1; // index into the reader's link targets

    bool operator==(const CharState &) const = default;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // 0 single; > 0 at least, < 0 exactly, or 240ths of a line if multiple
    bool lineMultiple = false;
    bool inTable = false;
};

struct GroupState {
    Destination destination = Destination::Normal;
    CharState character;
    ParaState paragraph;
    int unicodeSkip = 1;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
};

struct Style {
    CharState character;
    ParaState paragraph;
};

struct Field {
    qsizetype depth = 0;
    QString instruction;
};

// The state machine from tokens to document: one instance reads one input.
class RtfParser {
public:
    RtfParser(const QByteArray &bytes, const RtfReadOptions &options, QTextDocument *document)
        : m_input(bytes)
        , m_tokenizer(bytes)
        , m_builder(document)
        , m_pictures(options, PixelBytesFloor + PixelBytesPerInputByte * bytes.size()) {
        m_stack.reserve(64);
        m_stack.emplace_back();
    }

    QStringList run();

private:
    GroupState &state() { return m_stack.back(); }
    void warn(const QString &message);

    void pushGroup();
    void popGroup();
    void handleWord(const RtfToken &token, bool starred);
    bool handleDestination(Keyword keyword, bool starred);
    void handleCharacterWord(Keyword keyword, const RtfToken &token);
    void handleParagraphWord(Keyword keyword, const RtfToken &token);
    void handleHeaderWord(Keyword keyword, const RtfToken &token);
    void handlePictureWord(Keyword keyword, const RtfToken &token);
    void handleSymbol(char symbol);
    void handleBytes(QByteArrayView bytes);
    void handleBinary(int length);

    int codePage() const;
    void flushText();
    void deliverText(const QString &text);
    void deliverChar(char16_t c) { flushText(), deliverText(QString(QChar(c))); }
    QTextCharFormat charFormat(const CharState &character);
    QTextBlockFormat blockFormat(const ParaState &paragraph);
    void endParagraph(bool inTable);
    void commitFont();
    QString fontNameBytesDecoded();
    void commitColour();
    void commitStyle();
    void finishPicture();

    QByteArrayView m_input;
    RtfTokenizer m_tokenizer;
    CodePageDecoder m_decoder;
    RtfDocumentBuilder m_builder;
    RtfPictureDecoder m_pictures;
    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0;
    QStringList m_warnings;

    int m_documentCodePage = CodePageWindows1252;
    int m_defaultFont = -1;
    QHash<int, Font> m_fonts;
    int m_fontEntry = -1;
    int m_fontEntryCodePage = 0;
    QByteArray m_fontName; // bytes of the entry's name not yet decoded
    QString m_fontNameText;
    std::vector<std::optional<QColor>> m_colours;
    int m_colourParts[3] = {-1, -1, -1};
    QHash<int, Style> m_paragraphStyles;
    QHash<int, Style> m_characterStyles;
    int m_styleEntry = -1;
    bool m_styleEntryIsCharacter = false;
    QStringList m_links;
    std::vector<Field> m_fields;
    RtfPicture m_picture;
    qsizetype m_pictureDepth = -1;
    std::vector<int> m_cellEdges;
    int m_rowLeft = 0;

    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    int m_unicodeSkipLeft = 0;
    bool m_starPending = false; // the last token was \*
    bool m_pageBreakPending = false;
    RtfParagraph m_paragraph;
    CharState m_runState;
    bool m_runOpen = false; // the last run of m_paragraph is text in m_runState
    std::optional<CharState> m_cachedState;
    QTextCharFormat m_cachedFormat;
};

void RtfParser::warn(const QString &message) {
    if (m_warnings.size() < MaxWarnings && !m_warnings.contains(message)) {
        qCDebug(lcRtf) << message;
        m_warnings << message;
    }
}

QStringList RtfParser::run() {
    if (!m_input.trimmed().startsWith("{\\rtf"))
        warn(QStringLiteral("The file does not begin like an RTF file."));
    for (;;) {
        RtfToken token = m_tokenizer.next();
        const bool starred = std::exchange(m_starPending, false);
        switch (token.kind) {
        case RtfToken::Kind::End:
            flushText();
            if (m_stack.size() > 1 || m_overflowDepth > 0)
                warn(QStringLiteral("The file ends inside a group (a closing brace is missing)."));
            if (!m_paragraph.runs.empty())
                endParagraph(m_stack.back().paragraph.inTable);
            m_builder.finish();
            m_warnings << m_builder.warnings();
            return m_warnings;
        case RtfToken::Kind::GroupStart:
            flushText();
            m_unicodeSkipLeft = 0;
            pushGroup();
            break;
        case RtfToken::Kind::GroupEnd:
            flushText();
            m_unicodeSkipLeft = 0;
            popGroup();
            break;
        case RtfToken::Kind::ControlWord:
            if (m_unicodeSkipLeft > 0) {
                --m_unicodeSkipLeft;
                if (token.word == "bin" && token.hasParameter)
                    handleBinary(token.parameter);
                break;
            }
            handleWord(token, starred);
            break;
        case RtfToken::Kind::ControlSymbol:
            if (m_unicodeSkipLeft > 0) {
                --m_unicodeSkipLeft;
                break;
            }
            handleSymbol(token.symbol);
            break;
        case RtfToken::Kind::HexByte:
            if (m_unicodeSkipLeft > 0) {
                --m_unicodeSkipLeft;
                break;
            }
            if (state().destination != Destination::Picture)
                handleBytes(QByteArrayView(reinterpret_cast<const char *>(&token.byte), 1));
            break;
        case RtfToken::Kind::Text: {
            QByteArrayView text = token.word;
            if (m_unicodeSkipLeft > 0) {
                const qsizetype skipped = qMin<qsizetype>(m_unicodeSkipLeft, text.size());
                m_unicodeSkipLeft -= int(skipped);
                text = text.sliced(skipped);
            }
            if (!text.isEmpty())
                handleBytes(text);
            break;
        }
        }
    }
}

void RtfParser::pushGroup() {
    if (m_stack.size() > MaxGroupDepth) {
        if (m_overflowDepth++ == 0)
            warn(QStringLiteral("Groups nested deeper than %1 levels were flattened.")
                     .arg(MaxGroupDepth));
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfParser::popGroup() {
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1) {
        warn(QStringLiteral("The file has a closing brace without an opening one."));
        return;
    }
    const Destination closing = state().destination;
    const qsizetype depth = qsizetype(m_stack.size());
    // Closing the outermost group keeps its state: the last paragraph takes the properties in
    // force where the document ends, and text after a premature close reads on as before.
    if (depth == 2)
        m_stack.front() = m_stack.back();
    if (closing == Destination::FontTable)
        commitFont();
    else if (closing == Destination::StyleSheet)
        commitStyle();
    if (!m_fields.empty() && m_fields.back().depth == depth)
        m_fields.pop_back();
    m_stack.pop_back();
    if (depth == m_pictureDepth) {
        m_pictureDepth = -1;
        finishPicture();
    }
}

int RtfParser::codePage() const {
    const int font =
        m_stack.back().character.font >= 0 ? m_stack.back().character.font : m_defaultFont;
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && found->codePage != 0)
        return found->codePage;
    return m_documentCodePage;
}

void RtfParser::handleBytes(QByteArrayView bytes) {
    switch (state().destination) {
    case Destination::Normal:
    case Destination::FieldInstruction: {
        const int page = codePage();
        if (!m_pendingBytes.isEmpty() && page != m_pendingCodePage)
            flushText();
        m_pendingCodePage = page;
        m_pendingBytes.append(bytes);
        break;
    }
    case Destination::FontTable:
        for (const char c : bytes) {
            if (c == ';')
                commitFont();
            else if (m_fontEntry >= 0)
                m_fontName.append(c);
        }
        break;
    case Destination::ColourTable:
        for (const char c : bytes) {
            if (c == ';')
                commitColour();
        }
        break;
    case Destination::StyleSheet:
        if (bytes.contains(';'))
            commitStyle();
        break;
    case Destination::Picture:
        m_picture.appendHex(bytes);
        break;
    case Destination::NestedTableProperties:
    case Destination::Skip:
        break;
    }
}

void RtfParser::flushText() {
    if (m_pendingBytes.isEmpty())
        return;
    bool unknown = false;
    const QString text = m_decoder.decode(m_pendingBytes, m_pendingCodePage, &unknown);
    if (unknown)
        warn(QStringLiteral("Code page %1 is not known; its text is shown as Windows-1252.")
                 .arg(m_pendingCodePage));
    m_pendingBytes.clear();
    deliverText(text);
}

void RtfParser::deliverText(const QString &text) {
    const GroupState &current = state();
    if (current.destination == Destination::FontTable) {
        m_fontNameText += fontNameBytesDecoded() + text;
        return;
    }
    if (current.destination == Destination::FieldInstruction) {
        if (!m_fields.empty())
            m_fields.back().instruction += text;
        return;
    }
    if (current.destination != Destination::Normal || current.character.hidden)
        return;
    if (m_runOpen && m_runState == current.character) {
        m_paragraph.runs.back().text += text;
        return;
    }
    m_paragraph.runs.push_back({text, charFormat(current.character), false});
    m_runState = current.character;
    m_runOpen = true;
}

QTextCharFormat RtfParser::charFormat(const CharState &character) {
    if (m_cachedState && *m_cachedState == character)
        return m_cachedFormat;
    QTextCharFormat format;
    const int font = character.font >= 0 ? character.font : m_defaultFont;
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && !found->name.isEmpty())
        format.setFontFamilies({found->name});
    format.setFontPointSize(character.halfPoints / 2.0);
    if (character.bold)
        format.setFontWeight(QFont::Bold);
    if (character.italic)
        format.setFontItalic(true);
    if (character.strike)
        format.setFontStrikeOut(true);
    if (character.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(character.underline);
    if (character.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(character.vertical);
    auto colour = [this](int index) -> std::optional<QColor> {
        if (index < 0 || index >= int(m_colours.size()))
            return std::nullopt;
        return m_colours[size_t(index)];
    };
    if (const auto fg = colour(character.foreground))
        format.setForeground(*fg);
    if (const auto bg = colour(character.background))
        format.setBackground(*bg);
    if (character.link >= 0) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(character.link));
    }
    m_cachedState = character;
    m_cachedFormat = format;
    return format;
}

QTextBlockFormat RtfParser::blockFormat(const ParaState &paragraph) {
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    if (paragraph.leftIndent)
        format.setLeftMargin(paragraph.leftIndent / TwipsPerPixel);
    if (paragraph.rightIndent)
        format.setRightMargin(paragraph.rightIndent / TwipsPerPixel);
    if (paragraph.firstIndent)
        format.setTextIndent(paragraph.firstIndent / TwipsPerPixel);
    if (paragraph.spaceBefore)
        format.setTopMargin(paragraph.spaceBefore / TwipsPerPixel);
    if (paragraph.spaceAfter)
        format.setBottomMargin(paragraph.spaceAfter / TwipsPerPixel);
    if (paragraph.lineMultiple && paragraph.lineSpacing > 0 && paragraph.lineSpacing != 240)
        format.setLineHeight(paragraph.lineSpacing * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
    else if (!paragraph.lineMultiple && paragraph.lineSpacing > 0)
        format.setLineHeight(paragraph.lineSpacing / TwipsPerPixel,
                             QTextBlockFormat::MinimumHeight);
    else if (!paragraph.lineMultiple && paragraph.lineSpacing < 0)
        format.setLineHeight(-qint64(paragraph.lineSpacing) / TwipsPerPixel,
                             QTextBlockFormat::FixedHeight);
    if (std::exchange(m_pageBreakPending, false))
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

void RtfParser::endParagraph(bool inTable) {
    flushText();
    m_paragraph.format = blockFormat(state().paragraph);
    m_builder.addParagraph(std::move(m_paragraph), inTable);
    m_paragraph = {};
    m_runOpen = false;
}

void RtfParser::commitFont() {
    if (m_fontEntry < 0)
        return;
    Font font;
    font.codePage = m_fontEntryCodePage;
    font.name = (m_fontNameText + fontNameBytesDecoded()).trimmed();
    m_fontNameText.clear();
    if (font.codePage == CodePageSymbol && font.name.contains(QLatin1String("Wingdings")))
        font.codePage = CodePageWingdings;
    m_fonts.insert(m_fontEntry, font);
    m_fontEntry = -1;
    m_fontEntryCodePage = 0;
    m_fontName.clear();
}

QString RtfParser::fontNameBytesDecoded() {
    // Symbol fonts have ordinary names.
    const int page = m_fontEntryCodePage > 0 ? m_fontEntryCodePage : m_documentCodePage;
    const QString name = m_decoder.decode(m_fontName, page);
    m_fontName.clear();
    return name;
}

void RtfParser::commitColour() {
    if (m_colourParts[0] < 0 && m_colourParts[1] < 0 && m_colourParts[2] < 0)
        m_colours.emplace_back(std::nullopt);
    else
        m_colours.emplace_back(QColor(qBound(0, m_colourParts[0], 255),
                                      qBound(0, m_colourParts[1], 255),
                                      qBound(0, m_colourParts[2], 255)));
    m_colourParts[0] = m_colourParts[1] = m_colourParts[2] = -1;
}

void RtfParser::commitStyle() {
    if (m_styleEntry < 0)
        return;
    const Style style{state().character, state().paragraph};
    (m_styleEntryIsCharacter ? m_characterStyles : m_paragraphStyles).insert(m_styleEntry, style);
    m_styleEntry = -1;
}

void RtfParser::handleBinary(int length) {
    QByteArrayView data;
    if (!m_tokenizer.takeBinary(length, &data)) {
        warn(QStringLiteral("Binary data longer than the file was refused."));
        return;
    }
    if (state().destination == Destination::Picture)
        m_picture.data.append(data);
}

void RtfParser::finishPicture() {
    const GroupState &current = state();
    if (current.destination != Destination::Normal || current.character.hidden)
        return;
    QString warning;
    const QImage image = m_pictures.decode(m_picture, &warning);
    if (!warning.isEmpty())
        warn(warning);
    const QSizeF size = RtfPictureDecoder::displaySize(m_picture, image);
    QTextImageFormat format;
    format.setName(image.isNull() ? m_builder.placeholderImage() : m_builder.addImage(image));
    format.setWidth(size.width());
    format.setHeight(size.height());
    flushText();
    m_paragraph.runs.push_back({QString(), format, true});
    m_runOpen = false;
    m_picture = {};
}

bool RtfParser::handleDestination(Keyword keyword, bool starred) {
    GroupState &current = state();
    const bool normal = current.destination == Destination::Normal;
    switch (keyword) {
    case Keyword::FontTable:
        current.destination = Destination::FontTable;
        return true;
    case Keyword::ColourTable:
        current.destination = Destination::ColourTable;
        m_colours.clear();
        return true;
    case Keyword::StyleSheet:
        current.destination = Destination::StyleSheet;
        return true;
    case Keyword::Picture:
        if (normal) {
            current.destination = Destination::Picture;
            m_picture = {};
            m_pictureDepth = qsizetype(m_stack.size());
        } else {
            current.destination = Destination::Skip;
        }
        return true;
    case Keyword::Field:
        if (normal)
            m_fields.push_back({qsizetype(m_stack.size()), {}});
        return true;
    case Keyword::FieldInstruction:
        current.destination =
            normal && !m_fields.empty() ? Destination::FieldInstruction : Destination::Skip;
        return true;
    case Keyword::FieldResult:
        if (normal && !m_fields.empty()) {
            const QString target = hyperlinkTarget(m_fields.back().instruction);
            if (!target.isEmpty()) {
                m_links << target;
                current.character.link = int(m_links.size() - 1);
            }
        }
        return true;
    case Keyword::Transparent:
        return true;
    case Keyword::NestedTableProperties:
        current.destination = normal ? Destination::NestedTableProperties : Destination::Skip;
        return true;
    case Keyword::SkippedDestination:
    case Keyword::NonShapePicture:
        current.destination = Destination::Skip;
        return true;
    case Keyword::Unknown:
        if (starred)
            current.destination = Destination::Skip;
        return starred;
    default:
        return false;
    }
}

void RtfParser::handleWord(const RtfToken &token, bool starred) {
    const Keyword keyword = keywordFor(token.word);
    flushText();
    if (keyword == Keyword::Binary) {
        if (token.hasParameter)
            handleBinary(token.parameter);
        return;
    }
    const Destination destination = state().destination;
    if (destination == Destination::Skip)
        return;
    if (handleDestination(keyword, starred))
        return;
    switch (destination) {
    case Destination::Picture:
        handlePictureWord(keyword, token);
        return;
    case Destination::FontTable:
    case Destination::ColourTable:
        handleHeaderWord(keyword, token);
        return;
    case Destination::StyleSheet:
        handleHeaderWord(keyword, token);
        handleCharacterWord(keyword, token);
        handleParagraphWord(keyword, token);
        return;
    case Destination::Normal:
    case Destination::FieldInstruction:
        handleHeaderWord(keyword, token);
        handleCharacterWord(keyword, token);
        if (destination == Destination::Normal)
            handleParagraphWord(keyword, token);
        return;
    case Destination::NestedTableProperties:
        if (keyword == Keyword::NestedRow)
            endParagraph(true);
        return;
    case Destination::Skip:
        return;
    }
}

void RtfParser::handleHeaderWord(Keyword keyword, const RtfToken &token) {
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
        break;
    case Keyword::UnicodeSkip:
        current.unicodeSkip = qBound(0, value, 16);
        break;
    case Keyword::Unicode:
        if (token.hasParameter) {
            deliverChar(char16_t(value < 0 ? value + 65536 : value));
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
            const bool inTable = current.paragraph.inTable;
            current.paragraph = found->paragraph;
            current.paragraph.inTable = inTable;
        }
        break;
    }
    default:
        break;
    }
}

void RtfParser::handleCharacterWord(Keyword keyword, const RtfToken &token) {
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

void RtfParser::handleParagraphWord(Keyword keyword, const RtfToken &token) {
    GroupState &current = state();
    ParaState &paragraph = current.paragraph;
    const int value = token.parameter;
    const bool normal = current.destination == Destination::Normal;
    switch (keyword) {
    case Keyword::Par:
    case Keyword::Sect:
        if (normal)
            endParagraph(paragraph.inTable);
        break;
    case Keyword::Page:
        if (normal) {
            endParagraph(paragraph.inTable);
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
    case Keyword::InTable:
        paragraph.inTable = true;
        break;
    case Keyword::NestingLevel:
        paragraph.inTable = value > 0;
        break;
    case Keyword::Cell:
        if (normal) {
            endParagraph(true);
            m_builder.endCell();
        }
        break;
    case Keyword::Row:
        if (normal) {
            if (!m_paragraph.runs.empty())
                endParagraph(true);
            m_builder.endRow(m_cellEdges, m_rowLeft);
        }
        break;
    case Keyword::NestedCell:
        // Nested tables degrade to text: a nested row becomes one tab-separated line.
        deliverChar(u'\t');
        break;
    case Keyword::NestedRow:
        if (normal)
            endParagraph(true);
        break;
    case Keyword::RowDefaults:
        m_cellEdges.clear();
        m_rowLeft = 0;
        break;
    case Keyword::CellEdge:
        if (m_cellEdges.size() < MaxCellEdges)
            m_cellEdges.push_back(value);
        break;
    case Keyword::RowLeft:
        m_rowLeft = value;
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

void RtfParser::handlePictureWord(Keyword keyword, const RtfToken &token) {
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

void RtfParser::handleSymbol(char symbol) {
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
            endParagraph(state().paragraph.inTable);
        break;
    case '\t':
        deliverChar(u'\t');
        break;
    default:
        break;
    }
}

} // namespace
} // namespace rtf

RtfReadResult readRtf(const QByteArray &bytes, const RtfReadOptions &options) {
    RtfReadResult result;
    result.document = std::make_unique<QTextDocument>();
    result.document->setUndoRedoEnabled(false);
    rtf::RtfParser parser(bytes, options, result.document.get());
    result.warnings = parser.run();
    return result;
}

} // namespace glintbox
