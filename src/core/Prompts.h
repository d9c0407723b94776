#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace glintbox {

enum class PromptIcon { None, Information, Question, Warning, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Message boxes and input boxes. The program shows Qt dialogs; tests install a
// scripted fake that records every prompt and answers it.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual PromptAnswer message(const QString &text, const QString &caption, PromptIcon icon,
                                 PromptButtons buttons = PromptButtons::Ok) = 0;
    // Returns nothing when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &caption,
                                         const QString &defaultText = {}) = 0;
};

class QtPrompts : public Prompts {
public:
    // Prompts are modal to the active modal dialog when there is one, so that
    // they stay above it; otherwise to the active window (the Help window asks
    // over itself), or to the parent given here.
    explicit QtPrompts(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget *parent) { m_parent = parent; }

    PromptAnswer message(const QString &text, const QString &caption, PromptIcon icon,
                         PromptButtons buttons) override;
    std::optional<QString> input(const QString &prompt, const QString &caption,
                                 const QString &defaultText) override;

private:
    QWidget *m_parent;
};

} // namespace glintbox
