#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

namespace glintbox {

// Stored colours are 0x00BBGGRR, or 0x80000000 + n for the platform's system
// colour n. A system colour stays a reference: it is resolved against the
// palette only when painted, so it follows the desktop theme and is saved back
// as the same reference.
constexpr quint32 SystemColourFlag = 0x80000000u;
constexpr quint32 SystemWindowBackground = SystemColourFlag + 5;
constexpr quint32 SystemWindowText = SystemColourFlag + 8;
constexpr quint32 SystemButtonFace = SystemColourFlag + 15;

inline bool isSystemColour(quint32 value)
{
    return (value & SystemColourFlag) != 0;
}

inline constexpr quint32 rgbColourValue(int red, int green, int blue)
{
    return quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16;
}

// The palette role that stands for system colour n.
QPalette::ColorRole systemColourRole(int systemColourNumber);

QColor resolveColour(quint32 value, const QPalette &palette);

// The fixed colour value of a chosen colour (never a system reference).
quint32 colourValue(const QColor &colour);

} // namespace glintbox
