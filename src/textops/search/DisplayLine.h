#pragma once

#include <QString>
#include <QStringView>

namespace glintbox {

class RichTextBox;
class WrappedLineCounter;

// The index from 0 of the line of a text that holds a position when its
// paragraphs (separated by "\n") wrap as the counter says.
int wrappedLineOfPosition(QStringView text, qsizetype position, const WrappedLineCounter &counter);

// The index from 0 of the line the box shows a position of its text on
// (text is the box's text). Without wrapping that is the number of line
// breaks before it. Wrapped lines are counted on a thread of their own while
// the window goes on painting; typing and clicks wait until the count is in,
// so the text cannot change under it.
int displayLineOfPosition(const RichTextBox &box, const QString &text, qsizetype position);

} // namespace glintbox
