#include "RichTextBox.h"

#include "ChunkedTextFeeder.h"
#include "DisplayLines.h"
#include "WrappedLineCounter.h"
#include "core/Colours.h"
#include "core/Twips.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QStackedLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace glintbox {

namespace {

// Texts up to this length go in at once; the first piece of a longer one is at
// most this long, whatever the screen holds.
constexpr qsizetype MaxFirstPieceLength = 64 * 1024;

// A load frees its big buffers while the document grows in small blocks, which
// leaves tens of megabytes free but held by the allocator; give them back.
void returnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// The character code a key press types, or 0 for keys that type none (arrows,
// Delete, function keys).
int typedCharacterCode(const QKeyEvent &event)
{
    const int key = event.key();
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 0;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0) == QChar(0x7F))
        return 0;
    return text.at(0).unicode();
}

void setRole(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A plain text box whose copies and drags carry the text, not the display
// breaks of its long lines.
class PlainTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData *createMimeDataFromSelection() const override
    {
        const QTextCursor cursor = textCursor();
        if (!hasDisplayBreaks(*document()))
            return QPlainTextEdit::createMimeDataFromSelection();
        auto *data = new QMimeData;
        data->setText(textBetween(*document(), cursor.selectionStart(), cursor.selectionEnd()));
        return data;
    }
};

} // namespace

RichTextBox::RichTextBox(QWidget *parent)
    : QWidget(parent)
    , m_stack(new QStackedLayout(this))
    , m_plainEdit(new PlainTextEdit(this))
    , m_feeder(std::make_unique<ChunkedTextFeeder>())
    , m_textColour(SystemWindowText)
    , m_backgroundColour(SystemWindowBackground)
{
    m_stack->setContentsMargins(0, 0, 0, 0);
    watch(m_plainEdit);
    setFocusProxy(m_plainEdit);
    connect(m_feeder.get(), &ChunkedTextFeeder::finished, this, [this] {
        setPlainEditable(true);
        returnFreedMemory();
        emit loadingFinished();
    });
    applyColours();
    applyWrapping();
}

RichTextBox::~RichTextBox() = default;

void RichTextBox::watch(QAbstractScrollArea *edit)
{
    edit->installEventFilter(this);
    m_stack->addWidget(edit);
    QTextDocument *document =
        edit == m_plainEdit ? m_plainEdit->document() : m_richEdit->document();
    connect(document, &QTextDocument::contentsChange, this, &RichTextBox::onContentsChange);
}

void RichTextBox::showEdit(QAbstractScrollArea *edit)
{
    if (edit == currentEdit())
        return;
    // The focus passes from one inner edit to the other; the box keeps it.
    const QScopedValueRollback switching(m_switchingEdit, true);
    const bool hadFocus = currentEdit() && currentEdit()->hasFocus();
    m_stack->setCurrentWidget(edit);
    setFocusProxy(edit);
    if (hadFocus)
        edit->setFocus();
}

QAbstractScrollArea *RichTextBox::currentEdit() const
{
    return qobject_cast<QAbstractScrollArea *>(m_stack->currentWidget());
}

QTextDocument *RichTextBox::currentDocument() const
{
    return isRichText() ? m_richEdit->document() : m_plainEdit->document();
}

QTextEdit *RichTextBox::richEdit()
{
    if (!m_richEdit) {
        m_richEdit = new QTextEdit(this);
        m_richEdit->setAcceptRichText(false);
        m_richEdit->setReadOnly(m_readOnly);
        watch(m_richEdit);
        applyColours();
        applyWrapping();
        m_richEdit->setFont(m_plainEdit->font());
    }
    return m_richEdit;
}

QTextCursor RichTextBox::textCursor() const
{
    return isRichText() ? m_richEdit->textCursor() : m_plainEdit->textCursor();
}

void RichTextBox::setTextCursor(const QTextCursor &cursor)
{
    if (isRichText())
        m_richEdit->setTextCursor(cursor);
    else
        m_plainEdit->setTextCursor(cursor);
}

bool RichTextBox::isRichText() const
{
    return m_richEdit && m_stack->currentWidget() == m_richEdit;
}

QString RichTextBox::text() const
{
    m_feeder->finish();
    if (isRichText())
        return m_richEdit->document()->toPlainText();
    const QTextDocument &document = *m_plainEdit->document();
    if (hasDisplayBreaks(document))
        return textWithoutDisplayBreaks(document);
    // toPlainText() would also turn no-break spaces into spaces, which a save
    // would then write back; only the line breaks need mapping.
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

const QTextDocument *RichTextBox::document() const
{
    m_feeder->finish();
    return currentDocument();
}

void RichTextBox::setText(const QString &text)
{
    emit aboutToReplaceContent();
    const bool wasAwaited = m_feeder->isAwaiting();
    m_feeder->cancel();
    const QScopedValueRollback settingContent(m_settingContent, true);
    if (m_richEdit) {
        // Drop the formatted document so none of it outlives the new text.
        m_richEdit->document()->clear();
    }
    showEdit(m_plainEdit);

    // Loading is no edit: nothing of it may be undone, and until the whole text
    // is in, only a key press (which finishes the load first) may change it.
    setPlainEditable(false);
    const qsizetype firstLength = firstScreenLength(text);
    m_plainEdit->setPlainText(QString());
    QTextCursor end(m_plainEdit->document());
    appendDisplayLines(end, QStringView(text).first(firstLength));
    m_plainEdit->moveCursor(QTextCursor::Start);
    if (firstLength >= text.size()) {
        setPlainEditable(true);
        // An awaited text that came out short (or empty, after a failed read)
        // has no feed to finish, yet whoever waits for it must not wait on.
        if (wasAwaited)
            emit loadingFinished();
        return;
    }
    m_feeder->start(m_plainEdit->document(), text, firstLength);
}

void RichTextBox::awaitText(std::function<void()> arrive)
{
    m_feeder->await(std::move(arrive));
    setPlainEditable(false);
}

void RichTextBox::setPlainEditable(bool editable)
{
    // Undoing a deletion brings a display break back as a real line break, so
    // a text shown with display breaks has no undo.
    QTextDocument *document = m_plainEdit->document();
    document->setUndoRedoEnabled(editable && !hasDisplayBreaks(*document));
    m_plainEdit->setReadOnly(!editable || m_readOnly);
}

void RichTextBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setPlainEditable(!m_feeder->isActive());
    if (m_richEdit)
        m_richEdit->setReadOnly(readOnly);
}

qsizetype RichTextBox::firstScreenLength(const QString &text) const
{
    if (text.size() <= MaxFirstPieceLength)
        return text.size();
    // Enough whole lines to fill the visible height twice over.
    const int lineHeight = qMax(1, m_plainEdit->fontMetrics().lineSpacing());
    const int lines = 2 * qMax(height(), 600) / lineHeight + 1;
    qsizetype end = 0;
    for (int line = 0; line < lines && end < MaxFirstPieceLength; ++line) {
        const qsizetype lineBreak = text.indexOf(u'\n', end);
        if (lineBreak < 0)
            break;
        end = lineBreak + 1;
    }
    return ChunkedTextFeeder::pieceEnd(text, 0, end > 0 ? end : MaxFirstPieceLength);
}

void RichTextBox::setDocument(std::unique_ptr<QTextDocument> document)
{
    emit aboutToReplaceContent();
    m_feeder->cancel();
    const QScopedValueRollback settingContent(m_settingContent, true);
    m_plainEdit->clear();
    setPlainEditable(true);
    QTextEdit *edit = richEdit();
    QTextDocument *old = edit->document();
    disconnect(old, nullptr, this, nullptr);
    // The edit deletes its own first document itself; ours are children of the edit.
    const std::unique_ptr<QTextDocument> ownedOld(old->parent() == edit ? old : nullptr);
    document->setParent(edit);
    edit->setDocument(document.release());
    connect(edit->document(), &QTextDocument::contentsChange, this, &RichTextBox::onContentsChange);
    showEdit(edit);
}

bool RichTextBox::isLoading() const
{
    return m_feeder->isActive();
}

void RichTextBox::finishLoading()
{
    m_feeder->finish();
}

void RichTextBox::cancelLoading()
{
    if (m_feeder->isActive())
        setText(QString());
}

void RichTextBox::onContentsChange(int, int charsRemoved, int charsAdded)
{
    if (m_settingContent || m_feeder->isAppending() || (charsRemoved == 0 && charsAdded == 0))
        return;
    emit editedByUser();
}

void RichTextBox::setTextFont(const QFont &font)
{
    const QScopedValueRollback settingContent(m_settingContent, true);
    m_plainEdit->setFont(font);
    if (!m_richEdit)
        return;
    m_richEdit->setFont(font);
    QTextCursor all(m_richEdit->document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFont(font);
    all.mergeCharFormat(format);
}

QFont RichTextBox::textFont() const
{
    return m_plainEdit->font();
}

void RichTextBox::setTextColour(quint32 colourValue)
{
    m_textColour = colourValue;
    applyColours();
}

void RichTextBox::setBackgroundColour(quint32 colourValue)
{
    m_backgroundColour = colourValue;
    applyColours();
}

void RichTextBox::applyColours()
{
    // System references resolve against the box's palette, which follows the
    // theme; the edits inside carry the resolved colours.
    const QPalette &system = palette();
    const QColor text = resolveColour(m_textColour, system);
    const QColor background = resolveColour(m_backgroundColour, system);
    for (QWidget *edit :
         {static_cast<QWidget *>(m_plainEdit), static_cast<QWidget *>(m_richEdit)}) {
        if (!edit)
            continue;
        setRole(edit, QPalette::Text, text);
        setRole(edit, QPalette::Base, background);
    }
}

void RichTextBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColours();
    QWidget::changeEvent(event);
}

void RichTextBox::setRightMargin(double twips)
{
    m_rightMargin = twips;
    applyWrapping();
}

void RichTextBox::applyWrapping()
{
    const bool wrap = m_rightMargin < NoWrapMargin;
    m_plainEdit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    if (!m_richEdit)
        return;
    if (!wrap) {
        m_richEdit->setLineWrapMode(QTextEdit::NoWrap);
    } else if (m_rightMargin <= 0) {
        m_richEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        m_richEdit->setLineWrapMode(QTextEdit::FixedPixelWidth);
        m_richEdit->setLineWrapColumnOrWidth(twipsToPixels(m_rightMargin, logicalDpiX()));
    }
}

int RichTextBox::selectionStart() const
{
    m_feeder->finish();
    return toTextPosition(textCursor().selectionStart());
}

int RichTextBox::selectionLength() const
{
    m_feeder->finish();
    const QTextCursor cursor = textCursor();
    return toTextPosition(cursor.selectionEnd()) - toTextPosition(cursor.selectionStart());
}

int RichTextBox::toTextPosition(int documentPos) const
{
    return isRichText() ? documentPos : textPosition(*m_plainEdit->document(), documentPos);
}

int RichTextBox::toDocumentPosition(int textPos) const
{
    return isRichText() ? textPos : documentPosition(*m_plainEdit->document(), textPos);
}

void RichTextBox::setSelectionStart(int position)
{
    selectRange(position, position);
}

void RichTextBox::setSelectionLength(int length)
{
    const int start = selectionStart();
    selectRange(start, start + qMax(0, length));
}

void RichTextBox::selectRange(int anchor, int position)
{
    m_feeder->finish();
    QTextCursor cursor(currentDocument());
    const int end = cursor.document()->characterCount() - 1;
    cursor.setPosition(qBound(0, toDocumentPosition(anchor), end));
    cursor.setPosition(qBound(0, toDocumentPosition(position), end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int RichTextBox::find(const QString &word, int start)
{
    m_feeder->finish();
    if (word.isEmpty())
        return -1;
    if (!isRichText()) {
        // Searched in the text itself, so that a display break inside a word
        // does not hide it.
        const int found = int(text().indexOf(word, qMax(0, start), Qt::CaseInsensitive));
        if (found >= 0)
            selectRange(found, found + int(word.size()));
        return found;
    }
    const QTextCursor found = currentDocument()->find(word, qMax(0, start));
    if (found.isNull())
        return -1;
    setTextCursor(found);
    return found.selectionStart();
}

int RichTextBox::lineFromChar(int textPos) const
{
    m_feeder->finish();
    const int position = toDocumentPosition(textPos);
    const QTextDocument *document = currentDocument();
    const QTextBlock target =
        document->findBlock(qBound(0, position, document->characterCount() - 1));
    const int lines = isRichText() ? richLinesBefore(target) : plainLinesBefore(target);
    // Asking for a block's rectangle lays it out as the box shows it.
    document->documentLayout()->blockBoundingRect(target);
    const QTextLine line = target.layout()->lineForTextPosition(position - target.position());
    return lines + (line.isValid() ? line.lineNumber() : 0);
}

int RichTextBox::richLinesBefore(const QTextBlock &target) const
{
    // The formatted view lays out its whole document anyway.
    QAbstractTextDocumentLayout *layout = m_richEdit->document()->documentLayout();
    int lines = 0;
    for (QTextBlock block = m_richEdit->document()->begin(); block.isValid() && block != target;
         block = block.next()) {
        if (!block.isVisible())
            continue;
        layout->blockBoundingRect(block);
        lines += qMax(1, block.layout()->lineCount());
    }
    return lines;
}

int RichTextBox::plainLinesBefore(const QTextBlock &target) const
{
    // The plain view lays out only what it shows; laying out every line before
    // the target through it would keep a layout per line of a big file.
    const std::optional<WrappedLineCounter> counter = wrappedLineCounter();
    if (!counter)
        return target.blockNumber();
    int lines = 0;
    for (QTextBlock block = m_plainEdit->document()->begin(); block.isValid() && block != target;
         block = block.next())
        lines += counter->lineCount(block.text());
    return lines;
}

std::optional<WrappedLineCounter> RichTextBox::wrappedLineCounter() const
{
    // When wrapping, the plain view lays its lines out at its viewport's width.
    const QTextDocument *document = m_plainEdit->document();
    const int width = m_plainEdit->viewport()->width();
    if (isRichText() || m_rightMargin >= NoWrapMargin || width <= 0)
        return std::nullopt;
    return WrappedLineCounter(document->defaultFont(), document->defaultTextOption(),
                              width - 2 * document->documentMargin());
}

void RichTextBox::printSelection(QPagedPaintDevice *printer) const
{
    m_feeder->finish();
    const QTextDocument *shown = currentDocument();
    const QTextCursor selection = textCursor();
    QTextDocument page;
    page.setDefaultFont(shown->defaultFont());
    QTextCursor cursor(&page);
    if (selection.hasSelection())
        cursor.insertFragment(selection.selection());
    else
        cursor.insertFragment(QTextDocumentFragment(shown));
    if (!isRichText()) {
        // Plain text takes its colour from the palette, which paper does not see.
        cursor.select(QTextCursor::Document);
        QTextCharFormat format;
        format.setForeground(resolveColour(m_textColour, palette()));
        cursor.mergeCharFormat(format);
    }
    page.print(printer);
}

void RichTextBox::stepOverDisplayBreak(const QKeyEvent &event)
{
    // Backspace at the start of a display line deletes the character before
    // it, as it would in the unbroken line, not the display break.
    if (isRichText() || event.key() != Qt::Key_Backspace || event.modifiers() != Qt::NoModifier)
        return;
    QTextCursor cursor = m_plainEdit->textCursor();
    if (cursor.hasSelection() || !cursor.atBlockStart() ||
        cursor.block().userState() != ContinuedLineState)
        return;
    cursor.movePosition(QTextCursor::PreviousCharacter);
    m_plainEdit->setTextCursor(cursor);
}

void RichTextBox::setWindowShortcuts(const QList<QKeySequence> &keys)
{
    m_windowShortcuts = keys;
}

bool RichTextBox::isWindowShortcut(const QKeyEvent &event) const
{
    const QKeySequence pressed(event.keyCombination());
    return std::any_of(m_windowShortcuts.cbegin(), m_windowShortcuts.cend(),
                       [&](const QKeySequence &key) { return key == pressed; });
}

bool RichTextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == currentEdit() && !m_switchingEdit) {
        switch (event->type()) {
        case QEvent::FocusIn:
            emit gotFocus();
            break;
        case QEvent::FocusOut:
            emit lostFocus(static_cast<QFocusEvent *>(event)->reason());
            break;
        case QEvent::ShortcutOverride:
            // Not letting the edit claim the key leaves it to the window's shortcut.
            if (isWindowShortcut(*static_cast<QKeyEvent *>(event)))
                return true;
            break;
        case QEvent::KeyPress: {
            // An edit goes into the whole text, never into half of it.
            m_feeder->finish();
            stepOverDisplayBreak(*static_cast<QKeyEvent *>(event));
            if (const int code = typedCharacterCode(*static_cast<QKeyEvent *>(event)))
                emit keyPressed(code);
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace glintbox
