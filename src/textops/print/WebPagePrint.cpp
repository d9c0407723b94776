#include "WebPagePrint.h"

#include "PrintJobs.h"
#include "core/RunTimeError.h"
#include "viewing/web/WebBrowserView.h"

#include <QEventLoop>
#include <QPointer>
#include <QPrinter>
#include <QTimer>

#include <memory>
#include <optional>

namespace glintbox {

namespace {

// A job the engine never finishes (its process gone) fails instead of
// holding the window.
constexpr int JobTimeoutMs = 120'000;

} // namespace

void printWebPage(WebBrowserView &browser, QPrinter &printer)
{
    requireValidPrinter(printer);
    QEventLoop loop;
    // The engine may answer after the loop gave up waiting; its answer then
    // finds the loop gone.
    auto printed = std::make_shared<std::optional<bool>>();
    const QPointer<QEventLoop> waiting(&loop);
    browser.print(printer, [printed, waiting](bool ok) {
        *printed = ok;
        if (waiting)
            waiting->quit();
    });
    if (!printed->has_value()) {
        QTimer::singleShot(JobTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!printed->value_or(false))
        throw RunTimeError(PrinterError, printer.outputFileName());
    requireJobPrinted(printer);
}

} // namespace glintbox
