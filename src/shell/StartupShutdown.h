#pragma once

namespace glintbox {

class SettingsStore;
class frmGlintbox;
struct GatheredSettings;
struct StoredPlacement;
enum class ReadStep;

// The main window's start-up (every setting restored into its owner, the
// window placed, the first file shown) and shut-down (every setting written
// back in a fixed order, obsolete keys removed).
class StartupShutdown {
public:
    StartupShutdown(frmGlintbox &window, SettingsStore &store);

    void Form_Load();
    void Form_QueryUnload();

private:
    void readSettings(ReadStep step, GatheredSettings &gathered);
    void restoreWindowPlacement(const StoredPlacement &stored);
    void writeAllSettings();

    frmGlintbox &m_window;
    SettingsStore &m_store;
};

} // namespace glintbox
