#pragma once

namespace glintbox {

class Prompts;
class RunTimeError;

// The printer failures beside PrinterError (482), by their error numbers.
enum PrinterErrorNumber : int {
    PropertyWithinPage = 396,
    PropertyNotSupported = 483,
    PrinterDriverUnavailable = 484,
};

// A printer failure gets its own message, captioned "Glintbox - Printer
// Error"; any other error the shared error report.
void reportPrintFailure(Prompts &prompts, const RunTimeError &error);

} // namespace glintbox
