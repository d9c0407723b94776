// Feeds arbitrary bytes to the settings file reader: it never fails, and
// every value it reads, written under one of the program's keys, reads back
// as written. (Keys of every shape are not the program's: it writes its own.)
#include "core/SettingsFileText.h"

#include <cstdint>
#include <cstdlib>

using namespace glintbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const StoredSettings read =
        parseSettingsFile(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const QVariant &value : read) {
        StoredSettings one;
        one.insert(QStringLiteral("Settings/DrivePath"), value);
        const QByteArray written = settingsFileText(one);
        if (settingsFileText(parseSettingsFile(written)) != written)
            std::abort();
    }
    return 0;
}
