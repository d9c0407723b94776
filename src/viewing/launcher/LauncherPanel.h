#pragma once

#include <QFrame>

class QLabel;

namespace glintbox {

class LauncherImage;

// The launcher panel picLaunchWindow: the launcher picture Image3, the
// program's name lblAppName and the instruction Label3, each at its fixed
// place from the panel's top left corner whatever the panel's size.
class LauncherPanel : public QFrame {
    Q_OBJECT
public:
    explicit LauncherPanel(QWidget *parent = nullptr);

    LauncherImage *Image3() const { return m_image3; }
    QLabel *lblAppName() const { return m_lblAppName; }
    QLabel *Label3() const { return m_label3; }

signals:
    // A double-click on the launcher picture.
    void Image3_DblClick();
    // A click on the panel itself (its labels included).
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeChildren();

    LauncherImage *m_image3;
    QLabel *m_lblAppName;
    QLabel *m_label3;
};

} // namespace glintbox
