#include "frmFindFile.h"

#include "FindFileHost.h"
#include "PreviewFit.h"
#include "PreviewPicture.h"
#include "core/ErrorTrap.h"
#include "core/FileNameBytes.h"
#include "core/FileSystem.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "core/Twips.h"
#include "core/lists/DriveList.h"
#include "core/lists/Drives.h"
#include "core/lists/FolderList.h"
#include "viewing/pictures/PictureLoader.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QTreeView>

namespace glintbox {

namespace {

const char *const Patterns[] = {
    "*.AVI", "*.BAS", "*.BAT", "*.BMP",  "*.COM", "*.CUR", "*.DIB", "*.EMF", "*.EXE",
    "*.FRM", "*.GIF", "*.HTM", "*.HTML", "*.ICO", "*.INF", "*.INI", "*.JIF", "*.JPG",
    "*.LOG", "*.LST", "*.MID", "*.MOV",  "*.MPE", "*.MPG", "*.NFO", "*.QT",  "*.RMI",
    "*.RTF", "*.SYS", "*.TXT", "*.VBP",  "*.WAV", "*.WMF",
};

constexpr int BlinkMilliseconds = 600;
// How often a walk adds what it has found to the results list.
constexpr int ResultsEveryMilliseconds = 50;
// The preview frame's size, in twips.
constexpr double PreviewWidth = 3660;
constexpr double PreviewHeight = 3015;

QLabel *plainLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Names and folders come from the file system: never markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(const char *name, const QString &caption, const QString &toolTip,
                    QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(toolTip);
    // Enter belongs to the pattern box, which starts the search itself.
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmFindFile::frmFindFile(FindFileHost &host)
    : QDialog(host.dialogParent())
    , m_host(host)
    , m_diver(host.fileSystem(), host.prompts(),
              {[this](const QString &) { yieldToEvents(); },
               [this](const FoundFiles &found) { m_results.append(found); }})
{
    setObjectName(QStringLiteral("frmFindFile"));
    setWindowTitle(QStringLiteral("Glintbox - Find File"));
    createControls();
    layOutControls();
    connectHandlers();
    Form_Load();
}

void frmFindFile::mnuFindFile_Click(FindFileHost &host)
{
    frmFindFile window(host);
    window.m_c.InputCriteria->setEditText(QStringLiteral("*.*"));
    window.m_c.Drive1->setDrive(host.currentDrive());
    window.m_c.Dir2->setPath(host.currentFolder());
    window.exec();
}

void frmFindFile::createControls()
{
    FindFileControls &c = m_c;
    c.lblCriteria = plainLabel("lblCriteria", QStringLiteral("Search For:"), this);
    c.InputCriteria = new QComboBox(this);
    c.InputCriteria->setObjectName(QStringLiteral("InputCriteria"));
    c.InputCriteria->setEditable(true);
    c.InputCriteria->setInsertPolicy(QComboBox::NoInsert);
    for (const char *pattern : Patterns)
        c.InputCriteria->addItem(QString::fromLatin1(pattern));
    c.InputCriteria->setEditText(QStringLiteral("*.*"));
    c.lblCriteria->setBuddy(c.InputCriteria);
    c.Drive1 = new DriveList(m_host.drives(), this);
    c.Dir2 = new FolderList(m_host.fileSystem(), m_host.drives(), this);
    c.Dir2->setObjectName(QStringLiteral("Dir2"));

    c.ButtonSearch = button("ButtonSearch", QStringLiteral("Find Now"),
                            QStringLiteral("Start Searching For File Types Requested"), this);
    c.ButtonStop =
        button("ButtonStop", QStringLiteral("Stop"), QStringLiteral("Stop Searching"), this);
    c.ButtonStop->setEnabled(false);
    c.ButtonClose = button("ButtonClose", QStringLiteral("Close"),
                           QStringLiteral("Close Find File Form"), this);
    c.ButtonView = button("ButtonView", QStringLiteral("Display File"),
                          QStringLiteral("Send File To Glintbox For Viewing"), this);
    c.ButtonView->setEnabled(false);

    c.Label2 = plainLabel("Label2", QStringLiteral("SEARCHING"), this);
    c.Label3 = plainLabel("Label3", QStringLiteral("SEARCH COMPLETED"), this);
    c.Label4 = plainLabel("Label4", QStringLiteral("SEARCH HALTED"), this);
    QFont status = c.Label2->font();
    status.setBold(true);
    for (QLabel *label : {c.Label2, c.Label3, c.Label4}) {
        label->setFont(status);
        label->hide();
    }
    c.LabelCount = plainLabel("LabelCount", QString(), this);
    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));

    c.ListResults = new QTreeView(this);
    c.ListResults->setObjectName(QStringLiteral("ListResults"));
    c.ListResults->setModel(&m_results);
    c.ListResults->setRootIsDecorated(false);
    c.ListResults->setUniformRowHeights(true);
    c.ListResults->setItemsExpandable(false);
    c.ListResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    c.ListResults->setSelectionMode(QAbstractItemView::SingleSelection);
    c.ListResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.ListResults->setTextElideMode(Qt::ElideMiddle);
    c.LabelSelectedName = plainLabel("LabelSelectedName", QString(), this);
    c.LabelSelectedPath = plainLabel("LabelSelectedPath", QString(), this);
    for (QLabel *label : {c.LabelSelectedName, c.LabelSelectedPath})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    c.Label1 = plainLabel("Label1", QStringLiteral("Image Preview"), this);
    c.Picture1 = new QFrame(this);
    c.Picture1->setObjectName(QStringLiteral("Picture1"));
    c.Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.Picture1->setLineWidth(2);
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    c.Picture1->setFixedSize(twipsToPixels(PreviewWidth, dpi), twipsToPixels(PreviewHeight, dpi));
    c.ImagePreview = new PreviewPicture(c.Picture1);
    c.ImagePreview->hide();
}

void frmFindFile::layOutControls()
{
    FindFileControls &c = m_c;
    auto *search = new QGridLayout;
    search->addWidget(c.lblCriteria, 0, 0);
    search->addWidget(c.InputCriteria, 0, 1);
    search->addWidget(c.Drive1, 1, 1);
    search->addWidget(c.Dir2, 2, 1);
    search->setColumnStretch(1, 1);
    c.Dir2->setMinimumHeight(c.Dir2->fontMetrics().height() * 8);

    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {c.ButtonSearch, c.ButtonStop, c.ButtonClose})
        commands->addWidget(b);
    commands->addSpacing(c.ButtonStop->sizeHint().height() / 2);
    // The three status labels share one place.
    auto *status = new QGridLayout;
    status->addWidget(c.Label2, 0, 0, Qt::AlignCenter);
    status->addWidget(c.Label3, 0, 0, Qt::AlignCenter);
    status->addWidget(c.Label4, 0, 0, Qt::AlignCenter);
    status->setRowMinimumHeight(0, c.Label2->sizeHint().height());
    commands->addLayout(status);
    commands->addWidget(c.LabelCount, 0, Qt::AlignCenter);
    commands->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addLayout(search, 1);
    top->addLayout(commands);

    auto *preview = new QVBoxLayout;
    preview->addWidget(c.Label1);
    preview->addWidget(c.Picture1);
    preview->addWidget(c.LabelSelectedName);
    preview->addWidget(c.LabelSelectedPath);
    preview->addStretch(1);
    preview->addWidget(c.ButtonView);
    c.LabelSelectedName->setMaximumWidth(c.Picture1->width());
    c.LabelSelectedPath->setMaximumWidth(c.Picture1->width());

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(c.ListResults, 1);
    bottom->addLayout(preview);

    auto *window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addLayout(bottom, 1);
    const int lineHeight = fontMetrics().height();
    resize(lineHeight * 48, lineHeight * 34);
}

void frmFindFile::connectHandlers()
{
    FindFileControls &c = m_c;
    connect(c.ButtonSearch, &QPushButton::clicked, this,
            [this] { trapped([this] { ButtonSearch_Click(); }); });
    connect(c.ButtonStop, &QPushButton::clicked, this, [this] { ButtonStop_Click(); });
    connect(c.ButtonClose, &QPushButton::clicked, this, [this] { ButtonClose_Click(); });
    connect(c.ButtonView, &QPushButton::clicked, this,
            [this] { trapped([this] { ButtonView_Click(); }); });
    connect(c.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(c.Drive1, &DriveList::drivePicked, this,
            [this](const QString &drive) { trapped([&] { m_c.Drive1->setDrive(drive); }); });
    connect(c.Drive1, &DriveList::changed, this, [this] { trapped([this] { Drive1_Change(); }); });
    connect(c.Dir2, &FolderList::folderChosen, this,
            [this](const QString &path) { trapped([&] { m_c.Dir2->setPath(path); }); });
    connect(c.Dir2, &FolderList::changed, this, [this] { trapped([this] { Dir2_Change(); }); });
    connect(c.ListResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    trapped([&] { ListResults_ItemClick(current.row()); });
            });
    c.InputCriteria->installEventFilter(this);
}

void frmFindFile::Form_Load()
{
    // Lay the window out so that the results list has its width.
    layout()->activate();
    const double columns = (m_c.ListResults->width() * twipsPerPixel() - 360) / 4;
    m_c.ListResults->setColumnWidth(0, int(columns / twipsPerPixel()));
    m_c.ListResults->setColumnWidth(1, int(columns * 3 / twipsPerPixel()));
    m_c.Timer1->start(BlinkMilliseconds);
    m_searchRunning = false;
}

double frmFindFile::twipsPerPixel() const
{
    return pixelsToTwips(1, logicalDpiY() > 0 ? logicalDpiY() : 96.0);
}

void frmFindFile::trapped(const std::function<void()> &handler)
{
    runTrapped(m_host.prompts(), handler);
}

void frmFindFile::ButtonSearch_Click()
{
    // A walk is never started inside another one's yield.
    if (m_diver.isDiving())
        return;
    FindFileControls &c = m_c;
    m_searchRunning = true;
    m_halted = false;
    clearPreview();
    clearResults();
    c.ButtonStop->setEnabled(true);
    c.ButtonSearch->setEnabled(false);
    c.Label3->hide();
    c.Label4->hide();
    // Whatever ends the walk, the window comes back to rest.
    const auto finish = qScopeGuard([this] { finishSearch(); });
    m_sinceResultsShown.start();
    m_diver.dive(c.Dir2->path(), WildcardPattern(c.InputCriteria->currentText()));
}

void frmFindFile::yieldToEvents()
{
    if (m_sinceResultsShown.hasExpired(ResultsEveryMilliseconds)) {
        m_results.showPending();
        m_sinceResultsShown.start();
    }
    QCoreApplication::processEvents();
}

void frmFindFile::finishSearch()
{
    FindFileControls &c = m_c;
    m_results.showPending();
    const qsizetype count = m_results.rowCount();
    c.LabelCount->setText(QString::number(count) + (count == 1 ? QStringLiteral(" file found")
                                                               : QStringLiteral(" files found")));
    c.ButtonStop->setEnabled(false);
    c.ButtonSearch->setEnabled(true);
    c.ButtonView->setEnabled(true);
    m_searchRunning = false;
    // After Stop the window says so, rather than "completed". "SEARCHING"
    // shares their place and goes at once.
    c.Label2->hide();
    if (!m_halted)
        c.Label3->show();
    if (m_closeWhenWalkEnds)
        QDialog::reject();
}

void frmFindFile::ButtonStop_Click()
{
    m_searchRunning = false;
    m_halted = true;
    m_diver.stop();
    m_c.Label2->hide();
    m_c.Label4->show();
    m_c.ButtonStop->setEnabled(false);
}

void frmFindFile::ButtonClose_Click()
{
    reject();
}

void frmFindFile::reject()
{
    // The walk runs on this window's stack: it is stopped, and the window
    // closes once it has unwound.
    if (m_diver.isDiving()) {
        m_closeWhenWalkEnds = true;
        ButtonStop_Click();
        return;
    }
    QDialog::reject();
}

void frmFindFile::Timer1_Timer()
{
    if (!m_searchRunning) {
        m_c.Label2->hide();
        return;
    }
    m_c.Label3->hide();
    m_c.Label4->hide();
    m_c.Label2->setVisible(!m_c.Label2->isVisible());
}

void frmFindFile::Drive1_Change()
{
    m_c.ImagePreview->hide();
    const QString oldPath = m_c.Dir2->path();
    const std::optional<Drive> oldDrive = driveContaining(m_host.drives().drives(), oldPath);
    try {
        m_c.Dir2->setPath(m_c.Drive1->drive());
    } catch (const RunTimeError &) {
        m_host.prompts().message(QStringLiteral("Please insert a disk into the selected drive."),
                                 QStringLiteral("Drive ") + m_c.Drive1->drive(),
                                 PromptIcon::Critical, PromptButtons::Ok);
        if (oldDrive)
            m_c.Drive1->setDrive(oldDrive->text());
        m_c.Dir2->setPath(oldPath);
    }
}

void frmFindFile::Dir2_Change()
{
    clearPreview();
    clearResults();
}

void frmFindFile::clearPreview()
{
    m_c.ImagePreview->hide();
    m_c.ImagePreview->setPicture(Picture());
}

void frmFindFile::clearResults()
{
    m_c.LabelSelectedPath->clear();
    m_c.LabelSelectedName->clear();
    m_selectedName.clear();
    m_selectedFolder.clear();
    m_results.clear();
    m_c.ButtonView->setEnabled(false);
}

void frmFindFile::InputCriteria_GotFocus()
{
    m_c.InputCriteria->lineEdit()->selectAll();
}

void frmFindFile::InputCriteria_KeyPress(int keyAscii)
{
    clearPreview();
    if (keyAscii == '\r')
        ButtonSearch_Click();
}

bool frmFindFile::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_c.InputCriteria) {
        if (event->type() == QEvent::FocusIn) {
            InputCriteria_GotFocus();
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter || !key->text().isEmpty())
                trapped(
                    [&] { InputCriteria_KeyPress(enter ? '\r' : key->text().at(0).unicode()); });
            // Enter is the pattern box's own: it must not reach the dialog.
            if (enter)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmFindFile::ListResults_ItemClick(int row)
{
    const FoundFilesModel::Row &item = m_results.row(row);
    m_selectedFolder = item.folderText;
    m_selectedName = item.name;
    m_c.LabelSelectedPath->setText(displayableFileName(item.folderText));
    m_c.LabelSelectedName->setText(displayableFileName(item.name));
    PreviewImage(item.folderText + item.name);
}

void frmFindFile::PreviewImage(const QString &fullPath)
{
    PreviewPicture &preview = *m_c.ImagePreview;
    preview.hide();
    preview.setPicture(Picture());
    if (!isPreviewPicture(fullPath))
        return;
    preview.setPicture(loadPicture(m_host.fileSystem().readAll(fullPath)));
    const double perPixel = twipsPerPixel();
    const QSizeF frame(m_c.Picture1->width() * perPixel, m_c.Picture1->height() * perPixel);
    const QRectF placed =
        previewPlacement(preview.picture().naturalSizeTwips(logicalDpiY()), frame);
    // Positions count from inside the frame's border.
    const QPoint inside = m_c.Picture1->contentsRect().topLeft();
    preview.setGeometry(
        QRect(inside + QPoint(qRound(placed.left() / perPixel), qRound(placed.top() / perPixel)),
              QSize(qRound(placed.width() / perPixel), qRound(placed.height() / perPixel))));
    preview.show();
}

void frmFindFile::ButtonView_Click()
{
    if (m_c.LabelSelectedPath->text().isEmpty())
        return;
    const QString name = m_selectedName;
    m_host.showFolder(m_selectedFolder);
    accept();
    m_host.selectFile(name);
}

} // namespace glintbox
