#pragma once

#include "Picture.h"

#include <QRectF>
#include <QWidget>

class QScrollBar;

namespace glintbox {

// The image viewport Picture2: shows the picture Image2 in its displayed
// rectangle (twips, relative to the viewport's top left), with the pan scroll
// bars HScroll1 and VScroll1 (0..100) lying inside it and the corner square
// Picture1 where they meet. Only the visible part of the picture is painted.
class ImageViewport : public QWidget {
    Q_OBJECT

public:
    explicit ImageViewport(QWidget *parent = nullptr);

    const Picture &picture() const { return m_picture; }
    // Shows a picture unstretched at the top left corner, scroll bars at 0.
    void setPicture(const Picture &picture);
    // Releases the picture: the viewport shows only its background.
    void clearPicture();

    // Where Image2 stands and how large it is drawn, in twips; a zoom or pan
    // moves and stretches it.
    QRectF imageRectTwips() const { return m_imageRect; }
    void setImageRectTwips(const QRectF &rect);

    double logicalDpi() const;
    QSizeF sizeTwips() const;

    void setBackColour(quint32 colour);

    QScrollBar *HScroll1() const { return m_hScroll1; }
    QScrollBar *VScroll1() const { return m_vScroll1; }
    QWidget *Picture1() const { return m_picture1; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Picture m_picture;
    QRectF m_imageRect;
    quint32 m_backColour = 0x808080;
    QScrollBar *m_hScroll1;
    QScrollBar *m_vScroll1;
    QWidget *m_picture1;
};

} // namespace glintbox
