#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <memory>

class QPainter;

namespace glintbox {

// What a picture shows, whatever its kind. Each kind of picture (a decoded
// image here; vector drawings such as metafiles add their own) implements
// this; implementations are immutable and shared between copies of a Picture.
class PictureContent {
public:
    virtual ~PictureContent() = default;

    // The size the picture takes unstretched, in twips, on a screen of the
    // given logical DPI.
    virtual QSizeF naturalSizeTwips(double logicalDpi) const = 0;

    // Draws the picture stretched over target (painter coordinates), touching
    // only visibleTargetPart, the part of target that can be seen. A large
    // picture at a high zoom is never drawn whole.
    virtual void paint(QPainter &painter, const QRectF &target,
                       const QRectF &visibleTargetPart) const = 0;
};

// A decoded bitmap: the image is kept in a format the painter draws directly,
// so that painting a part never converts the whole image.
class RasterPicture : public PictureContent {
public:
    explicit RasterPicture(QImage image);

    QSizeF naturalSizeTwips(double logicalDpi) const override;
    void paint(QPainter &painter, const QRectF &target,
               const QRectF &visibleTargetPart) const override;

private:
    QImage m_image;
};

// A loaded picture, or the empty picture; a cheap value to copy and keep.
class Picture {
public:
    Picture() = default;
    explicit Picture(std::shared_ptr<const PictureContent> content);
    static Picture fromImage(QImage image);

    bool isNull() const { return !m_content; }

    // An empty picture has no size and paints nothing.
    QSizeF naturalSizeTwips(double logicalDpi) const;
    void paint(QPainter &painter, const QRectF &target, const QRectF &visibleTargetPart) const;

private:
    std::shared_ptr<const PictureContent> m_content;
};

} // namespace glintbox
