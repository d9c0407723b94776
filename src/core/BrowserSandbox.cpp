#include "BrowserSandbox.h"

#include <QByteArray>
#include <unistd.h>

namespace glintbox {

void allowBrowserEngineAsRoot()
{
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet(BrowserSandboxVariable))
        qputenv(BrowserSandboxVariable, "1");
}

} // namespace glintbox
