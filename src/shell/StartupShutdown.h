#pragma once

#include "StartTarget.h"

#include <optional>

namespace glintbox {

class SettingsStore;
class frmGlintbox;
struct GatheredSettings;
struct SettingBinding;
struct StoredPlacement;
enum class ReadStep;

// The main window's start-up (every setting restored into its owner, the
// window placed, the first file shown) and shut-down (every setting written
// back in a fixed order, obsolete keys removed).
class StartupShutdown {
public:
    StartupShutdown(frmGlintbox &window, SettingsStore &store);

    // A start target replaces the stored drive and folder, and its file is
    // shown instead of the folder's first.
    void Form_Load(const std::optional<StartTarget> &target);
    void Form_QueryUnload();

private:
    void readSettings(ReadStep step, GatheredSettings &gathered,
                      const std::optional<StartTarget> &target = std::nullopt);
    QString startText(const SettingBinding &binding, const std::optional<StartTarget> &target);
    void restoreWindowPlacement(const StoredPlacement &stored);
    void writeAllSettings();

    frmGlintbox &m_window;
    SettingsStore &m_store;
};

} // namespace glintbox
