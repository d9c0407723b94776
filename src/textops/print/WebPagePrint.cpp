#include "WebPagePrint.h"

#include "PrintJobs.h"
#include "core/RunTimeError.h"

#include <QEventLoop>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace glintbox {

namespace {

// A job the engine never finishes (its process gone) fails instead of
// holding the window.
constexpr int JobTimeoutMs = 120'000;

} // namespace

void printWebPage(QWebEngineView &view, QPrinter &printer)
{
    requireValidPrinter(printer);
    QPointer<QWebEngineView> guard(&view);
    QEventLoop loop;
    bool printed = false;
    auto finish = [&](bool success) {
        printed = success;
        loop.quit();
    };
    QObject::connect(&view, &QWebEngineView::printFinished, &loop, finish);
    QObject::connect(&view, &QWebEngineView::pdfPrintingFinished, &loop,
                     [&](const QString &, bool success) { finish(success); });
    QObject::connect(&view, &QObject::destroyed, &loop, &QEventLoop::quit);
    QObject::connect(view.page(), &QWebEnginePage::renderProcessTerminated, &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(JobTimeoutMs, &loop, &QEventLoop::quit);
    // A PDF file is written by the engine itself, which keeps the page's text
    // as text; a printer gets the pages as the engine draws them.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        view.printToPdf(printer.outputFileName(), printer.pageLayout(), printer.pageRanges());
    else
        view.print(&printer);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!printed || !guard)
        throw RunTimeError(PrinterError, printer.outputFileName());
    requireJobPrinted(printer);
}

} // namespace glintbox
