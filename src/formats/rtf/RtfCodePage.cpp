#include "RtfCodePage.h"

#include <QVarLengthArray>

#include <iconv.h>

namespace glintbox::rtf {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Greek letters of the Symbol font at 'A'..'Z' and 'a'..'z'.
constexpr char16_t SymbolUpper[26] = {0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399,
                                      0x3D1, 0x39A, 0x39B, 0x39C, 0x39D, 0x39F, 0x3A0, 0x398, 0x3A1,
                                      0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
constexpr char16_t SymbolLower[26] = {0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9,
                                      0x3D5, 0x3BA, 0x3BB, 0x3BC, 0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1,
                                      0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};

QChar symbolChar(unsigned char b)
{
    if (b >= 'A' && b <= 'Z')
        return QChar(SymbolUpper[b - 'A']);
    if (b >= 'a' && b <= 'z')
        return QChar(SymbolLower[b - 'a']);
    switch (b) {
    case 0x22:
        return QChar(0x2200);
    case 0x24:
        return QChar(0x2203);
    case 0x2D:
        return QChar(0x2212);
    case 0xA3:
        return QChar(0x2264);
    case 0xA5:
        return QChar(0x221E);
    case 0xAC:
        return QChar(0x2190);
    case 0xAD:
        return QChar(0x2191);
    case 0xAE:
        return QChar(0x2192);
    case 0xAF:
        return QChar(0x2193);
    case 0xB3:
        return QChar(0x2265);
    case 0xB4:
        return QChar(0x00D7);
    case 0xB6:
        return QChar(0x2202);
    case 0xB7:
        return QChar(0x2022);
    case 0xB8:
        return QChar(0x00F7);
    case 0xB9:
        return QChar(0x2260);
    case 0xBB:
        return QChar(0x2248);
    case 0xD6:
        return QChar(0x221A);
    case 0xD7:
        return QChar(0x22C5);
    case 0xE5:
        return QChar(0x2211);
    case 0xF2:
        return QChar(0x222B);
    default:
        return QChar(b);
    }
}

// The Wingdings glyphs that list bullets use; anything else shows as a plain bullet.
QChar wingdingsChar(unsigned char b)
{
    switch (b) {
    case 0x6C:
        return QChar(0x25CF);
    case 0x6E:
        return QChar(0x25A0);
    case 0x71:
        return QChar(0x2751);
    case 0x76:
        return QChar(0x2756);
    case 0xA7:
        return QChar(0x25AA);
    case 0xD8:
        return QChar(0x27A2);
    case 0xFC:
        return QChar(0x2713);
    default:
        return b < 0x20 ? QChar(b) : QChar(0x2022);
    }
}

QByteArray iconvName(int codePage)
{
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    case 10001:
        return "SJIS";
    case 10007:
        return "MAC-CYRILLIC";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 20127:
        return "ASCII";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28605)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    return "CP" + QByteArray::number(codePage);
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 2:
        return CodePageSymbol;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

CodePageDecoder::~CodePageDecoder()
{
    for (const auto &[codePage, handle] : m_converters) {
        if (handle)
            iconv_close(static_cast<iconv_t>(handle));
    }
}

QChar CodePageDecoder::windows1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t c = Windows1252High[byte - 0x80];
        return c ? QChar(c) : QChar(byte);
    }
    return QChar(byte);
}

int windows1252Byte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (Windows1252High[i] == u)
            return 0x80 + i;
    }
    return -1;
}

void *CodePageDecoder::converter(int codePage)
{
    const auto found = m_converters.find(codePage);
    if (found != m_converters.end())
        return found->second;
    iconv_t handle = iconv_open("UTF-16LE", iconvName(codePage).constData());
    void *stored = handle == reinterpret_cast<iconv_t>(-1) ? nullptr : handle;
    m_converters.emplace(codePage, stored);
    return stored;
}

QString CodePageDecoder::decode(QByteArrayView bytes, int codePage, bool *unknown)
{
    QString text;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    bool ascii = true;
    for (qsizetype i = 0; i < size && ascii; ++i)
        ascii = in[i] < 0x80;
    if (ascii && codePage != CodePageSymbol && codePage != CodePageWingdings)
        return QString::fromLatin1(bytes);

    if (codePage == CodePageSymbol || codePage == CodePageWingdings) {
        text.resize(size);
        for (qsizetype i = 0; i < size; ++i)
            text[i] = codePage == CodePageSymbol ? symbolChar(in[i]) : wingdingsChar(in[i]);
        return text;
    }
    void *handle = codePage == CodePageWindows1252 || codePage <= 0 ? nullptr : converter(codePage);
    if (!handle) {
        if (unknown && codePage != CodePageWindows1252 && codePage > 0)
            *unknown = true;
        text.resize(size);
        for (qsizetype i = 0; i < size; ++i)
            text[i] = windows1252(in[i]);
        return text;
    }

    // Each input byte yields at most two UTF-16 units.
    text.resize(size * 2);
    auto cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *inPtr = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(size);
    char *outStart = reinterpret_cast<char *>(text.data());
    char *outPtr = outStart;
    size_t outLeft = size_t(text.size()) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (outLeft < 2)
            break;
        // A byte the code page cannot place (often a stray Windows-1252 sign in a double-byte
        // document) is shown as Windows-1252 would show it.
        const char16_t fallback = windows1252(static_cast<unsigned char>(*inPtr)).unicode();
        memcpy(outPtr, &fallback, 2);
        outPtr += 2;
        outLeft -= 2;
        ++inPtr;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    text.resize((outPtr - outStart) / 2);
    return text;
}

} // namespace glintbox::rtf
