#pragma once

#include <QString>
#include <optional>

namespace glintbox {

struct GlintboxState;
struct ShownText;
class Prompts;
class RichTextBox;

// Searching the shown text for a word or part of one, without regard to case,
// one instance after another: each find is selected and reported with the
// line it stands on, and the search never wraps round to the beginning.
class TextSearch {
public:
    TextSearch(GlintboxState &state, RichTextBox &text1, Prompts &prompts);

    void mnuSearch_Click();
    // The display put a file's text into the box.
    void textShown(const ShownText &shown);

    // The last word searched for, offered again by the next search.
    const QString &searchWord() const { return m_searchWord; }

private:
    QString boxText();
    // Finds the word in the text from start, selects it in the box and returns
    // its position, or -1.
    qsizetype findAndSelect(const QString &text, qsizetype start);

    GlintboxState &m_state;
    RichTextBox &m_text1;
    Prompts &m_prompts;
    QString m_searchWord;
    // The plain text the box was given, while nobody has changed it: reading
    // a big text back from the box costs several times the search itself.
    std::optional<QString> m_unchangedText;
};

} // namespace glintbox
