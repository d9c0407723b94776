#pragma once

#include <QString>
#include <QStringView>

class QTextCursor;
class QTextDocument;

namespace glintbox {

// Qt lays a block out whole, in a time that grows with the square of its length
// when the line has few places to break (a 100 KB line of minified script takes
// most of a second, a megabyte more than a minute). So a line longer than this
// is shown as several blocks; the breaks between them are the display's own
// and never part of the text.
constexpr qsizetype MaxDisplayLineLength = 1024;

// The block state of a block that continues the line of the block before it.
// Qt gives a block split by the user (Enter, a paste) a fresh state, so a line
// break typed into a long line stays a real one.
constexpr int ContinuedLineState = 1;

// Appends text at the cursor, which stands at the document's end, showing each
// long line as several blocks. A display break goes after the last blank or
// punctuation near the limit, or at the limit, never inside a surrogate pair.
void appendDisplayLines(QTextCursor &cursor, QStringView text);

// Whether any block of the document continues the line before it.
bool hasDisplayBreaks(const QTextDocument &document);

// The document's text as it was given: blocks joined with "\n", display breaks
// left out.
QString textWithoutDisplayBreaks(const QTextDocument &document);

// The text between two document positions, display breaks left out: what a
// copy of that selection carries.
QString textBetween(const QTextDocument &document, int documentStart, int documentEnd);

// Positions in the text (as textWithoutDisplayBreaks counts them) and in the
// document (which counts each display break as a character).
int documentPosition(const QTextDocument &document, int textPosition);
int textPosition(const QTextDocument &document, int documentPosition);

} // namespace glintbox
