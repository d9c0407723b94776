#include "Prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace glintbox {

namespace {

QMessageBox::Icon toQt(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QWidget *dialogParent(QWidget *fallback)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    // A window that stays open beside the main window (Help) asks over itself.
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return fallback;
}

} // namespace

PromptAnswer QtPrompts::message(const QString &text, const QString &caption, PromptIcon icon,
                                PromptButtons buttons)
{
    QMessageBox box(toQt(icon), caption, text, toQt(buttons), dialogParent(m_parent));
    // Texts carry file names and paths, which are no markup.
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        return PromptAnswer::Ok;
    }
}

std::optional<QString> QtPrompts::input(const QString &prompt, const QString &caption,
                                        const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(m_parent), caption, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace glintbox
