#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

namespace glintbox {

// The credits window: thanks to the projects Glintbox stands on, in a picture
// that rises slowly through its frame and then starts over from the top.
class frmBugBusters : public QDialog {
    Q_OBJECT
public:
    // Each tick raises the picture this far; past the restart distance it
    // goes back to the top.
    static constexpr double StepTwips = 30;
    static constexpr int RestartAfterTwips = 5200;
    static constexpr int TickMilliseconds = 100;

    explicit frmBugBusters(QWidget *parent = nullptr);

    void Form_Load();
    void Timer1_Timer();

    // The picture's top inside its frame, twips (0 or less).
    double imageTopTwips() const { return m_imageTop; }
    qint16 scrollDistance() const { return m_scrollDistance; }

    QTimer *Timer1() const { return m_Timer1; }
    QLabel *Image1() const { return m_Image1; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawPicture();
    void placePicture();

    QFrame *m_Picture1;
    QLabel *m_Image1;
    QTimer *m_Timer1;
    double m_imageTop = 0;
    qint16 m_scrollDistance = 0;
};

} // namespace glintbox
