// Feeds arbitrary bytes to the settings file reader: it never fails, and what
// it reads, written and read again, gives the same file.
#include "core/SettingsFileText.h"

#include <cstdint>
#include <cstdlib>

using namespace glintbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray written = settingsFileText(
        parseSettingsFile(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
    if (settingsFileText(parseSettingsFile(written)) != written)
        std::abort();
    return 0;
}
