#include "RiffMidi.h"

#include <QtEndian>

namespace glintbox {

namespace {

constexpr qsizetype ChunkHeaderSize = 8;

quint32 sizeAt(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

RiffMidiResult damaged(const QString &problem)
{
    return {RiffMidiResult::Status::Damaged, {}, problem};
}

} // namespace

RiffMidiResult unwrapRiffMidi(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "RMID")
        return {};

    // The RIFF size of the whole file is often wrong in files found in the
    // wild; the chunks are walked up to the real end of the bytes instead.
    const qint64 end = file.size();
    qint64 position = 12;
    while (position + ChunkHeaderSize <= end) {
        const QByteArray id = file.mid(position, 4);
        const qint64 size = sizeAt(file, position + 4);
        const qint64 body = position + ChunkHeaderSize;
        if (size > end - body) {
            return damaged(QStringLiteral("chunk \"%1\" claims %2 bytes, %3 are left")
                               .arg(QString::fromLatin1(id))
                               .arg(size)
                               .arg(end - body));
        }
        if (id == "data") {
            QByteArray midi = file.mid(body, size);
            if (!midi.startsWith("MThd"))
                return damaged(QStringLiteral("the data chunk holds no MIDI file"));
            return {RiffMidiResult::Status::Unwrapped, midi, {}};
        }
        // Chunks are padded to an even length.
        position = body + size + (size & 1);
    }
    return damaged(QStringLiteral("no data chunk"));
}

} // namespace glintbox
