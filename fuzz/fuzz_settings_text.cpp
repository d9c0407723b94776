// Feeds arbitrary text to the settings conversions: each reader either refuses
// it with Type mismatch or Overflow, or gives a value whose stored text reads
// back as the same value.
#include "core/RunTimeError.h"
#include "core/SettingsConversions.h"

#include <cstdint>
#include <cstdlib>

using namespace glintbox;
using namespace glintbox::settingtext;

namespace {

template<typename Read, typename Write> void roundTrip(const QString &text, Read read, Write write)
{
    try {
        const auto value = read(text);
        if (read(write(value)) != value)
            std::abort();
    } catch (const RunTimeError &error) {
        if (error.number() != TypeMismatch && error.number() != Overflow)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    roundTrip(text, toBool, fromBool);
    roundTrip(text, toInt16, fromInt);
    roundTrip(text, toInt32, fromInt);
    roundTrip(text, toDouble, fromDouble);
    roundTrip(text, toSingle, fromSingle);
    roundTrip(text, toColour, fromColour);
    roundTrip(text, toCheckState, fromCheckState);
    return 0;
}
