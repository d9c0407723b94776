#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace glintbox {

// The launcher picture Image3: the launcher artwork drawn at the control's
// size, reporting double-clicks.
class LauncherImage : public QWidget {
    Q_OBJECT
public:
    explicit LauncherImage(QWidget *parent = nullptr);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QSvgRenderer m_artwork;
};

} // namespace glintbox
