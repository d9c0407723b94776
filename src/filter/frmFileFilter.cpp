#include "frmFileFilter.h"

#include "FilterHost.h"
#include "FilterModel.h"
#include "FilterRules.h"
#include "FilterState.h"
#include "core/ErrorTrap.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcFilter, "glintbox.filter", QtWarningMsg)

namespace glintbox {

frmFileFilter::frmFileFilter(FilterHost &host, FilterState &state, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmFileFilter"));
    setWindowTitle(QStringLiteral("Glintbox - File Filtering"));

    auto *layout = new QVBoxLayout(this);
    for (int entry : {AnyEntry, AllEntry}) {
        const FilterEntryInfo &info = FilterHeadEntries[entry];
        layout->addWidget(createBox(entry, info.checkBoxName, info.caption, info.toolTip), 0,
                          Qt::AlignHCenter);
    }
    layout->addSpacing(6);

    auto *panels = new QHBoxLayout;
    for (FileTypeGroup group : FileTypeGroups)
        panels->addWidget(createGroupPanel(group));
    layout->addLayout(panels);
    layout->addSpacing(6);

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnOK->setMinimumWidth(m_btnOK->sizeHint().width() * 3 / 2);
    layout->addWidget(m_btnOK, 0, Qt::AlignHCenter);
    connect(m_btnOK, &QPushButton::clicked, this, &frmFileFilter::btnOK_Click);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QCheckBox *frmFileFilter::createBox(int entry, const char *name, const char *caption,
                                    const char *toolTip)
{
    auto *box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QString::fromLatin1(toolTip));
    connect(box, &QCheckBox::toggled, this,
            [this, entry](bool ticked) { applyCheckRule(entry, ticked); });
    m_boxes[entry] = box;
    return box;
}

QWidget *frmFileFilter::createGroupPanel(FileTypeGroup group)
{
    const FilterEntryInfo &info = groupEntry(group);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("fra") + QString::fromLatin1(info.caption));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    auto *grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(18);
    QCheckBox *groupBox =
        createBox(groupEntryIndex(group), info.checkBoxName, info.caption, info.toolTip);
    QFont bold = groupBox->font();
    bold.setBold(true);
    groupBox->setFont(bold);

    auto *rule = new QFrame(panel);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    int column = 0;
    int rowCount = 0;
    for (const FilterColumn &filterColumn : FilterColumns) {
        if (filterColumn.group != group)
            continue;
        int row = 2;
        for (int type : filterColumn.types) {
            const FileType &fileType = FileTypes[type];
            grid->addWidget(createBox(typeEntryIndex(type), fileType.checkBoxName, fileType.caption,
                                      fileType.toolTip),
                            row++, column, Qt::AlignLeft | Qt::AlignTop);
        }
        rowCount = std::max(rowCount, row);
        ++column;
    }
    grid->addWidget(groupBox, 0, 0, 1, column, Qt::AlignLeft);
    grid->addWidget(rule, 1, 0, 1, column);
    // The panels share one height; their boxes stay at the top.
    grid->setRowStretch(rowCount, 1);
    return panel;
}

QCheckBox *frmFileFilter::box(QStringView key) const
{
    const int entry = filterEntryIndex(key);
    return entry < 0 ? nullptr : m_boxes[entry];
}

FilterModel frmFileFilter::boxStates() const
{
    FilterModel states;
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        states.setOn(entry, m_boxes[entry]->isChecked());
    return states;
}

void frmFileFilter::applyCheckRule(int entry, bool ticked)
{
    if (!ticked)
        return;
    // The boxes cleared here run their own rule with "unticked", which does
    // nothing, so the clearing never cascades.
    const QList<int> cleared = entriesClearedBy(entry);
    for (int other : cleared)
        m_boxes[other]->setChecked(false);
}

void frmFileFilter::btnOK_Click()
{
    runTrapped(m_host.prompts(), [this] { confirm(); });
}

void frmFileFilter::confirm()
{
    const FilterModel states = boxStates();
    const QString pattern = buildFileListPattern(states);
    qCDebug(lcFilter) << "file list pattern" << pattern;
    m_host.setFileListPattern(pattern);
    m_host.emptyViewer();
    m_state.model = states;
    m_host.setFileCountLabel(m_host.fileListCount());
    m_state.closingFlag = true;
    // When the close request itself runs this, it closes the dialog on return.
    if (!m_handlingClose)
        close();
}

void frmFileFilter::reject()
{
    close();
}

void frmFileFilter::closeEvent(QCloseEvent *event)
{
    m_handlingClose = true;
    // Closing without OK keeps and applies the ticks, as OK does; if that
    // fails, the error has been reported and the dialog closes all the same.
    if (!m_state.closingFlag)
        btnOK_Click();
    m_state.closingFlag = false;
    m_handlingClose = false;
    event->accept();
    done(QDialog::Accepted);
}

} // namespace glintbox
