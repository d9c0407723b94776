#pragma once

#include "textops/CommonDialogs.h"

#include <QList>

namespace glintbox {

// Records every common dialog shown and answers from a script. An answer not
// scripted is a cancel, so that an unexpected dialog never makes a choice.
class ScriptedDialogs : public CommonDialogs {
public:
    enum class Kind { Colour, Font, Save, Printer };

    struct Record {
        Kind kind;
        QColor colour;          // the colour dialog's starting colour
        FontChoice font;        // the font dialog's starting choice
        SaveDialogRequest save; // what the save dialog started from
    };

    // The printer dialog's answer: the printer becomes a PDF file at the
    // path, or the printing system's printer of that name when one is given.
    struct PrinterAnswer {
        QString pdfPath;
        int copies = 1;
        QString printerName;
    };

    std::optional<QColor> chooseColour(const QColor &initial) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<QString> chooseSaveFile(const SaveDialogRequest &request) override;
    bool choosePrinter(QPrinter &printer) override;

    void queueColour(std::optional<QColor> answer) { m_colours.append(std::move(answer)); }
    void queueFont(std::optional<FontChoice> answer) { m_fonts.append(std::move(answer)); }
    void queueSaveFile(std::optional<QString> answer) { m_saves.append(std::move(answer)); }
    void queuePrinter(std::optional<PrinterAnswer> answer) { m_printers.append(std::move(answer)); }

    const QList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    QList<Record> m_records;
    QList<std::optional<QColor>> m_colours;
    QList<std::optional<FontChoice>> m_fonts;
    QList<std::optional<QString>> m_saves;
    QList<std::optional<PrinterAnswer>> m_printers;
};

} // namespace glintbox
