#pragma once

#include "MainControls.h"
#include "core/GlintboxState.h"
#include "filter/FilterHost.h"
#include "findfile/FindFileHost.h"
#include "textops/edit/FileListHost.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/display/ViewerControls.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace glintbox {

class ApplicationLauncher;
class CommonDialog;
class CommonDialogs;
class FileCommands;
class TextEditing;
class TextSearch;
class FontsAndColours;
class Printing;
class DriveSource;
class FileSystem;
class FileDisplay;
class FileFilter;
class HelpMenu;
class ImageZoom;
class ViewModes;
class MainToolbar;
class Navigation;
class ViewerKeys;
class WindowLayout;
class WindowPlacement;
class Prompts;
class ProgramStarter;
class SettingsStore;

// What the main window needs from the world; tests pass fakes.
struct GlintboxServices {
    Prompts &prompts;
    FileSystem &fs;
    DriveSource &drives;
    SettingsStore &store;
    ProgramStarter &starter;
    CommonDialogs &dialogs;
    // The folder the lists show before the stored one is restored: the
    // program's working folder.
    QString startFolder;
    // A file or folder named on the command line, absolute; empty for none.
    QString openPath = {};
};

// The main window: creates the controls, holds the shared state and wires the
// subsystems; the handlers live in the subsystems' classes.
class frmGlintbox : public QMainWindow,
                    public FilterHost,
                    public DisplayHost,
                    public FindFileHost,
                    public FileListHost {
    Q_OBJECT
public:
    explicit frmGlintbox(GlintboxServices services, QWidget *parent = nullptr);
    ~frmGlintbox() override;

    void Form_Load();
    void Form_QueryUnload();
    void mnuExit_Click();
    void mnuControl_Click(int index);
    void Form_Resize();
    void ClearViewer();
    void File1_Click();
    void HandleViewerKey(int keyAscii);
    void timIconSwitch_Timer();
    // Paints the views in the background colours of the shared state.
    void applyBackgroundColours();

    GlintboxState &state() { return m_state; }
    MainControls &controls() { return m_controls; }
    ViewerControls &viewer() { return m_viewer; }
    ViewModes &viewModes() { return *m_viewModes; }
    Navigation &navigation() { return *m_navigation; }
    FileFilter &fileFilter() { return *m_fileFilter; }
    ViewerKeys &viewerKeys() { return *m_keys; }
    MainToolbar &toolbar() { return *m_toolbar; }
    WindowLayout &windowLayout() { return *m_layout; }
    WindowPlacement &windowPlacement() { return *m_placement; }
    HelpMenu &helpMenu() { return *m_helpMenu; }
    CommonDialog &commonDialog() { return *m_commonDialog; }
    TextEditing &textEditing() { return *m_textEditing; }
    TextSearch &textSearch() { return *m_textSearch; }
    Prompts &prompts() override { return m_services.prompts; }
    FileSystem &fileSystem() override { return m_services.fs; }

    // How File > Exit ends the program; tests replace it.
    void setExitHandler(std::function<void()> exit) { m_exit = std::move(exit); }

    // The window's outer size and position in twips, as stored.
    QRectF outerGeometryTwips() const;
    void setOuterGeometryTwips(const QRectF &twips);
    double logicalDpi() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void trapped(const std::function<void()> &handler);

    // What the file filter needs from the window.
    void setFileListPattern(const QString &pattern) override;
    void emptyViewer() override;
    int fileListCount() const override;
    void setFileCountLabel(int count) override;
    void showFirstFileOrClear() override;
    QWidget *dialogParent() override { return this; }

    // What the file display needs from the window.
    QString fileListPath() const override;
    QString fileListFileName() const override;
    void setFileListToolTip(const QString &text) override;
    void focusFileList() override;
    void setStatusLine(const QString &text, const QString &fileName) override;
    void Dir1_Change() override;
    void textShown(const ShownText &shown) override;

    // What creating and deleting files need from the window.
    int fileListIndex() const override;
    QString fileListEntry(int index) const override;
    void setFileListIndex(int index) override;
    void refreshFileList() override;

    void createViewer();
    void createToolbar();
    void mnuFileSize_Click();
    void mnuFindFile_Click();

    // What the Find File window, and creating files, need from the window.
    QString currentDrive() const override;
    QString currentFolder() const override;
    void showFolder(const QString &folder) override;
    void selectFile(const QString &name) override;
    DriveSource &drives() override { return m_services.drives; }

    GlintboxServices m_services;
    GlintboxState m_state;
    MainControls m_controls;
    ViewerControls m_viewer;
    std::unique_ptr<Navigation> m_navigation;
    std::unique_ptr<FileFilter> m_fileFilter;
    std::unique_ptr<ViewModes> m_viewModes;
    std::unique_ptr<FileDisplay> m_fileDisplay;
    std::unique_ptr<ViewerKeys> m_keys;
    MainToolbar *m_toolbar = nullptr;
    WindowLayout *m_layout = nullptr;
    WindowPlacement *m_placement = nullptr;
    std::unique_ptr<ImageZoom> m_imageZoom;
    std::unique_ptr<ApplicationLauncher> m_launcher;
    std::unique_ptr<HelpMenu> m_helpMenu;
    std::unique_ptr<CommonDialog> m_commonDialog;
    std::unique_ptr<FontsAndColours> m_fontsAndColours;
    std::unique_ptr<Printing> m_printing;
    std::unique_ptr<TextEditing> m_textEditing;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<TextSearch> m_textSearch;
    QWidget *m_client = nullptr;
    std::function<void()> m_exit;
    bool m_exiting = false;
};

} // namespace glintbox
