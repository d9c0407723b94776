#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QStringList>

namespace glintbox {

// Records every prompt and answers from a script (default: OK / Yes / the
// default text) so that windows can be driven without a person.
class ScriptedPrompts : public Prompts {
public:
    struct Record {
        QString text;
        QString caption;
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
        bool isInput = false;
    };

    PromptAnswer message(const QString &text, const QString &caption, PromptIcon icon,
                         PromptButtons buttons) override;
    std::optional<QString> input(const QString &prompt, const QString &caption,
                                 const QString &defaultText) override;

    void queueAnswer(PromptAnswer answer) { m_answers.append(answer); }
    void queueInput(std::optional<QString> text) { m_inputs.append(std::move(text)); }

    const QList<Record> &records() const { return m_records; }
    QStringList captions() const { return each(&Record::caption); }
    QStringList texts() const { return each(&Record::text); }
    void clear() { m_records.clear(); }

private:
    QStringList each(QString Record::*field) const;
    QList<Record> m_records;
    QList<PromptAnswer> m_answers;
    QList<std::optional<QString>> m_inputs;
};

} // namespace glintbox
