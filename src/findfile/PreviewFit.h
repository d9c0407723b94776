#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

namespace glintbox {

// Whether a found file gets a picture preview, by the last four characters
// of its path in upper case (".GIF", "JPEG", ...).
bool isPreviewPicture(const QString &path);

// Where the preview picture stands in its frame, both in twips. A picture
// larger than the frame less a margin shrinks until it fits, its longer side
// a twip at a time and the shorter side in proportion; a smaller picture
// keeps its size. Sizes are whole twips; the picture is centred.
QRectF previewPlacement(QSizeF picture, QSizeF frame);

} // namespace glintbox
