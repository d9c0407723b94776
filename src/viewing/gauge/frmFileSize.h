#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace glintbox {

class Prompts;

// The Maximum File Size dialog: shows the maximum in KiloBytes and returns the
// confirmed new maximum in bytes, or nothing when cancelled.
class frmFileSize : public QDialog {
    Q_OBJECT

public:
    frmFileSize(Prompts &prompts, double currentMaximum, QWidget *parent = nullptr);

    // Opens the dialog modally; the new maximum in bytes, or nothing.
    static std::optional<double> askMaximum(QWidget *parent, Prompts &prompts,
                                            double currentMaximum);

    // Whether a typed character reaches the text box: digits and Backspace only.
    static bool txtInputMaxFile_KeyPress(QChar typed);

    std::optional<double> confirmedMaximum() const { return m_confirmedMaximum; }

    QLineEdit *txtInputMaxFile() const { return m_txtInputMaxFile; }
    QPushButton *btnOptionsOK() const { return m_btnOptionsOK; }
    QPushButton *btnOptionsClear() const { return m_btnOptionsClear; }
    QPushButton *btnOptionCancel() const { return m_btnOptionCancel; }

public slots:
    void btnOptionsOK_Click();
    void btnOptionsClear_Click();
    void btnOptionCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createBanner();

    Prompts &m_prompts;
    std::optional<double> m_confirmedMaximum;
    QLineEdit *m_txtInputMaxFile;
    QPushButton *m_btnOptionsOK;
    QPushButton *m_btnOptionsClear;
    QPushButton *m_btnOptionCancel;
};

} // namespace glintbox
