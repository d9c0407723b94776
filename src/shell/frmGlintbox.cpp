#include "frmGlintbox.h"

#include "MainMenus.h"
#include "Navigation.h"
#include "StartTarget.h"
#include "StartupShutdown.h"
#include "StatusLine.h"
#include "ViewerKeys.h"
#include "core/Colours.h"
#include "core/ErrorTrap.h"
#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/PlainToolTip.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "core/Twips.h"
#include "core/lists/DriveList.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "filter/FileFilter.h"
#include "findfile/frmFindFile.h"
#include "info/HelpMenu.h"
#include "layout/WindowLayout.h"
#include "layout/WindowPlacement.h"
#include "textops/CommonDialog.h"
#include "textops/FontsAndColours.h"
#include "textops/edit/FileCommands.h"
#include "textops/edit/TextEditing.h"
#include "textops/print/Printing.h"
#include "textops/search/TextSearch.h"
#include "toolbar/MainToolbar.h"
#include "toolbar/WrappingToolBar.h"
#include "viewing/display/FileDisplay.h"
#include "viewing/display/ViewModes.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/gauge/frmFileSize.h"
#include "viewing/launcher/ApplicationLauncher.h"
#include "viewing/launcher/LauncherPanel.h"
#include "viewing/modes/IconFrames.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"
#include "viewing/zoom/ImageZoom.h"
#include "viewing/zoom/ZoomControls.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolBar>

namespace glintbox {

frmGlintbox::frmGlintbox(GlintboxServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_exit([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("frmGlintbox"));
    createControls();
    m_navigation = std::make_unique<Navigation>(m_state, m_controls, m_services.prompts,
                                                [this] { ClearViewer(); });
    m_fileFilter = std::make_unique<FileFilter>(*this);
    m_viewModes = std::make_unique<ViewModes>(m_state, m_viewer, *this);
    m_fileDisplay = std::make_unique<FileDisplay>(m_state, m_viewer, *this, *m_viewModes);
    m_viewModes->setShowFile([this] { File1_Click(); });
    m_keys = std::make_unique<ViewerKeys>(m_state, m_services.prompts);
    m_placement = new WindowPlacement(*this, WindowFrame::of(*this));
    m_layout = new WindowLayout(*this, *m_client, *m_placement, m_state, m_controls, m_viewer,
                                m_services.prompts);
    m_imageZoom = std::make_unique<ImageZoom>(m_state, m_viewer, *this);
    m_launcher = std::make_unique<ApplicationLauncher>(m_state, *this, m_services.starter);
    // The help files lie beside the program.
    m_helpMenu = std::make_unique<HelpMenu>(*this, m_services.prompts, m_services.fs,
                                            QCoreApplication::applicationDirPath());
    m_commonDialog =
        std::make_unique<CommonDialog>(m_state, m_services.dialogs, *this, *m_viewer.Text1);
    m_fontsAndColours = std::make_unique<FontsAndColours>(
        m_state, *m_commonDialog, m_services.prompts, [this] { applyBackgroundColours(); });
    m_printing = std::make_unique<Printing>(m_state, m_viewer, *this, *m_commonDialog);
    m_textEditing = std::make_unique<TextEditing>(m_state, *m_viewer.Text1, m_services.prompts,
                                                  m_services.fs, [this] { File1_Click(); });
    m_fileCommands =
        std::make_unique<FileCommands>(m_viewer, *this, *this, *m_commonDialog, *m_textEditing);
    m_textSearch = std::make_unique<TextSearch>(m_state, *m_viewer.Text1, m_services.prompts);
    m_keys->setActions({[this](int keyAscii) { m_imageZoom->zoomStep(keyAscii); },
                        [this] { m_launcher->Image3_DblClick(); }});
    connectHandlers();
    // The lists start in the start folder; when that has gone they start
    // empty and start-up moves them on.
    try {
        m_controls.Drive1->showDriveOf(m_services.startFolder);
        m_controls.Dir1->setPath(m_services.startFolder);
    } catch (const RunTimeError &) {
    }
}

frmGlintbox::~frmGlintbox() = default;

void frmGlintbox::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_controls.menus = new MainMenus(menuBar(), m_services.prompts);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, m_client);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_controls.Drive1 = new DriveList(m_services.drives, m_client);
    m_controls.Dir1 = new FolderList(m_services.fs, m_services.drives, m_client);
    m_controls.File1 = new FileList(m_services.fs, m_client);
    m_controls.File1->setPattern(QString::fromLatin1(AllPattern));
    m_controls.Label1 = label("Label1", QStringLiteral("Showing"));
    m_controls.Label2 = label("Label2", QStringLiteral("0"));
    m_controls.Label2->setToolTip(QStringLiteral("Number of Files Showing in File List"));
    m_controls.Label4 = label("Label4", QStringLiteral("files"));
    m_controls.Label5 = label("Label5", QStringLiteral("0"));
    m_controls.Label5->setToolTip(
        QStringLiteral("Number of Directories Showing in Directory List"));
    m_controls.Label6 = label("Label6", QStringLiteral("dir's"));
    QFont countFont = m_controls.Label1->font();
    countFont.setPointSizeF(countFont.pointSizeF() * 0.85);
    for (QLabel *count : {m_controls.Label1, m_controls.Label2, m_controls.Label4,
                          m_controls.Label5, m_controls.Label6})
        count->setFont(countFont);
    m_controls.chkAutoMode = new QCheckBox(QStringLiteral("RTF Mode"), m_client);
    m_controls.chkAutoMode->setObjectName(QStringLiteral("chkAutoMode"));
    m_controls.chkAutoMode->setToolTip(
        QStringLiteral("Display 'Rich Text Format' files in true 'Rich Text Format'."));
    m_controls.chkHTMLmode = new QCheckBox(QStringLiteral("HTML Mode"), m_client);
    m_controls.chkHTMLmode->setObjectName(QStringLiteral("chkHTMLmode"));
    m_controls.chkHTMLmode->setToolTip(QStringLiteral("Display 'HTML' files in a Web Browser."));
    m_controls.chkHTMLmode->raise();
    // Both switches share the list column's width, which at the desktop's
    // font only holds their captions in the count line's smaller type.
    m_controls.chkAutoMode->setFont(countFont);
    m_controls.chkHTMLmode->setFont(countFont);
    m_controls.StatusBar = new QFrame(m_client);
    m_controls.StatusBar->setObjectName(QStringLiteral("StatusBar"));
    m_controls.StatusBar->setFrameShape(QFrame::StyledPanel);
    m_controls.StatusBar->setFrameShadow(QFrame::Sunken);
    m_controls.InputFileProperties = new StatusLine(m_controls.StatusBar);
    createViewer();
    createToolbar();
    m_controls.timIconSwitch = new QTimer(this);
    m_controls.timIconSwitch->setObjectName(QStringLiteral("timIconSwitch"));
}

void frmGlintbox::createViewer()
{
    ViewerControls &v = m_viewer;
    v.window = this;
    v.Text1 = new RichTextBox(m_client);
    v.Text1->setObjectName(QStringLiteral("Text1"));
    v.WebBrowser1 = new WebBrowserView(m_services.fs, m_client);
    v.WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    v.Picture2 = new ImageViewport(m_client);
    v.ActiveMovie1 = new MoviePlayer(m_services.fs, m_client);
    v.ActiveMovie1->setObjectName(QStringLiteral("ActiveMovie1"));
    auto *launchPanel = new LauncherPanel(m_client);
    v.picLaunchWindow = launchPanel;
    v.lblAppName = launchPanel->lblAppName();
    v.gauge = new SizeGauge(m_client);
    v.chkAutoMode = m_controls.chkAutoMode;
    v.chkHTMLmode = m_controls.chkHTMLmode;
    v.mnuWebMode = m_controls.menus->item(MenuCommand::mnuWebMode);
    v.mnuWordWrap = m_controls.menus->item(MenuCommand::mnuWordWrap);
    v.menuItems = m_controls.menus->items();
    for (QWidget *view : {static_cast<QWidget *>(v.WebBrowser1), static_cast<QWidget *>(v.Picture2),
                          static_cast<QWidget *>(v.ActiveMovie1), v.picLaunchWindow})
        view->hide();
    v.Text1->raise();
}

void frmGlintbox::createToolbar()
{
    auto *toolbar = new WrappingToolBar(QStringLiteral("Toolbar1"), this);
    addToolBar(toolbar);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    // The toolbar holds the zoom controls and lives as long as the window:
    // no right-click menu that hides it.
    setContextMenuPolicy(Qt::NoContextMenu);
    m_controls.Toolbar1 = toolbar;
    m_toolbar = new MainToolbar(toolbar, *m_controls.menus, m_state);
    m_viewer.toolbarButtons = m_toolbar->buttons();
    addZoomControls(*toolbar, m_viewer);
}

void frmGlintbox::applyBackgroundColours()
{
    m_viewer.Text1->setBackgroundColour(m_state.textColour);
    m_viewer.Picture2->setBackColour(m_state.pictureColour);
    QPalette launch = m_viewer.picLaunchWindow->palette();
    launch.setColor(QPalette::Window, resolveColour(m_state.launchColour, palette()));
    m_viewer.picLaunchWindow->setPalette(launch);
}

void frmGlintbox::connectHandlers()
{
    MainControls &c = m_controls;
    connect(c.Drive1, &DriveList::changed, this, [this] { m_navigation->Drive1_Change(); });
    connect(c.Drive1, &DriveList::drivePicked, this,
            [this](const QString &drive) { trapped([&] { m_controls.Drive1->setDrive(drive); }); });
    connect(c.Dir1, &FolderList::changed, this, [this] { m_navigation->Dir1_Change(); });
    connect(c.Dir1, &FolderList::folderChosen, this,
            [this](const QString &path) { trapped([&] { m_controls.Dir1->setPath(path); }); });
    // Typing in the folder list has no effect of its own.
    connect(c.File1, &FileList::click, this, [this] { File1_Click(); });
    connect(c.File1, &FileList::keyPressed, this,
            [this](int key) { trapped([&] { m_keys->File1_KeyPress(key); }); });
    connect(c.timIconSwitch, &QTimer::timeout, this, [this] { timIconSwitch_Timer(); });
    connect(c.chkAutoMode, &QCheckBox::toggled, this,
            [this] { trapped([this] { m_viewModes->chkAutoMode_Click(); }); });
    connect(c.chkHTMLmode, &QCheckBox::toggled, this,
            [this] { trapped([this] { m_viewModes->chkHTMLmode_Click(); }); });
    connect(m_viewer.ActiveMovie1, &MoviePlayer::playStateChanged, this,
            [this] { focusFileList(); });
    auto *launchPanel = static_cast<LauncherPanel *>(m_viewer.picLaunchWindow);
    connect(launchPanel, &LauncherPanel::Image3_DblClick, this,
            [this] { m_launcher->Image3_DblClick(); });
    connect(launchPanel, &LauncherPanel::clicked, this,
            [this] { m_launcher->picLaunchWindow_Click(); });
    connect(m_viewer.ActiveMovie1, &MoviePlayer::errorOccurred, this, [this] {
        if (const auto error = m_viewer.ActiveMovie1->error())
            showErrorReport(m_services.prompts, *error);
    });

    // The menus run every command under the error trap. A command added to the
    // menus is wired here; a test holds every command to that.
    MainMenus &menus = *c.menus;
    using M = MenuCommand;
    menus.wire(M::mnuExit, [this] { mnuExit_Click(); });
    menus.wire(M::mnuRefresh, [this] { m_navigation->mnuRefresh_Click(); });
    menus.wire(M::mnuControl, [this](int index) { mnuControl_Click(index); });
    menus.wire(M::mnuKeys, [this](int index) { m_keys->mnuKeys_Click(index); });
    menus.wire(M::mnuEnter, [this] { m_keys->mnuEnter_Click(); });
    menus.wire(M::mnuFilter, [this] { m_fileFilter->mnuFilter_Click(); });
    menus.wire(M::mnuWebMode, [this] { m_viewModes->mnuWebMode_Click(); });
    menus.wire(M::mnuWordWrap, [this] { m_viewModes->mnuWordWrap_Click(); });
    menus.wire(M::mnuFileSize, [this] { mnuFileSize_Click(); });
    menus.wire(M::mnuFontSize, [this] { m_fontsAndColours->mnuFontSize_Click(); });
    menus.wire(M::mnuBackColour, [this](int) { m_fontsAndColours->mnuBackColour_Click(); });
    menus.wire(M::mnuPrint, [this] { m_printing->mnuPrint_Click(); });
    menus.wire(M::mnuHelp, [this] { m_helpMenu->mnuHelp_Click(); });
    menus.wire(M::mnuBug, [this] { m_helpMenu->mnuBug_Click(); });
    menus.wire(M::mnuGlintbox, [this] { m_helpMenu->mnuGlintbox_Click(); });
    menus.wire(M::mnuFindFile, [this] { mnuFindFile_Click(); });
    menus.wire(M::mnuNewFile, [this] { m_fileCommands->mnuNewFile_Click(); });
    menus.wire(M::mnuDeleteFile, [this] { m_fileCommands->mnuDeleteFile_Click(); });
    menus.wire(M::mnuEdit, [this](int index) { m_textEditing->mnuEdit_Click(index); });
    menus.wire(M::mnuSelect, [this] { m_textEditing->mnuSelect_Click(); });
    menus.wire(M::mnuSearch, [this] { m_textSearch->mnuSearch_Click(); });
    // The text box leaves the window's shortcuts (Del, Ctrl+Z, ...) to the menu.
    m_viewer.Text1->setWindowShortcuts(menus.windowShortcuts());
}

void frmGlintbox::trapped(const std::function<void()> &handler)
{
    runTrapped(m_services.prompts, handler);
}

void frmGlintbox::Form_Load()
{
    std::optional<StartTarget> target;
    if (!m_services.openPath.isEmpty())
        target = startTargetOf(m_services.openPath, m_services.fs, m_services.drives,
                               m_services.prompts);
    StartupShutdown(*this, m_services.store).Form_Load(target);
}

void frmGlintbox::Form_QueryUnload()
{
    StartupShutdown(*this, m_services.store).Form_QueryUnload();
}

void frmGlintbox::mnuExit_Click()
{
    m_exiting = true;
    m_exit();
}

void frmGlintbox::closeEvent(QCloseEvent *event)
{
    if (!m_exiting)
        Form_QueryUnload();
    // The closing itself is never cancelled.
    event->accept();
}

void frmGlintbox::mnuControl_Click(int index)
{
    m_layout->mnuControl_Click(index);
}

double frmGlintbox::logicalDpi() const
{
    return logicalDpiOf(*this);
}

void frmGlintbox::Form_Resize()
{
    m_layout->Form_Resize();
}

QRectF frmGlintbox::outerGeometryTwips() const
{
    return m_placement->outerTwips();
}

void frmGlintbox::setOuterGeometryTwips(const QRectF &twips)
{
    m_placement->place(twips);
}

void frmGlintbox::ClearViewer()
{
    m_viewModes->ClearViewer();
}

void frmGlintbox::File1_Click()
{
    // Typed changes are saved before the display measures the file.
    m_textEditing->offerToSave();
    m_fileDisplay->File1_Click();
}

QString frmGlintbox::fileListPath() const
{
    return m_controls.File1->path();
}

QString frmGlintbox::fileListFileName() const
{
    return m_controls.File1->fileName();
}

void frmGlintbox::setFileListToolTip(const QString &text)
{
    m_controls.File1->setToolTip(plainToolTip(text));
}

void frmGlintbox::focusFileList()
{
    m_controls.File1->setFocus();
}

void frmGlintbox::setStatusLine(const QString &text, const QString &fileName)
{
    m_controls.InputFileProperties->setLine(text, fileName);
}

void frmGlintbox::Dir1_Change()
{
    m_navigation->Dir1_Change();
}

void frmGlintbox::textShown(const ShownText &shown)
{
    m_textEditing->textShown(shown);
    m_textSearch->textShown(shown);
}

int frmGlintbox::fileListIndex() const
{
    return m_controls.File1->listIndex();
}

QString frmGlintbox::fileListEntry(int index) const
{
    return m_controls.File1->entry(index);
}

void frmGlintbox::setFileListIndex(int index)
{
    m_controls.File1->setListIndex(index);
}

void frmGlintbox::refreshFileList()
{
    m_controls.File1->refresh();
}

void frmGlintbox::mnuFileSize_Click()
{
    if (const auto maximum = frmFileSize::askMaximum(this, m_services.prompts, m_state.maxFileSize))
        m_state.maxFileSize = *maximum;
}

void frmGlintbox::mnuFindFile_Click()
{
    frmFindFile::mnuFindFile_Click(*this);
}

QString frmGlintbox::currentDrive() const
{
    return m_controls.Drive1->drive();
}

QString frmGlintbox::currentFolder() const
{
    return m_controls.Dir1->path();
}

void frmGlintbox::showFolder(const QString &folder)
{
    const std::optional<Drive> drive = driveContaining(m_services.drives.drives(), folder);
    if (!drive)
        throw RunTimeError(DeviceUnavailable, folder);
    m_controls.Drive1->setDrive(drive->text());
    m_controls.Dir1->setPath(folder);
    m_controls.File1->setPath(m_controls.Dir1->path());
}

void frmGlintbox::selectFile(const QString &name)
{
    // Names that differ only in case are different files here.
    for (int i = 0; i < m_controls.File1->listCount(); ++i) {
        if (m_controls.File1->entry(i) == name) {
            m_controls.File1->setListIndex(i);
            return;
        }
    }
}

void frmGlintbox::setFileListPattern(const QString &pattern)
{
    m_controls.File1->setPattern(pattern);
}

void frmGlintbox::emptyViewer()
{
    m_viewer.Text1->setText(QString());
    m_viewer.Picture2->clearPicture();
}

int frmGlintbox::fileListCount() const
{
    return m_controls.File1->listCount();
}

void frmGlintbox::setFileCountLabel(int count)
{
    m_controls.Label2->setText(QString::number(count));
}

void frmGlintbox::showFirstFileOrClear()
{
    m_navigation->showFirstFileOrClear();
}

void frmGlintbox::HandleViewerKey(int keyAscii)
{
    trapped([&] { m_keys->HandleViewerKey(keyAscii); });
}

void frmGlintbox::timIconSwitch_Timer()
{
    trapped([this] { m_viewModes->timIconSwitch_Timer(); });
}

} // namespace glintbox
