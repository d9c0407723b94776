#pragma once

#include "core/Colours.h"

#include <QFont>
#include <QString>

namespace glintbox {

// The text font and colour as last chosen: kept by the font chooser, applied to
// the text view whenever a plain text file is loaded, persisted per user.
struct FontChoice {
    QString name = QStringLiteral("Tahoma");
    float size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    quint32 colour = 0;

    // The colour text is drawn in. The stored default, black, stands for no
    // colour chosen: text then takes the desktop's text colour, as the
    // background takes the desktop's, so a dark desktop shows light text.
    quint32 drawnColour() const { return colour == 0 ? SystemWindowText : colour; }

    QFont toFont() const
    {
        QFont font(name);
        font.setPointSizeF(size > 0 ? size : 8);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strikethrough);
        // "Fixedsys" and friends resolve to the system's fixed-width font.
        if (name.compare(u"Fixedsys", Qt::CaseInsensitive) == 0 ||
            name.compare(u"Terminal", Qt::CaseInsensitive) == 0)
            font.setStyleHint(QFont::TypeWriter);
        return font;
    }
};

} // namespace glintbox
