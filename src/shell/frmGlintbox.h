#pragma once

#include "core/GlintboxState.h"
#include "filter/FilterHost.h"
#include "MainControls.h"
#include "layout/LayoutGeometry.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace glintbox {

class DriveSource;
class FileSystem;
class FileFilter;
class Navigation;
class Prompts;
class SettingsStore;

// What the main window needs from the world; tests pass fakes.
struct GlintboxServices {
    Prompts &prompts;
    FileSystem &fs;
    DriveSource &drives;
    SettingsStore &store;
};

// The main window: creates the controls, holds the shared state and wires the
// subsystems; the handlers live in the subsystems' classes.
class frmGlintbox : public QMainWindow, public FilterHost {
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

    GlintboxState &state() { return m_state; }
    MainControls &controls() { return m_controls; }
    Navigation &navigation() { return *m_navigation; }
    FileFilter &fileFilter() { return *m_fileFilter; }
    Prompts &prompts() override { return m_services.prompts; }
    FileSystem &fileSystem() { return m_services.fs; }

    // How File > Exit ends the program; tests replace it.
    void setExitHandler(std::function<void()> exit) { m_exit = std::move(exit); }

    // The window's outer size and position in twips, as stored.
    QRectF outerGeometryTwips() const;
    void setOuterGeometryTwips(const QRectF &twips);
    double logicalDpi() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void applyLayout(const LayoutGeometry &geometry);
    void trapped(const std::function<void()> &handler);

    // What the file filter needs from the window.
    void setFileListPattern(const QString &pattern) override;
    void emptyViewer() override;
    int fileListCount() const override;
    void setFileCountLabel(int count) override;
    void showFirstFileOrClear() override;
    QWidget *dialogParent() override { return this; }

    GlintboxServices m_services;
    GlintboxState m_state;
    MainControls m_controls;
    std::unique_ptr<Navigation> m_navigation;
    std::unique_ptr<FileFilter> m_fileFilter;
    QWidget *m_client = nullptr;
    std::function<void()> m_exit;
    bool m_exiting = false;
};

} // namespace glintbox
