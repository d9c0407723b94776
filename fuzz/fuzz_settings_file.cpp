// Feeds arbitrary bytes to the settings file reader, and writes back every
// value it reads under one of the program's keys: what is written reads back
// as the same value, so a second save writes the same bytes.
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
