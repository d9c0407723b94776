// Feeds arbitrary bytes to the settings file reader, and writes back every
// value it reads under one of the program's keys: neither ever fails.
#include "core/SettingsFileText.h"

#include <cstdint>

using namespace glintbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const StoredSettings read =
        parseSettingsFile(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const QVariant &value : read) {
        StoredSettings one;
        one.insert(QStringLiteral("Settings/DrivePath"), value);
        parseSettingsFile(settingsFileText(one));
    }
    return 0;
}
