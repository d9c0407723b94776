#include "CommonDialogs.h"

#include "FontColourDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace glintbox {

QWidget *QtCommonDialogs::parent() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

std::optional<QColor> QtCommonDialogs::chooseColour(const QColor &initial)
{
    // Qt's colour dialog always shows its custom colours, and keeps them
    // for the user between runs.
    QColorDialog dialog(initial, parent());
    dialog.setWindowTitle(QStringLiteral("Colour"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<FontChoice> QtCommonDialogs::chooseFont(const FontChoice &initial)
{
    FontColourDialog dialog(initial, parent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::optional<QString> QtCommonDialogs::chooseSaveFile(const SaveDialogRequest &request)
{
    QFileDialog dialog(parent(), QStringLiteral("Save As"), request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Each description names its pattern in brackets, which is what the
    // dialog reads the pattern from.
    QStringList filters;
    for (const FileTypeFilter &filter : request.filters)
        filters.append(filter.description);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    // Asking before overwriting is the dialog's default; it stays on.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

bool QtCommonDialogs::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent());
    // The whole document is printed, so there is no selection or page range
    // to offer; printing to a PDF file stays, as the only printer many
    // machines have.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace glintbox
