#include "PrinterErrors.h"

#include "core/ErrorTrap.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"

#include <optional>

namespace glintbox {

namespace {

// The printer message for an error number ("Error 482 'Printer Error'. ..."),
// or nothing when the number is not a printer failure.
std::optional<QString> printerErrorMessage(int number)
{
    const char *text = nullptr;
    switch (number) {
    case PropertyWithinPage:
        text = " 'Property cannot be set within a page'. This error occurs when the same property "
               "is set differently on the same page - please check your printer and try again";
        break;
    case PrinterError:
        text = " 'Printer Error'. This is reported as the error whenever the printer driver "
               "returns an error code - please check your printer and try again";
        break;
    case PropertyNotSupported:
        text = " 'Printer driver does not support the property'. This error occurs when "
               "attempting to use a property that is not supported by the current printer driver "
               "- please check your printer and try again";
        break;
    case PrinterDriverUnavailable:
        text = " 'Printer driver unavailable'. This error occurs when the WIN.INI printer "
               "information is missing or insufficient - please check your printer and try again";
        break;
    default:
        return std::nullopt;
    }
    return QStringLiteral("Error ") + QString::number(number) + QString::fromLatin1(text);
}

} // namespace

void reportPrintFailure(Prompts &prompts, const RunTimeError &error)
{
    if (const auto message = printerErrorMessage(error.number()))
        prompts.message(*message, QStringLiteral("Glintbox - Printer Error"), PromptIcon::Critical);
    else
        showErrorReport(prompts, error);
}

} // namespace glintbox
