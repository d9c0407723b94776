#include "DisplayLines.h"

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>

namespace glintbox {

namespace {

// The characters a text cursor turns into a block break (CR LF counts once);
// U+FDD0 and U+FDD1 are Qt's marks of a frame's beginning and end.
bool isBlockBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == u'\xfdd0' ||
           c == u'\xfdd1';
}

// Where a display line that would pass the limit at `limit` ends: after the last
// blank or punctuation in its last quarter, else at the limit itself.
qsizetype displayBreak(QStringView text, qsizetype from, qsizetype limit)
{
    const qsizetype earliest = qMax(from + 1, limit - MaxDisplayLineLength / 4);
    for (qsizetype i = limit; i > earliest; --i) {
        const QChar c = text.at(i - 1);
        if (c.isSpace() || c.isPunct())
            return i;
    }
    return text.at(limit).isLowSurrogate() && limit - 1 > from ? limit - 1 : limit;
}

bool continuesLine(const QTextBlock &block)
{
    return block.userState() == ContinuedLineState;
}

// Set on a document once a display break goes into it, so that the texts
// without long lines, nearly all of them, skip the walks over every block.
constexpr char MayHaveDisplayBreaks[] = "glintboxMayHaveDisplayBreaks";

bool mayHaveDisplayBreaks(const QTextDocument &document)
{
    return document.property(MayHaveDisplayBreaks).toBool();
}

} // namespace

void appendDisplayLines(QTextCursor &cursor, QStringView text)
{
    // The text goes in with one insertion, display breaks as paragraph
    // separators (one insertion a break costs a layout pass each); the blocks
    // they begin are marked afterwards.
    QTextDocument &document = *cursor.document();
    if (document.isEmpty())
        document.setProperty(MayHaveDisplayBreaks, false);
    QString shown;
    QList<int> continuedBlocks;
    int blockOffset = 0;
    qsizetype lineLength = cursor.block().length() - 1;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isBlockBreak(c)) {
            if (!(c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n'))
                ++blockOffset;
            lineLength = 0;
            continue;
        }
        if (++lineLength <= MaxDisplayLineLength)
            continue;
        const qsizetype split = displayBreak(text, from, i);
        shown += text.sliced(from, split - from);
        shown += QChar::ParagraphSeparator;
        continuedBlocks.append(++blockOffset);
        from = split;
        lineLength = i - split + 1;
    }
    const int firstBlock = cursor.blockNumber();
    if (continuedBlocks.isEmpty()) {
        cursor.insertText(text.toString());
        return;
    }
    shown += text.sliced(from);
    document.setProperty(MayHaveDisplayBreaks, true);
    cursor.insertText(shown);
    for (int offset : continuedBlocks)
        document.findBlockByNumber(firstBlock + offset).setUserState(ContinuedLineState);
}

bool hasDisplayBreaks(const QTextDocument &document)
{
    if (!mayHaveDisplayBreaks(document))
        return false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (continuesLine(block))
            return true;
    }
    return false;
}

QString textWithoutDisplayBreaks(const QTextDocument &document)
{
    QString text;
    text.reserve(document.characterCount());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !continuesLine(block))
            text += u'\n';
        text += block.text();
    }
    return text;
}

QString textBetween(const QTextDocument &document, int documentStart, int documentEnd)
{
    QString text;
    for (QTextBlock block = document.findBlock(documentStart);
         block.isValid() && block.position() <= documentEnd; block = block.next()) {
        const int from = qMax(documentStart, block.position()) - block.position();
        const int to = qMin(documentEnd, block.position() + block.length() - 1) - block.position();
        if (block.position() > documentStart && !continuesLine(block))
            text += u'\n';
        text += QStringView(block.text()).sliced(from, qMax(0, to - from));
    }
    return text;
}

int documentPosition(const QTextDocument &document, int textPosition)
{
    if (!mayHaveDisplayBreaks(document))
        return textPosition;
    // A position at a display break stands at the end of the block before it.
    int breaks = 0;
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next()) {
        if (textPosition <= block.position() - 1 - breaks)
            break;
        if (continuesLine(block))
            ++breaks;
    }
    return textPosition + breaks;
}

int textPosition(const QTextDocument &document, int documentPosition)
{
    if (!mayHaveDisplayBreaks(document))
        return documentPosition;
    int breaks = 0;
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next()) {
        if (block.position() > documentPosition)
            break;
        if (continuesLine(block))
            ++breaks;
    }
    return documentPosition - breaks;
}

} // namespace glintbox
