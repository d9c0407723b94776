#pragma once

#include "core/ViewMode.h"

#include <QString>

namespace glintbox {

// The last three characters of a file name, as they are (a shorter name whole).
// Only this tail decides how a file is shown, so "x.jpeg" ends in "peg".
QString fileExtOf(const QString &fileName);

// The view mode for a file's tail, compared in lower case. Web pages and every
// unknown tail are shown in Text view mode.
ViewMode classifyViewMode(const QString &fileExt);

// Tails that Text view mode shows in a special way when their switch is on.
bool isRichTextExt(const QString &fileExt);
bool isHtmlExt(const QString &fileExt);

} // namespace glintbox
