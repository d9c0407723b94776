#pragma once

#include "RtfReader.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>

namespace glintbox::rtf {

// The data and size words of one \pict group as they arrive.
struct RtfPicture {
    enum class Kind { Unknown, Png, Jpeg, Wmf, Emf };
    Kind kind = Kind::Unknown;
    QByteArray data;
    int width = 0;      // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int height = 0;     // \pich
    int goalWidth = 0;  // \picwgoal, twips
    int goalHeight = 0; // \pichgoal, twips
    int scaleX = 100;   // percent
    int scaleY = 100;
    int pendingNibble = -1;

    void appendHex(QByteArrayView hex);
};

// Turns pictures into images while keeping the pixels they allocate within a budget.
class RtfPictureDecoder {
public:
    RtfPictureDecoder(const RtfReadOptions &options, qint64 pixelByteBudget);

    // The decoded image, or a null image (with *warning set when the data was refused or broken)
    // when the picture must be shown as a placeholder.
    QImage decode(const RtfPicture &picture, QString *warning);

    // The size to show the picture at, in pixels, given what decode returned.
    static QSizeF displaySize(const RtfPicture &picture, const QImage &image);

private:
    bool takeBudget(qint64 width, qint64 height);

    const RtfReadOptions &m_options;
    qint64 m_budget;
};

} // namespace glintbox::rtf
