#include "RtfParser.h"

#include "RtfFieldInstruction.h"

#include <algorithm>

Q_LOGGING_CATEGORY(lcRtf, "glintbox.viewing.rtf", QtWarningMsg)

namespace glintbox::rtf {

void RtfParser::warn(const QString &message)
{
    if (m_warnings.size() < MaxWarnings && !m_warnings.contains(message)) {
        qCDebug(lcRtf) << message;
        m_warnings << message;
    }
}

QStringList RtfParser::run()
{
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
            if (m_noteDepth >= 0)
                endFootnote();
            if (!m_paragraph.runs.empty())
                endParagraph(m_stack.back().paragraph.tableDepth);
            m_builder.addNotes(std::move(m_notes));
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

void RtfParser::pushGroup()
{
    if (m_stack.size() > MaxGroupDepth) {
        if (m_overflowDepth++ == 0)
            warn(QStringLiteral("Groups nested deeper than %1 levels were flattened.")
                     .arg(MaxGroupDepth));
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfParser::popGroup()
{
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
    if (depth == m_noteDepth)
        endFootnote();
    m_stack.pop_back();
    if (depth == m_pictureDepth) {
        m_pictureDepth = -1;
        finishPicture();
    }
    if (depth == m_shapeDepth) {
        m_shapeDepth = -1;
        if (m_shapePicture) {
            m_paragraph.runs.push_back(*std::exchange(m_shapePicture, std::nullopt));
            m_runOpen = false;
            m_shapeShown = true;
        }
    }
}

void RtfParser::beginFootnote()
{
    m_interruptedParagraph = std::exchange(m_paragraph, {});
    m_runOpen = false;
    m_noteDepth = qsizetype(m_stack.size());
    ++m_noteCount;
}

void RtfParser::endFootnote()
{
    if (!m_paragraph.runs.empty())
        endParagraph(0);
    m_paragraph = std::exchange(m_interruptedParagraph, {});
    m_runOpen = false;
    m_noteDepth = -1;
}

const Font *RtfParser::currentFont() const
{
    const int font =
        m_stack.back().character.font >= 0 ? m_stack.back().character.font : m_defaultFont;
    const auto found = m_fonts.constFind(font);
    return found == m_fonts.constEnd() ? nullptr : &*found;
}

int RtfParser::codePage() const
{
    const Font *font = currentFont();
    return font && font->codePage != 0 ? font->codePage : m_documentCodePage;
}

void RtfParser::handleBytes(QByteArrayView bytes)
{
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
    case Destination::ShapePropertyName:
        m_shapePropertyName += QString::fromLatin1(bytes).trimmed();
        break;
    case Destination::NestedTableProperties:
    case Destination::ShapeInstructions:
    case Destination::ShapeProperty:
    case Destination::ShapePicture:
    case Destination::Skip:
        break;
    }
}

void RtfParser::flushText()
{
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

void RtfParser::deliverText(const QString &text)
{
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

QTextCharFormat RtfParser::charFormat(const CharState &character)
{
    // Bounded, so a document of ever new formats searches a short list.
    constexpr size_t MaxCachedFormats = 32;
    for (const auto &[state, format] : m_charFormats) {
        if (state == character)
            return format;
    }
    if (m_charFormats.size() == MaxCachedFormats)
        m_charFormats.erase(m_charFormats.begin());
    m_charFormats.emplace_back(character, newCharFormat(character));
    return m_charFormats.back().second;
}

QTextCharFormat RtfParser::newCharFormat(const CharState &character) const
{
    QTextCharFormat format;
    const int font = character.font >= 0 ? character.font : m_defaultFont;
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && found->symbol != fonts::SymbolFont::None)
        format.setFontFamilies(fonts::symbolGlyphFamilies());
    else if (found != m_fonts.constEnd() && !found->name.isEmpty())
        format.setFontFamilies({found->name});
    format.setFontPointSize(character.halfPoints / 2.0);
    if (character.bold)
        format.setFontWeight(QFont::Bold);
    if (character.italic)
        format.setFontItalic(true);
    if (character.strike)
        format.setFontStrikeOut(true);
    if (character.capitals != QFont::MixedCase)
        format.setFontCapitalization(character.capitals);
    if (character.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(character.underline);
    if (character.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(character.vertical);
    if (const auto fg = colourAt(character.foreground))
        format.setForeground(*fg);
    if (const auto bg = colourAt(character.background))
        format.setBackground(*bg);
    if (character.link >= 0) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(character.link));
    }
    return format;
}

namespace {

// RTF measures tab stops from the text's left edge, the layout from where the first line starts.
QList<QTextOption::Tab> tabPositions(const ParaState &paragraph)
{
    const int lineStart = paragraph.leftIndent + paragraph.firstIndent;
    QList<QTextOption::Tab> tabs;
    bool stopBeforeIndent = false;
    for (const QTextOption::Tab &tab : paragraph.tabs) {
        if (tab.position <= lineStart)
            continue;
        stopBeforeIndent = stopBeforeIndent || tab.position <= paragraph.leftIndent;
        tabs << QTextOption::Tab((tab.position - lineStart) / TwipsPerPixel, tab.type,
                                 tab.delimiter);
    }
    // A hanging first line (a list item's number) tabs to the paragraph's indent unless a stop
    // comes first.
    if (paragraph.firstIndent < 0 && !stopBeforeIndent)
        tabs << QTextOption::Tab(-paragraph.firstIndent / TwipsPerPixel, QTextOption::LeftTab);
    std::sort(tabs.begin(), tabs.end(),
              [](const auto &a, const auto &b) { return a.position < b.position; });
    return tabs;
}

} // namespace

QTextBlockFormat RtfParser::blockFormat(const ParaState &paragraph)
{
    if (std::exchange(m_pageBreakPending, false)) {
        QTextBlockFormat format = newBlockFormat(paragraph);
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return format;
    }
    if (m_lastParagraphState != paragraph) {
        m_lastParagraphState = paragraph;
        m_lastBlockFormat = newBlockFormat(paragraph);
    }
    return m_lastBlockFormat;
}

QTextBlockFormat RtfParser::newBlockFormat(const ParaState &paragraph)
{
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
    if (!paragraph.tabs.isEmpty() || paragraph.firstIndent < 0)
        format.setTabPositions(tabPositions(paragraph));
    return format;
}

void RtfParser::endParagraph(int tableDepth)
{
    flushText();
    m_paragraph.format = blockFormat(state().paragraph);
    const size_t runCount = m_paragraph.runs.size();
    if (m_noteDepth >= 0)
        m_notes.push_back(std::move(m_paragraph));
    else
        m_builder.addParagraph(std::move(m_paragraph), tableDepth);
    m_paragraph = {};
    // Paragraphs in a row tend to have as many runs: one allocation instead of a series of
    // regrowths, each copying the runs gathered so far. Capped, so one huge paragraph does not
    // make every paragraph after it as large.
    m_paragraph.runs.reserve(std::min<size_t>(runCount, 64));
    m_runOpen = false;
}

void RtfParser::commitFont()
{
    if (m_fontEntry < 0)
        return;
    Font font;
    font.codePage = m_fontEntryCodePage;
    font.name = (m_fontNameText + fontNameBytesDecoded()).trimmed();
    m_fontNameText.clear();
    // Word marks a symbol font by its character set, other writers only by its name.
    font.symbol = fonts::symbolFontNamed(font.name);
    if (font.symbol != fonts::SymbolFont::None)
        font.codePage = symbolCodePage(font.symbol);
    m_fonts.insert(m_fontEntry, font);
    forgetCharFormats();
    m_fontEntry = -1;
    m_fontEntryCodePage = 0;
    m_fontName.clear();
}

QString RtfParser::fontNameBytesDecoded()
{
    // Symbol fonts have ordinary names.
    const int page = m_fontEntryCodePage > 0 ? m_fontEntryCodePage : m_documentCodePage;
    const QString name = m_decoder.decode(m_fontName, page);
    m_fontName.clear();
    return name;
}

void RtfParser::commitColour()
{
    if (m_colourParts[0] < 0 && m_colourParts[1] < 0 && m_colourParts[2] < 0)
        m_colours.emplace_back(std::nullopt);
    else
        m_colours.emplace_back(QColor(qBound(0, m_colourParts[0], 255),
                                      qBound(0, m_colourParts[1], 255),
                                      qBound(0, m_colourParts[2], 255)));
    m_colourParts[0] = m_colourParts[1] = m_colourParts[2] = -1;
    forgetCharFormats();
}

void RtfParser::commitStyle()
{
    if (m_styleEntry < 0)
        return;
    const Style style{state().character, state().paragraph};
    (m_styleEntryIsCharacter ? m_characterStyles : m_paragraphStyles).insert(m_styleEntry, style);
    m_styleEntry = -1;
}

void RtfParser::handleBinary(int length)
{
    QByteArrayView data;
    if (!m_tokenizer.takeBinary(length, &data)) {
        warn(QStringLiteral("Binary data longer than the file was refused."));
        return;
    }
    if (state().destination == Destination::Picture)
        m_picture.data.append(data);
}

void RtfParser::finishPicture()
{
    const GroupState &current = state();
    const bool forShape = current.destination == Destination::ShapePicture;
    if ((!forShape && current.destination != Destination::Normal) || current.character.hidden)
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
    m_picture = {};
    if (forShape) {
        m_shapePicture = RtfRun{QString(), format, true};
        return;
    }
    flushText();
    m_paragraph.runs.push_back({QString(), format, true});
    m_runOpen = false;
}

bool RtfParser::handleDestination(Keyword keyword, bool starred)
{
    GroupState &current = state();
    const bool normal = current.destination == Destination::Normal;
    switch (keyword) {
    case Keyword::FontTable:
        current.destination = Destination::FontTable;
        return true;
    case Keyword::ColourTable:
        current.destination = Destination::ColourTable;
        m_colours.clear();
        forgetCharFormats();
        return true;
    case Keyword::StyleSheet:
        current.destination = Destination::StyleSheet;
        return true;
    case Keyword::Picture:
        if (normal || current.destination == Destination::ShapePicture) {
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
    case Keyword::Footnote:
        if (normal && m_noteDepth < 0)
            beginFootnote();
        else
            current.destination = Destination::Skip;
        return true;
    case Keyword::Shape:
        m_shapeShown = false;
        return true;
    case Keyword::ShapeInstructions:
        if (normal && m_shapeDepth < 0) {
            current.destination = Destination::ShapeInstructions;
            m_shapeDepth = qsizetype(m_stack.size());
            m_shapePicture.reset();
        } else {
            current.destination = Destination::Skip;
        }
        return true;
    case Keyword::ShapeProperty:
        current.destination = current.destination == Destination::ShapeInstructions
                                  ? Destination::ShapeProperty
                                  : Destination::Skip;
        m_shapePropertyName.clear();
        return true;
    case Keyword::ShapePropertyName:
        current.destination = current.destination == Destination::ShapeProperty
                                  ? Destination::ShapePropertyName
                                  : Destination::Skip;
        return true;
    case Keyword::ShapePropertyValue:
        current.destination = current.destination == Destination::ShapeProperty &&
                                      m_shapePropertyName == QLatin1String("pib")
                                  ? Destination::ShapePicture
                                  : Destination::Skip;
        return true;
    case Keyword::ShapeText:
        if (current.destination == Destination::ShapeInstructions) {
            current.destination = Destination::Normal;
            m_shapePicture.reset();
            m_shapeShown = true;
        } else {
            current.destination = Destination::Skip;
        }
        return true;
    case Keyword::ShapeResult:
        // What a reader that knows no shapes shows instead of the shape.
        if (m_shapeShown)
            current.destination = Destination::Skip;
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

void RtfParser::handleWord(const RtfToken &token, bool starred)
{
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
        if (destination == Destination::Normal) {
            handleParagraphWord(keyword, token);
            handleTableWord(keyword, token);
        }
        return;
    case Destination::NestedTableProperties:
        handleTableWord(keyword, token);
        return;
    case Destination::ShapeInstructions:
    case Destination::ShapeProperty:
    case Destination::ShapePropertyName:
    case Destination::ShapePicture:
    case Destination::Skip:
        return;
    }
}

} // namespace glintbox::rtf
