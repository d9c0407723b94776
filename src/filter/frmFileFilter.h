#pragma once

#include "filter/FileTypeTable.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace glintbox {

class FilterHost;
class FilterModel;
struct FilterState;

// The File Filtering dialog: one check box per filter entry, kept consistent
// by the check rules; every way out confirms the ticks into the file list.
class frmFileFilter : public QDialog {
    Q_OBJECT

public:
    frmFileFilter(FilterHost &host, FilterState &state, QWidget *parent = nullptr);

    QCheckBox *box(int entry) const { return m_boxes[entry]; }
    QCheckBox *box(QStringView key) const;
    QPushButton *okButton() const { return m_btnOK; }
    // The 38 box states, in key order.
    FilterModel boxStates() const;

public slots:
    // The confirm operation, under the error trap.
    void btnOK_Click();
    // Escape closes like the close box, so it also confirms.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void confirm();
    void applyCheckRule(int entry, bool ticked);
    QCheckBox *createBox(int entry, const char *name, const char *caption, const char *toolTip);
    QWidget *createGroupPanel(FileTypeGroup group);

    FilterHost &m_host;
    FilterState &m_state;
    std::array<QCheckBox *, FilterEntryCount> m_boxes{};
    QPushButton *m_btnOK = nullptr;
    bool m_handlingClose = false;
};

} // namespace glintbox
