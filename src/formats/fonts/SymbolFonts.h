#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace glintbox::fonts {

// Fonts whose character codes stand for pictures and signs rather than letters: a document
// that uses one stores the code, and only the font knows what it shows.
enum class SymbolFont { None, Symbol, Wingdings, Wingdings2, Wingdings3, Webdings, ZapfDingbats };

// The symbol font a family name stands for (spaces and case do not matter), or None.
SymbolFont symbolFontNamed(QStringView family);
inline bool isSymbolFont(QStringView family)
{
    return symbolFontNamed(family) != SymbolFont::None;
}

// What the font shows for a character code: codes 0x20..0xFF, or the same codes moved to
// U+F020..U+F0FF as Windows stores them, become the Unicode characters of the glyphs; the
// result is empty where the font has no glyph. Other codes come back unchanged.
QString symbolFontText(SymbolFont font, char32_t code);
QString symbolFontText(QStringView family, char32_t code);

// Font families that hold the mapped characters, best first, to draw them with in place of
// the symbol font.
QStringList symbolGlyphFamilies();

} // namespace glintbox::fonts
