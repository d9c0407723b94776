#include "FileNameBytes.h"

namespace glintbox {

namespace {

constexpr char16_t FirstStandIn = 0xDC80;
constexpr char16_t LastStandIn = 0xDCFF;

bool isAscii(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (uchar(byte) >= 0x80)
            return false;
    }
    return true;
}

// The length of the valid UTF-8 sequence at i and its code point, or 0 when
// the byte there does not begin one (overlong forms and surrogates are not
// valid).
int utf8SequenceAt(QByteArrayView bytes, qsizetype i, char32_t &codePoint)
{
    const uchar lead = uchar(bytes[i]);
    int length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const uchar next = uchar(bytes[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(QByteArray &out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out.append(char(codePoint));
    } else if (codePoint < 0x800) {
        out.append(char(0xC0 | (codePoint >> 6)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.append(char(0xE0 | (codePoint >> 12)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        out.append(char(0xF0 | (codePoint >> 18)));
        out.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        if (uchar(bytes[i]) < 0x80) {
            name.append(QChar(uchar(bytes[i])));
            ++i;
        } else if (const int length = utf8SequenceAt(bytes, i, codePoint)) {
            name.append(QChar::fromUcs4(codePoint));
            i += length;
        } else {
            name.append(QChar(char16_t(0xDC00 + uchar(bytes[i]))));
            ++i;
        }
    }
    return name;
}

QByteArray fileNameToBytes(QStringView name)
{
    QByteArray out;
    out.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < name.size() &&
            QChar::isLowSurrogate(name[i + 1].unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
            ++i;
        } else if (unit >= FirstStandIn && unit <= LastStandIn) {
            out.append(char(unit - 0xDC00));
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

QString displayableFileName(QStringView name)
{
    QString shown = name.toString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
            ++i; // a character outside the basic plane
        else if (shown[i].isSurrogate())
            shown[i] = QChar::ReplacementCharacter; // a lone one has no glyph
    }
    return shown;
}

} // namespace glintbox
