#pragma once

#include "viewing/display/DisplayHost.h"

#include <QtGlobal>
#include <functional>
#include <optional>

namespace glintbox {

struct GlintboxState;
class FileSystem;
class Prompts;
class RichTextBox;

// Typing into the text view and saving the text back into its file: which file
// the text came from, whether the user has typed, the save question when the
// user leaves the box, and the Edit menu.
//
// Whatever replaces the box's text first offers to save what was typed, and a
// text that is not wholly its file's stays read-only, so typed text is never
// lost unasked and never written over the wrong file or half of one.
class TextEditing {
public:
    // showSelectedFile is the file display, File1_Click.
    TextEditing(GlintboxState &state, RichTextBox &text1, Prompts &prompts, FileSystem &fs,
                std::function<void()> showSelectedFile);

    // The display put a file's text into the box; unless it is the whole
    // file's, it stays read-only.
    void textShown(const ShownText &shown);
    // The file has been deleted: what was typed into its text goes with it.
    void fileDeleted(const QString &path);
    bool textChanged() const { return m_textChanged; }
    // Asks whether to save the typed changes, and saves them on Yes; a failed
    // save is reported and the question asked again.
    void offerToSave();

    void Text1_GotFocus();
    void Text1_KeyPress(int keyAscii);
    void Text1_LostFocus(Qt::FocusReason reason);
    void mnuEdit_Click(int index);
    void mnuSelect_Click();

private:
    void beforeTextReplaced();
    void save();

    GlintboxState &m_state;
    RichTextBox &m_text1;
    Prompts &m_prompts;
    FileSystem &m_fs;
    std::function<void()> m_showSelectedFile;
    // The file whose whole text the box shows, and the one being edited: the
    // shown one from the moment the box has the focus.
    std::optional<ShownText> m_shownFile;
    std::optional<ShownText> m_editedFile;
    bool m_textChanged = false;
};

} // namespace glintbox
