#include "Colours.h"

namespace glintbox {

QPalette::ColorRole systemColourRole(int systemColourNumber)
{
    switch (systemColourNumber) {
    case 0:
        return QPalette::Button; // scroll bar
    case 1:
        return QPalette::Dark; // desktop
    case 2:
        return QPalette::Highlight; // active caption
    case 3:
        return QPalette::Mid; // inactive caption
    case 4:
        return QPalette::Window; // menu
    case 5:
        return QPalette::Base; // window background
    case 6:
        return QPalette::Shadow; // window frame
    case 7:
        return QPalette::WindowText; // menu text
    case 8:
        return QPalette::Text; // window text
    case 9:
        return QPalette::HighlightedText; // caption text
    case 10:
    case 11:
        return QPalette::Window; // borders
    case 12:
        return QPalette::Mid; // application workspace
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button; // button face
    case 16:
        return QPalette::Dark; // button shadow
    case 17:
        return QPalette::PlaceholderText; // grey text
    case 18:
        return QPalette::ButtonText;
    case 19:
        return QPalette::Text; // inactive caption text
    case 20:
        return QPalette::Light; // button highlight
    case 21:
        return QPalette::Shadow; // 3-D dark shadow
    case 22:
        return QPalette::Midlight; // 3-D light
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    }
    return QPalette::Window;
}

QColor resolveColour(quint32 value, const QPalette &palette)
{
    if (isSystemColour(value))
        return palette.color(QPalette::Active, systemColourRole(int(value & 0xFF)));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 colourValue(const QColor &colour)
{
    return rgbColourValue(colour.red(), colour.green(), colour.blue());
}

} // namespace glintbox
