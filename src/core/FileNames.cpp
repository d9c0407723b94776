#include "FileNames.h"

namespace glintbox {

namespace {

constexpr char16_t StrayByteBase = 0xDC00;
constexpr char16_t ReplacementCharacter = 0xFFFD;

bool isStrayByte(char16_t unit)
{
    return unit >= StrayByteBase + 0x80 && unit <= StrayByteBase + 0xFF;
}

// The length of the valid UTF-8 sequence starting at `at`, 0 when the byte
// there starts none (overlong forms, surrogates and values beyond U+10FFFF
// included).
qsizetype validSequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return uchar(bytes[i]); };
    const uchar lead = byte(at);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = validSequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + runStart, at - runStart);
        name += QChar(char16_t(StrayByteBase + uchar(bytes[at])));
        runStart = ++at;
    }
    name += QString::fromUtf8(bytes.constData() + runStart, at - runStart);
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        // A stray byte stands alone; a surrogate that pairs is a character.
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (!isStrayByte(unit) || paired)
            continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += char(unit - StrayByteBase);
        runStart = i + 1;
    }
    bytes += QStringView(name).mid(runStart).toUtf8();
    return bytes;
}

QString fileNameForDisplay(const QString &name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown[i];
        const bool lone =
            (c.isHighSurrogate() && (i + 1 >= shown.size() || !shown[i + 1].isLowSurrogate())) ||
            (c.isLowSurrogate() && (i == 0 || !shown[i - 1].isHighSurrogate()));
        if (lone || c.category() == QChar::Other_Control)
            shown[i] = QChar(ReplacementCharacter);
    }
    return shown;
}

} // namespace glintbox
