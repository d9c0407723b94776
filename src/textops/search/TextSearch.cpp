#include "TextSearch.h"

#include "DisplayLine.h"
#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "core/ViewMode.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/text/RichTextBox.h"

namespace glintbox {

namespace {

const QString FindCaption = QStringLiteral("Glintbox - Find");

QString quoted(const QString &word)
{
    return u'\'' + word + u'\'';
}

} // namespace

TextSearch::TextSearch(GlintboxState &state, RichTextBox &text1, Prompts &prompts)
    : m_state(state)
    , m_text1(text1)
    , m_prompts(prompts)
{
    const auto forget = [this] { m_unchangedText.reset(); };
    QObject::connect(&text1, &RichTextBox::aboutToReplaceContent, &text1, forget);
    QObject::connect(&text1, &RichTextBox::editedByUser, &text1, forget);
}

void TextSearch::textShown(const ShownText &shown)
{
    if (!shown.formatted)
        m_unchangedText = shown.plainText;
}

QString TextSearch::boxText()
{
    if (!m_unchangedText)
        return m_text1.text();
    // The box holds every line break as one, given back as "\n"; positions
    // count that way.
    QString &text = *m_unchangedText;
    if (text.contains(u'\r') || text.contains(QChar::ParagraphSeparator)) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        text.replace(QChar::ParagraphSeparator, u'\n');
    }
    return text;
}

void TextSearch::mnuSearch_Click()
{
    if (m_state.ViewMode != ViewMode::Text) {
        m_prompts.message(QStringLiteral("Sorry, Glintbox must be in Text mode."), FindCaption,
                          PromptIcon::Information);
        return;
    }
    // Taken once: the text cannot change while the search asks its questions.
    const QString text = boxText();
    if (text.isEmpty()) {
        m_prompts.message(QStringLiteral("Sorry, Glintbox could not find anything to search for!"),
                          FindCaption, PromptIcon::Critical);
        return;
    }
    m_searchWord = m_prompts
                       .input(QStringLiteral("Please enter the word or part of word you wish to "
                                             "find (the search is case insensitive)?"),
                              FindCaption, m_searchWord)
                       .value_or(QString());
    if (m_searchWord.isEmpty())
        return;

    int rounds = 0;
    qsizetype lastPosition = -1;
    for (bool again = true; again; ++rounds) {
        const qsizetype start = rounds == 0 ? 0 : lastPosition + m_searchWord.size();
        lastPosition = findAndSelect(text, start);
        if (lastPosition < 0) {
            m_prompts.message(rounds > 0
                                  ? QStringLiteral("No further instances of ") +
                                        quoted(m_searchWord) + QStringLiteral(" could be found")
                                  : QStringLiteral("The word ") + quoted(m_searchWord) +
                                        QStringLiteral(" could not be found in this "
                                                       "document"),
                              FindCaption, PromptIcon::Information);
            return;
        }
        const int foundLine = displayLineOfPosition(m_text1, text, lastPosition);
        again = m_prompts.message(QStringLiteral("The word ") + quoted(m_searchWord) +
                                      QStringLiteral(" was found on line ") +
                                      QString::number(foundLine) +
                                      QStringLiteral("\n\nWould you like to search for "
                                                     "another instance?"),
                                  FindCaption, PromptIcon::Information,
                                  PromptButtons::YesNo) == PromptAnswer::Yes;
    }
}

qsizetype TextSearch::findAndSelect(const QString &text, qsizetype start)
{
    const qsizetype found = text.indexOf(m_searchWord, start, Qt::CaseInsensitive);
    if (found >= 0) {
        m_text1.setSelectionStart(int(found));
        m_text1.setSelectionLength(int(m_searchWord.size()));
    }
    return found;
}

} // namespace glintbox
