#pragma once

#include <QByteArray>
#include <QString>

namespace glintbox {

// What unwrapping a RIFF-MIDI (".rmi") file gave.
struct RiffMidiResult {
    enum class Status {
        Unwrapped,   // midi holds the standard MIDI file found inside
        NotRiffMidi, // the bytes are not a RIFF-MIDI file (a plain MIDI file, say)
        Damaged,     // a RIFF-MIDI file whose MIDI data is missing or cut short
    };
    Status status = Status::NotRiffMidi;
    QByteArray midi;
    QString problem; // why a damaged file was refused, for logs
};

// Finds the standard MIDI file inside a RIFF-MIDI file: the "RIFF" header with
// form type "RMID", then chunks, one of them "data" holding the MIDI file.
// Sizes in the file are not trusted: every chunk must lie inside the bytes.
RiffMidiResult unwrapRiffMidi(const QByteArray &file);

} // namespace glintbox
