#include "ScriptedPrompts.h"

namespace glintbox {

PromptAnswer ScriptedPrompts::message(const QString &text, const QString &caption, PromptIcon icon,
                                      PromptButtons buttons)
{
    m_records.append({text, caption, icon, buttons, false});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel
               ? PromptAnswer::Yes
               : PromptAnswer::Ok;
}

std::optional<QString> ScriptedPrompts::input(const QString &prompt, const QString &caption,
                                              const QString &defaultText)
{
    m_records.append({prompt, caption, PromptIcon::None, PromptButtons::OkCancel, true});
    if (!m_inputs.isEmpty())
        return m_inputs.takeFirst();
    return defaultText;
}

QStringList ScriptedPrompts::each(QString Record::*field) const
{
    QStringList result;
    for (const Record &record : m_records)
        result.append(record.*field);
    return result;
}

} // namespace glintbox
