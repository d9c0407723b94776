#include "GdiText.h"

#include "GdiConstants.h"

#include "formats/fonts/SymbolFonts.h"

#include <QStringDecoder>

#include <unordered_map>

namespace glintbox {

namespace {

const char *codePageOf(int charset)
{
    switch (charset) {
    case gdi::SHIFTJIS_CHARSET:
        return "Shift_JIS";
    case gdi::HANGUL_CHARSET:
        return "windows-949";
    case gdi::GB2312_CHARSET:
        return "GBK";
    case gdi::CHINESEBIG5_CHARSET:
        return "Big5";
    case gdi::GREEK_CHARSET:
        return "windows-1253";
    case gdi::TURKISH_CHARSET:
        return "windows-1254";
    case gdi::VIETNAMESE_CHARSET:
        return "windows-1258";
    case gdi::HEBREW_CHARSET:
        return "windows-1255";
    case gdi::ARABIC_CHARSET:
        return "windows-1256";
    case gdi::BALTIC_CHARSET:
        return "windows-1257";
    case gdi::RUSSIAN_CHARSET:
        return "windows-1251";
    case gdi::THAI_CHARSET:
        return "windows-874";
    case gdi::EASTEUROPE_CHARSET:
        return "windows-1250";
    default:
        return "windows-1252";
    }
}

} // namespace

QString decodeGdiText(QByteArrayView bytes, int charset, const QString &faceName)
{
    // The bytes of a symbol font are glyph codes, kept as they are for the painter to map.
    if (charset == gdi::SYMBOL_CHARSET || fonts::isSymbolFont(faceName))
        return QString::fromLatin1(bytes);
    // Opening a code page's converter costs far more than decoding a line with it: each
    // thread keeps those it opened.
    thread_local std::unordered_map<const char *, QStringDecoder> decoders;
    const char *codePage = codePageOf(charset);
    auto decoder = decoders.find(codePage);
    if (decoder == decoders.end())
        decoder = decoders.emplace(codePage, QStringDecoder(codePage)).first;
    if (!decoder->second.isValid())
        return QString::fromLatin1(bytes);
    decoder->second.resetState(); // a line cut inside a character must not reach the next
    return decoder->second.decode(bytes);
}

} // namespace glintbox
