#pragma once

#include <QDialog>

class QLabel;

namespace glintbox {

// The About window: the product, its version, its maker, where to find and
// write to them, and the licence.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    void Form_Load();

    QLabel *Label3() const { return m_Label3; }

private:
    QLabel *m_Label3;
};

} // namespace glintbox
