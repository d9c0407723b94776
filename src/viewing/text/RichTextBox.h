#pragma once

#include "WrappedLineCounter.h"

#include <QKeySequence>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;
class QPagedPaintDevice;
class QPlainTextEdit;
class QStackedLayout;
class QTextDocument;
class QTextBlock;
class QTextCursor;
class QTextEdit;
class QAbstractScrollArea;

namespace glintbox {

class ChunkedTextFeeder;

// The text view `Text1`: one editable box for plain text (fast, fed in pieces
// for big files) and formatted rich text, with the operations the text
// commands need (search, line numbers, selection, printing, colours, wrapping).
class RichTextBox : public QWidget {
    Q_OBJECT
public:
    // Margin at or above which lines are never wrapped.
    static constexpr double NoWrapMargin = 1e9;

    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // The plain text of the whole box, lines joined with "\n" (a file's CR LF
    // and lone CR line breaks come back as "\n"). A long line comes back whole,
    // however it is broken on screen.
    QString text() const;
    // Replaces everything and drops all formatting; a long text shows its first
    // screen at once and the rest goes in between event-loop passes.
    void setText(const QString &text);
    // The text is still being read: the box stays empty and takes no typing
    // until arrive puts the text in with setText. Whatever needs the whole text
    // (a key press, search, print, text()) calls arrive first, which may wait.
    void awaitText(std::function<void()> arrive);
    // Shows formatted rich text; the box takes the document.
    void setDocument(std::unique_ptr<QTextDocument> document);
    bool isRichText() const;

    // A read-only box takes no typing; selecting and copying still work.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    bool isLoading() const;
    void finishLoading();
    // Stops a load and empties the box, so a partial text can never pass for the file.
    void cancelLoading();

    // Applied to the whole content.
    void setTextFont(const QFont &font);
    QFont textFont() const;
    // Colour values as stored (0x00BBGGRR or a system colour reference); they
    // reach the view through its palette and system references follow the theme.
    void setTextColour(quint32 colourValue);
    quint32 textColour() const { return m_textColour; }
    void setBackgroundColour(quint32 colourValue);
    quint32 backgroundColour() const { return m_backgroundColour; }

    // Twips; 0 wraps at the box's edge, NoWrapMargin or more never wraps. Other
    // values wrap formatted text at that width and plain text at the edge.
    void setRightMargin(double twips);
    double rightMargin() const { return m_rightMargin; }

    // Character positions from 0, as in text().
    int selectionStart() const;
    void setSelectionStart(int position);
    int selectionLength() const;
    void setSelectionLength(int length);

    // Searches from start to the end, ignoring case and matching inside words;
    // selects the find, scrolls to it and returns its position, or -1.
    int find(const QString &word, int start);
    // Index from 0 of the displayed (wrapped) line that holds the position.
    int lineFromChar(int position) const;
    // How the lines of plain text wrap at the box's present width; none when
    // they do not wrap or the box shows formatted text.
    std::optional<WrappedLineCounter> wrappedLineCounter() const;
    // Prints the selected content with its formatting, or the whole text when
    // nothing is selected.
    void printSelection(QPagedPaintDevice *printer) const;

    // Keys that stay the window's shortcuts while the box has the focus, where
    // the edit would otherwise take them (Ctrl+Z as undo, Delete).
    void setWindowShortcuts(const QList<QKeySequence> &keys);

    // The shown document, whole (a load in progress is finished first).
    const QTextDocument *document() const;

signals:
    void gotFocus();
    void lostFocus(Qt::FocusReason reason);
    // Raised before setText or setDocument replaces the content, while the old
    // content is still there.
    void aboutToReplaceContent();
    // The character code of a typed key (Backspace 8, Enter 13, Ctrl+V 22).
    void keyPressed(int keyAscii);
    // The user changed the text; never raised by loading or by setText.
    void editedByUser();
    // A long text passed to setText, or a text awaited from a reader, is now
    // wholly in the box.
    void loadingFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QAbstractScrollArea *currentEdit() const;
    QTextDocument *currentDocument() const;
    QTextEdit *richEdit();
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor &cursor);
    void watch(QAbstractScrollArea *edit);
    void showEdit(QAbstractScrollArea *edit);
    void setPlainEditable(bool editable);
    void applyColours();
    void applyWrapping();
    void onContentsChange(int from, int charsRemoved, int charsAdded);
    qsizetype firstScreenLength(const QString &text) const;
    void selectRange(int anchor, int position);
    // Text positions (as text() counts) and positions in the shown document,
    // which differ by the display breaks of long lines.
    int toTextPosition(int documentPos) const;
    int toDocumentPosition(int textPos) const;
    void stepOverDisplayBreak(const QKeyEvent &event);
    bool isWindowShortcut(const QKeyEvent &event) const;
    int richLinesBefore(const QTextBlock &target) const;
    int plainLinesBefore(const QTextBlock &target) const;

    QStackedLayout *m_stack;
    QPlainTextEdit *m_plainEdit;
    QTextEdit *m_richEdit = nullptr;
    std::unique_ptr<ChunkedTextFeeder> m_feeder;
    bool m_settingContent = false;
    bool m_switchingEdit = false;
    bool m_readOnly = false;
    QList<QKeySequence> m_windowShortcuts;
    quint32 m_textColour = 0;
    quint32 m_backgroundColour;
    double m_rightMargin = 0;
};

} // namespace glintbox
