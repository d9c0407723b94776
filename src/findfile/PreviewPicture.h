#pragma once

#include "viewing/pictures/Picture.h"

#include <QWidget>

namespace glintbox {

// The preview picture ImagePreview: draws its picture stretched over the
// whole widget.
class PreviewPicture : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPicture(QWidget *parent = nullptr);

    const Picture &picture() const { return m_picture; }
    void setPicture(Picture picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
};

} // namespace glintbox
