#pragma once

#include <QString>
#include <functional>

namespace glintbox {

class Prompts;
struct GlintboxState;
struct MainControls;

// How the drive, folder and file lists follow each other: drive changes with
// their recovery, folder changes with the count line, refresh.
class Navigation {
public:
    Navigation(GlintboxState &state, MainControls &controls, Prompts &prompts,
               std::function<void()> clearViewer);

    // Runs nested inside whatever set the drive; a failure of the recovery
    // itself (no drive shown yet) goes to that caller.
    void Drive1_Change();
    void Dir1_Change();
    void mnuRefresh_Click();

    // Selects the first file of File1, or clears the viewer when it is empty.
    void showFirstFileOrClear();
    // While start-up restores the stored drive and folder, a drive change
    // moves the lists without showing a file: start-up shows its file once,
    // after every setting it is shown with is read.
    void setDriveChangeShowsFile(bool shows) { m_driveChangeShowsFile = shows; }
    // Shows the named file of the current folder, listed even where the
    // pattern hides it. False when the folder holds no such file.
    bool showNamedFile(const QString &name);

private:
    // The count line: files and folders the lists show.
    void showCounts();

    GlintboxState &m_state;
    MainControls &m_controls;
    Prompts &m_prompts;
    std::function<void()> m_clearViewer;
    bool m_driveChangeShowsFile = true;
};

} // namespace glintbox
