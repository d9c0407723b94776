// Feeds arbitrary bytes to the RIFF-MIDI unwrapper: it must never read
// outside the bytes, and what it finds must lie inside them.
#include "formats/midi/RiffMidi.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const glintbox::RiffMidiResult result = glintbox::unwrapRiffMidi(file);
    if (result.status == glintbox::RiffMidiResult::Status::Unwrapped &&
        (result.midi.size() > file.size() || !file.contains(result.midi)))
        std::abort();
    return 0;
}
