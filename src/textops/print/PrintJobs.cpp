#include "PrintJobs.h"

#include "PrinterErrors.h"
#include "core/RunTimeError.h"
#include "core/Twips.h"
#include "viewing/pictures/Picture.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace glintbox {

namespace {

// Where the picture stands on the page, twips from the printable area's top left.
constexpr double PictureLeft = 1;
constexpr double PictureTop = 300;
constexpr double HeaderPointSize = 8;

double twipsToDevice(double twips, const QPrinter &printer)
{
    return twips * printer.resolution() / TwipsPerInch;
}

QString numberedFileName(const QString &chosen, int number)
{
    if (number <= 1)
        return chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    const QString base = suffix.isEmpty() ? chosen : chosen.chopped(suffix.size() + 1);
    const QString numbered = base + QStringLiteral(" (") + QString::number(number) + u')';
    return suffix.isEmpty() ? numbered : numbered + u'.' + suffix;
}

} // namespace

QStringList printJobFileNames(const QString &chosen, int copies,
                              const std::function<bool(const QString &)> &taken)
{
    QStringList names;
    int number = 1;
    for (int job = 1; job <= copies; ++job) {
        // A printer, not a file: every job goes to it.
        if (chosen.isEmpty()) {
            names.append(chosen);
            continue;
        }
        QString name = numberedFileName(chosen, number++);
        while (job > 1 && taken(name))
            name = numberedFileName(chosen, number++);
        names.append(name);
    }
    return names;
}

void requireValidPrinter(const QPrinter &printer)
{
    // Without a printing system Qt falls back to writing a PDF file, which
    // needs a file name: with none there is nowhere to print to.
    const bool nowhere =
        printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
    if (!printer.isValid() || nowhere)
        throw RunTimeError(PrinterDriverUnavailable, printer.printerName());
}

void requireJobPrinted(const QPrinter &printer)
{
    if (printer.printerState() == QPrinter::Error)
        throw RunTimeError(PrinterError, printer.outputFileName());
}

void printPicturePage(QPrinter &printer, const Picture &picture, double screenDpi,
                      const QString &header)
{
    requireValidPrinter(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw RunTimeError(PrinterError, printer.outputFileName());
    QFont font = painter.font();
    font.setPointSizeF(HeaderPointSize);
    painter.setFont(font);
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    painter.drawText(page, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, header);
    const QSizeF size = picture.naturalSizeTwips(screenDpi);
    const QRectF target(twipsToDevice(PictureLeft, printer), twipsToDevice(PictureTop, printer),
                        twipsToDevice(size.width(), printer),
                        twipsToDevice(size.height(), printer));
    picture.paint(painter, target, target.intersected(page));
    // Ending the painter sends the job; a job the printing system refused
    // shows in the printer's state.
    painter.end();
    requireJobPrinted(printer);
}

} // namespace glintbox
