#pragma once

#include "core/FontChoice.h"

#include <QColor>
#include <QList>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace glintbox {

// One pair of a file dialog's filter: the text the user reads, which names
// its pattern in brackets ("Text Files (*.txt)"), and the pattern itself.
struct FileTypeFilter {
    QString description;
    QString pattern;
};

// What the save dialog starts from.
struct SaveDialogRequest {
    QString initialFolder;
    // The first pair is selected when the dialog opens.
    QList<FileTypeFilter> filters;
};

// The platform's common dialogs: colour, font, save file and printer. The
// program shows Qt's dialogs; tests install a scripted fake. Each dialog
// starts from the values it is given, and a cancel is always reported as a
// cancel (no value, or false), never as a choice.
class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;

    // The colour dialog, with its custom colours, opened on the given colour.
    virtual std::optional<QColor> chooseColour(const QColor &initial) = 0;
    // The font dialog with its effects (underline, strikethrough) and the text
    // colour, opened on the given choice.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &initial) = 0;
    // The save dialog; it asks before a chosen file is overwritten. Returns the
    // full path of the chosen file.
    virtual std::optional<QString> chooseSaveFile(const SaveDialogRequest &request) = 0;
    // The printer dialog over the printer. On OK the printer holds the chosen
    // printer or output file and the number of copies (copyCount); returns
    // false when cancelled.
    virtual bool choosePrinter(QPrinter &printer) = 0;
};

// Qt's dialogs, modal to the active modal dialog when there is one, otherwise
// to the parent given here.
class QtCommonDialogs : public CommonDialogs {
public:
    explicit QtCommonDialogs(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget *parent) { m_parent = parent; }

    std::optional<QColor> chooseColour(const QColor &initial) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<QString> chooseSaveFile(const SaveDialogRequest &request) override;
    bool choosePrinter(QPrinter &printer) override;

private:
    QWidget *parent() const;

    QWidget *m_parent;
};

} // namespace glintbox
