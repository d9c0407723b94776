#include "TextEditing.h"

#include "core/ErrorTrap.h"
#include "core/FileSystem.h"
#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "core/ViewMode.h"
#include "formats/rtf/RtfReader.h"
#include "viewing/text/RichTextBox.h"

#include <limits>

namespace glintbox {

namespace {

// Leaving the box is the user's moving the focus elsewhere in the window, not
// a dialog or menu opening over it, nor the program moving the focus on after
// showing a file.
bool isUserLeaving(Qt::FocusReason reason)
{
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
           reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

} // namespace

TextEditing::TextEditing(GlintboxState &state, RichTextBox &text1, Prompts &prompts, FileSystem &fs,
                         std::function<void()> showSelectedFile)
    : m_state(state)
    , m_text1(text1)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_showSelectedFile(std::move(showSelectedFile))
{
    // Until a file's text is shown there is nothing to save typing into.
    m_text1.setReadOnly(true);
    QObject::connect(&text1, &RichTextBox::aboutToReplaceContent, &text1,
                     [this] { beforeTextReplaced(); });
    QObject::connect(&text1, &RichTextBox::gotFocus, &text1, [this] { Text1_GotFocus(); });
    QObject::connect(&text1, &RichTextBox::keyPressed, &text1,
                     [this](int keyAscii) { Text1_KeyPress(keyAscii); });
    QObject::connect(&text1, &RichTextBox::lostFocus, &text1,
                     [this](Qt::FocusReason reason) { Text1_LostFocus(reason); });
}

void TextEditing::textShown(const ShownText &shown)
{
    if (!shown.whole)
        return;
    m_shownFile = shown;
    // Saving takes the text from the box, as edited.
    m_shownFile->plainText.clear();
    m_text1.setReadOnly(false);
    if (m_text1.hasFocus())
        Text1_GotFocus();
}

void TextEditing::beforeTextReplaced()
{
    offerToSave();
    m_shownFile.reset();
    m_editedFile.reset();
    m_text1.setReadOnly(true);
}

void TextEditing::fileDeleted(const QString &path)
{
    if (m_editedFile && m_editedFile->path == path)
        m_textChanged = false;
}

void TextEditing::Text1_GotFocus()
{
    m_editedFile = m_shownFile;
}

void TextEditing::Text1_KeyPress(int)
{
    if (m_editedFile)
        m_textChanged = true;
}

void TextEditing::Text1_LostFocus(Qt::FocusReason reason)
{
    // A box hidden while it had the focus was hidden by a display, which
    // shows the selected file itself.
    if (!isUserLeaving(reason) || !m_text1.isVisible())
        return;
    offerToSave();
    m_showSelectedFile();
}

void TextEditing::offerToSave()
{
    if (!m_textChanged)
        return;
    while (m_prompts.message(
               QStringLiteral("File has been changed, would you like to save the changes?"),
               QStringLiteral("Glintbox - Save Changes"), PromptIcon::None,
               PromptButtons::YesNo) == PromptAnswer::Yes) {
        if (runTrapped(m_prompts, [this] { save(); }))
            break;
    }
    m_textChanged = false;
}

void TextEditing::save()
{
    const ShownText &file = *m_editedFile;
    // A formatted text is written as rich text: its plain text alone would
    // throw the formatting away.
    const QByteArray bytes =
        file.formatted ? writeRtf(*m_text1.document()) : textFileBytes(m_text1.text(), file.form);
    m_fs.writeAll(file.path, bytes);
}

void TextEditing::mnuEdit_Click(int)
{
    // In Text view mode cutting, copying and pasting are the box's own keys.
    if (m_state.ViewMode != ViewMode::Text)
        m_prompts.message(QStringLiteral("Sorry, Glintbox must be in Text mode"),
                          QStringLiteral("Glintbox - Edit"), PromptIcon::Information);
}

void TextEditing::mnuSelect_Click()
{
    m_text1.setSelectionStart(0);
    m_text1.setSelectionLength(std::numeric_limits<int>::max());
    if (m_text1.isVisible())
        m_text1.setFocus();
}

} // namespace glintbox
