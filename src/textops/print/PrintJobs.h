#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;

namespace glintbox {

class Picture;

// Each copy is a print job of its own. Printed to a file, the first job
// writes the chosen file and each further one the next free file beside it
// numbered from 2 ("out (2).pdf"), so that no job overwrites another file.
// `taken` tells whether a path is taken.
QStringList printJobFileNames(const QString &chosen, int copies,
                              const std::function<bool(const QString &)> &taken);

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
