#include "ScriptedDialogs.h"

#include <QPrinter>

namespace glintbox {

namespace {

template<typename T> std::optional<T> next(QList<std::optional<T>> &answers)
{
    return answers.isEmpty() ? std::nullopt : answers.takeFirst();
}

} // namespace

std::optional<QColor> ScriptedDialogs::chooseColour(const QColor &initial)
{
    m_records.append({Kind::Colour, initial, {}, {}});
    return next(m_colours);
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(const FontChoice &initial)
{
    m_records.append({Kind::Font, {}, initial, {}});
    return next(m_fonts);
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(const SaveDialogRequest &request)
{
    m_records.append({Kind::Save, {}, {}, request});
    return next(m_saves);
}

bool ScriptedDialogs::choosePrinter(QPrinter &printer)
{
    m_records.append({Kind::Printer, {}, {}, {}});
    const std::optional<PrinterAnswer> answer = next(m_printers);
    if (!answer)
        return false;
    if (answer->printerName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer->pdfPath);
    } else {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(answer->printerName);
    }
    printer.setCopyCount(answer->copies);
    return true;
}

} // namespace glintbox
