#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <QTextDocument>

#include <functional>
#include <memory>

namespace glintbox {

// Options of the RTF reader: the seam through which metafile pictures get drawn.
struct RtfReadOptions {
    // Renders embedded metafile picture data (kind: Wmf or Emf) to an image at the given
    // size in pixels; unset until the metafile renderer lands -> a placeholder box.
    enum class MetafileKind { Wmf, Emf };
    std::function<QImage(const QByteArray &data, MetafileKind kind, QSize sizeHint)> renderMetafile;
};

// What reading an RTF file gives: the document (never null) and what was wrong with the input.
struct RtfReadResult {
    std::unique_ptr<QTextDocument> document;
    QStringList warnings;
};

// Reads RTF bytes into a document. Hostile input is harmless: nesting, binary data,
// pictures and tables are bounded by the size of the input.
RtfReadResult readRtf(const QByteArray &bytes, const RtfReadOptions &options = {});

// Writes a document as RTF covering what readRtf reads (pictures become PNG).
QByteArray writeRtf(const QTextDocument &document);

} // namespace glintbox
