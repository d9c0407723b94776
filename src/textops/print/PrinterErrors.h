#pragma once

#include <QString>
#include <optional>

namespace glintbox {

class Prompts;
class RunTimeError;

// The printer failures beside PrinterError (482), by their error numbers.
enum PrinterErrorNumber : int {
    PropertyWithinPage = 396,
    PropertyNotSupported = 483,
    PrinterDriverUnavailable = 484,
};

// The printer message for an error number ("Error 482 'Printer Error'. ..."),
// or nothing when the number is not a printer failure.
std::optional<QString> printerErrorMessage(int number);

// A printer failure gets its own message, captioned "Glintbox - Printer
// Error"; any other error the shared error report.
void reportPrintFailure(Prompts &prompts, const RunTimeError &error);

} // namespace glintbox
