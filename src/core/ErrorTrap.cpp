#include "ErrorTrap.h"

#include "Prompts.h"
#include "RunTimeError.h"

#include <QLoggingCategory>
#include <new>

Q_LOGGING_CATEGORY(lcErrors, "glintbox.errors", QtWarningMsg)

namespace glintbox {

void showErrorReport(Prompts &prompts, const RunTimeError &error)
{
    qCInfo(lcErrors) << error.what();
    prompts.message(error.description(), QStringLiteral("Glintbox - Error %1").arg(error.number()),
                    PromptIcon::Critical, PromptButtons::Ok);
}

bool runTrapped(Prompts &prompts, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const RunTimeError &error) {
        showErrorReport(prompts, error);
    } catch (const std::bad_alloc &) {
        showErrorReport(prompts, RunTimeError(OutOfMemory));
    }
    return false;
}

} // namespace glintbox
