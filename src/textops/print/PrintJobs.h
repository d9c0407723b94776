#pragma once

#include <QString>

class QPrinter;

namespace glintbox {

class Picture;

// Each copy is a print job of its own. Printed to a file, the first job
// writes the chosen file and each further one a file beside it
// ("out.pdf", "out (2).pdf", ...), so that no job overwrites another.
QString printJobFileName(const QString &chosen, int job);

// Throws the printer's error when it cannot take a job at all.
void requireValidPrinter(const QPrinter &printer);
// Throws the printer's error when the printing system failed the last job.
void requireJobPrinted(const QPrinter &printer);

// One page: the header line in 8-point type at the top, the picture at its
// own size (as the screen of the given logical DPI shows it at 100%) just
// below. Throws the printer's error when the page cannot be printed.
void printPicturePage(QPrinter &printer, const Picture &picture, double screenDpi,
                      const QString &header);

} // namespace glintbox
