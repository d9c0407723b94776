#pragma once

#include "RtfCodePage.h"
#include "RtfDocumentBuilder.h"
#include "RtfKeywords.h"
#include "RtfPicture.h"
#include "RtfReader.h"
#include "RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QLoggingCategory>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcRtf)

namespace glintbox::rtf {

// Deeper groups share the state of the deepest one, so nesting costs neither stack nor memory.
constexpr int MaxGroupDepth = 1000;
constexpr int MaxWarnings = 50;
constexpr int MaxCellEdges = 1000; // cell definitions of one row
constexpr int MaxTabStops = 64;
// Lengths beyond any page (a few thousand inches) are cut to this, so sums of them stay in range.
constexpr int MaxTwips = 1 << 22;
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
    NestedTableProperties, // the definition of a nested table's row
    ShapeInstructions,     // only the shape's picture and text box are shown
    ShapeProperty,
    ShapePropertyName,
    ShapePicture, // the value of a shape's picture property: only its \\pict counts
};

struct CharState {
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QFont::Capitalization capitals = QFont::MixedCase;
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
    int tableDepth = 0; // 0 outside tables, 1 in a table, 2 in a table nested in its cells, ...
    // Positions in twips from the text's left edge, as RTF gives them.
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    // The properties came from a paragraph style: the paragraph's first own property replaces
    // them all, since writers that state properties state every one.
    bool fromStyle = false;

    bool operator==(const ParaState &) const = default;
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
    fonts::SymbolFont symbol = fonts::SymbolFont::None;
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
        , m_pictures(options, PixelBytesFloor + PixelBytesPerInputByte * bytes.size())
    {
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
    void handleTableWord(Keyword keyword, const RtfToken &token);
    void selectBorder(RtfBorder *border);
    std::optional<QColor> colourAt(int index) const;
    void handleSymbol(char symbol);
    void handleBytes(QByteArrayView bytes);
    void handleBinary(int length);

    const Font *currentFont() const;
    int codePage() const;
    void flushText();
    void deliverText(const QString &text);
    void deliverChar(char16_t c) { flushText(), deliverText(QString(QChar(c))); }
    QTextCharFormat charFormat(const CharState &character);
    QTextCharFormat newCharFormat(const CharState &character) const;
    // Fonts, colours and the default font decide the formats made so far.
    void forgetCharFormats() { m_charFormats.clear(); }
    QTextBlockFormat blockFormat(const ParaState &paragraph);
    static QTextBlockFormat newBlockFormat(const ParaState &paragraph);
    void endParagraph(int tableDepth);
    void commitFont();
    QString fontNameBytesDecoded();
    void commitColour();
    void commitStyle();
    void finishPicture();
    void beginFootnote();
    void endFootnote();
    void setOwnParagraphProperty();

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
    // The rows being defined: of the outermost table, and of a nested one (\\nesttableprops).
    RtfRowDefinition m_rowDefinition;
    RtfRowDefinition m_nestedRowDefinition;
    RtfCellDefinition m_cellDefinition; // until its \\cellx
    int m_cellBackground = -1;          // colour indexes and shading of the cell being defined
    int m_cellPattern = -1;
    int m_cellShading = 0;         // hundredths of a percent of the pattern colour
    RtfBorder *m_border = nullptr; // the line that border words describe now

    // Footnotes are gathered apart and shown after the text; the paragraph they interrupt waits.
    std::vector<RtfParagraph> m_notes;
    int m_noteCount = 0;
    qsizetype m_noteDepth = -1;
    RtfParagraph m_interruptedParagraph;

    // A shape shows its text box if it has one, otherwise its picture.
    qsizetype m_shapeDepth = -1;
    QString m_shapePropertyName;
    std::optional<RtfRun> m_shapePicture;
    bool m_shapeShown = false;

    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    int m_unicodeSkipLeft = 0;
    bool m_starPending = false; // the last token was \*
    bool m_pageBreakPending = false;
    RtfParagraph m_paragraph;
    CharState m_runState;
    bool m_runOpen = false; // the last run of m_paragraph is text in m_runState
    // Documents switch among a handful of character formats (bold, plain, bold again); building
    // one anew for every run was a large share of the reading.
    std::vector<std::pair<CharState, QTextCharFormat>> m_charFormats;
    // Paragraphs mostly repeat the format of the one before.
    std::optional<ParaState> m_lastParagraphState;
    QTextBlockFormat m_lastBlockFormat;
};

} // namespace glintbox::rtf
