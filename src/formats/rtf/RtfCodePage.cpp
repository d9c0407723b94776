#include "RtfCodePage.h"

#include "formats/fonts/SymbolFonts.h"

#include <QVarLengthArray>

#include <iconv.h>

namespace glintbox::rtf {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

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
        return symbolCodePage(fonts::SymbolFont::None);
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
    if (codePage < 0) {
        const auto font = fonts::SymbolFont(-1 - codePage);
        for (qsizetype i = 0; i < size; ++i)
            text += fonts::symbolFontText(font, in[i]);
        return text;
    }
    if (ascii)
        return QString::fromLatin1(bytes);

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
