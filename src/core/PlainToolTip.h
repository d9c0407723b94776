#pragma once

#include <QString>

namespace glintbox {

// A tool tip that shows its text as written: Qt reads a tool tip that looks
// like markup as markup, and file names and paths are no markup.
inline QString plainToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace glintbox
