#include "Printing.h"

#include "PrintJobs.h"
#include "PrinterErrors.h"
#include "WebPagePrint.h"
#include "core/FileSystem.h"
#include "core/GlintboxState.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "textops/CommonDialog.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/modes/ViewMode.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QPrinter>
#include <QScopeGuard>

namespace glintbox {

Printing::Printing(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
                   CommonDialog &dialog)
    : m_state(state)
    , m_controls(controls)
    , m_host(host)
    , m_dialog(dialog)
{
}

void Printing::mnuPrint_Click()
{
    const auto mode = ViewMode(m_state.ViewMode);
    if (mode != ViewMode::Text && mode != ViewMode::Image) {
        m_host.prompts().message(
            QStringLiteral("Sorry, but you can only Print Text and Image files"),
            QStringLiteral("Glintbox - Print"), PromptIcon::Information);
        return;
    }
    CommonDialogRequest request;
    request.printerDialogRequested = true;
    const CommonDialogResult result = m_dialog.ShowCommonDialog(request);
    if (result.cancelled)
        return;
    QPrinter &printer = m_dialog.printer();
    const QString chosenFile = printer.outputFileName();
    // The copies are jobs of their own, so the printing system must not
    // multiply each one again; the dialog opens next time on the same choice.
    printer.setCopyCount(1);
    const auto restore = qScopeGuard([&] {
        printer.setOutputFileName(chosenFile);
        printer.setCopyCount(result.copies);
    });
    try {
        printCopies(printer, chosenFile, result.copies);
    } catch (const RunTimeError &error) {
        // A job half built is ended (sent or closed) as its painter goes.
        reportPrintFailure(m_host.prompts(), error);
    }
}

void Printing::printCopies(QPrinter &printer, const QString &chosenFile, int copies)
{
    const bool picture = ViewMode(m_state.ViewMode) == ViewMode::Image;
    const bool webPage = !picture && browserShowsPage();
    FileSystem &fs = m_host.fileSystem();
    const auto taken = [&fs](const QString &path) {
        try {
            fs.status(path);
            return true;
        } catch (const RunTimeError &) {
            return false;
        }
    };
    for (const QString &file : printJobFileNames(chosenFile, copies, taken)) {
        printer.setOutputFileName(file);
        if (picture)
            printPicture(printer);
        else if (webPage)
            printWebPage(*m_controls.WebBrowser1, printer);
        else
            printText(printer);
    }
}

void Printing::printPicture(QPrinter &printer)
{
    const QString header = fullPath(m_state.currentFolder, m_host.fileListFileName());
    printPicturePage(printer, m_controls.Picture2->picture(), m_controls.Picture2->logicalDpi(),
                     header);
}

void Printing::printText(QPrinter &printer)
{
    requireValidPrinter(printer);
    RichTextBox &text1 = *m_controls.Text1;
    // Everything is printed, and nothing is left selected afterwards.
    text1.setSelectionStart(0);
    text1.setSelectionLength(int(text1.text().size()));
    text1.printSelection(&printer);
    text1.setSelectionLength(0);
    requireJobPrinted(printer);
}

bool Printing::browserShowsPage() const
{
    // A page shown in the browser hides the text box, which may still hold
    // the text of a file shown before.
    return m_controls.Text1->isHidden() && !m_controls.WebBrowser1->isHidden() &&
           m_controls.WebBrowser1->hasEngine();
}

} // namespace glintbox
