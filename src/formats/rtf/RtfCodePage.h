#pragma once

#include "formats/fonts/SymbolFonts.h"

#include <QByteArrayView>
#include <QString>

#include <map>

namespace glintbox::rtf {

// Code page numbers as RTF names them.
constexpr int CodePageWindows1252 = 1252;

// Text in a symbol font decodes through the font's own glyph table; these code pages are
// negative so that they never meet a real one. A symbol character set (\fcharset2) in a font we
// have no table for keeps its bytes as they are.
constexpr int symbolCodePage(fonts::SymbolFont font)
{
    return -1 - int(font);
}

// The code page of a font character set (\fcharset); 0 when the set means "the document's".
int codePageForCharset(int charset);

// Decodes bytes in a Windows code page; other than Windows-1252 and the symbol fonts this goes
// through iconv, whose converters are opened once per code page and kept.
class CodePageDecoder {
public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;
    ~CodePageDecoder();

    // Unknown code pages decode as Windows-1252 and set *unknown.
    QString decode(QByteArrayView bytes, int codePage, bool *unknown = nullptr);

    // One byte as a single-byte code page gives it, for encoding checks in the writer.
    static QChar windows1252(unsigned char byte);

private:
    void *converter(int codePage);
    std::map<int, void *> m_converters; // iconv_t, or null when iconv has no such code page
};

// The Windows-1252 byte for a character, or -1 when it has none.
int windows1252Byte(QChar c);

} // namespace glintbox::rtf
