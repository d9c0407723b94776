#include "StartupShutdown.h"

#include "Navigation.h"
#include "StartTarget.h"
#include "core/ErrorTrap.h"
#include "core/ProductInfo.h"
#include "core/RunTimeError.h"
#include "core/lists/FileList.h"
#include "filter/FileFilter.h"
#include "frmGlintbox.h"
#include "settings/SettingBindings.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "viewing/display/ViewModes.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>

Q_LOGGING_CATEGORY(lcStartup, "glintbox.startup", QtWarningMsg)

namespace glintbox {

namespace {

// Start-up never stops on a step: a value that does not convert, a folder
// that has gone, a failure passed up from a handler: the step is skipped.
void step(const std::function<void()> &body)
{
    try {
        body();
    } catch (const RunTimeError &error) {
        qCInfo(lcStartup) << "start-up step skipped:" << error.what();
    }
}

} // namespace

StartupShutdown::StartupShutdown(frmGlintbox &window, SettingsStore &store)
    : m_window(window)
    , m_store(store)
{
}

void StartupShutdown::Form_Load(const std::optional<StartTarget> &target)
{
    GlintboxState &state = m_window.state();
    MainControls &c = m_window.controls();
    state.ViewMode = ViewMode::Text;
    c.timIconSwitch->setInterval(600);
    state.IconFrame = 0;
    c.timIconSwitch->start();

    GatheredSettings gathered;
    Navigation &navigation = m_window.navigation();
    navigation.setDriveChangeShowsFile(false);
    {
        const auto showAgain = qScopeGuard([&] { navigation.setDriveChangeShowsFile(true); });
        readSettings(ReadStep::Navigation, gathered, target);
    }
    readSettings(ReadStep::Viewer, gathered);
    m_window.applyBackgroundColours();
    readSettings(ReadStep::Layout, gathered);
    readSettings(ReadStep::Switches, gathered);
    step([&] { m_window.viewModes().applyWordWrap(); });
    readSettings(ReadStep::Font, gathered);
    m_window.fileFilter().clearClosingFlag();
    readSettings(ReadStep::Filters, gathered);
    m_window.fileFilter().restoreAtStartup(gathered.filters);
    readSettings(ReadStep::Placement, gathered);
    restoreWindowPlacement(gathered.placement);
    m_window.setWindowTitle(product::mainWindowCaption());
    step([&] {
        if (c.File1->listCount() > 0 || target)
            state.FocusFileListPending = true;
        // The target's file only where the lists reached its folder: a file
        // of the same name elsewhere is not the one asked for.
        const bool opened = target && !target->fileName.isEmpty() &&
                            QDir::cleanPath(c.File1->path()) == target->folder &&
                            navigation.showNamedFile(target->fileName);
        if (opened)
            return;
        if (c.File1->listCount() > 0)
            c.File1->setListIndex(0);
        else
            m_window.ClearViewer();
    });
}

void StartupShutdown::readSettings(ReadStep readStep, GatheredSettings &gathered,
                                   const std::optional<StartTarget> &target)
{
    for (const SettingBinding &binding : settingBindings()) {
        if (binding.step == readStep)
            step([&] { binding.read(m_window, gathered, startText(binding, target)); });
    }
}

QString StartupShutdown::startText(const SettingBinding &binding,
                                   const std::optional<StartTarget> &target)
{
    // A target stands where the stored drive and folder would: the lists
    // follow it as they would follow the user.
    if (target && binding.section == SettingsSection) {
        if (binding.key == DriveLetterKey)
            return target->driveText;
        if (binding.key == DrivePathKey)
            return target->folder;
    }
    return m_store.read(binding.section, binding.key, binding.defaultText);
}

void StartupShutdown::restoreWindowPlacement(const StoredPlacement &stored)
{
    // A window closed maximised or minimised opens maximised over a normal
    // window of the default size; the stored size and position do not count.
    const bool maximise = !m_window.isMinimized() && stored.state != 0;
    QRectF placement(0, 0, DefaultWindowWidth, DefaultWindowHeight);
    bool centre = true;
    if (!maximise) {
        placement.setSize({stored.width, stored.height});
        centre = stored.top == NoStoredPosition || stored.left == NoStoredPosition;
    }
    m_window.setWindowState(Qt::WindowNoState);
    if (centre) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        const double dpi = m_window.logicalDpi();
        const double screenWidth = available.width() * 1440.0 / dpi;
        const double screenHeight = available.height() * 1440.0 / dpi;
        placement.moveTo(screenWidth / 2 - placement.width() / 2,
                         screenHeight / 2 - placement.height() / 2);
    } else {
        placement.moveTo(stored.left, stored.top);
    }
    m_window.setOuterGeometryTwips(placement);
    if (maximise)
        m_window.setWindowState(Qt::WindowMaximized);
}

void StartupShutdown::writeAllSettings()
{
    for (const SettingBinding &binding : settingBindings())
        m_store.write(binding.section, binding.key, binding.write(m_window));
}

void StartupShutdown::Form_QueryUnload()
{
    // A failure while writing ends the save with the shared error report; the
    // window then closes without the rest of the sequence.
    const bool written = runTrapped(m_window.prompts(), [this] { writeAllSettings(); });
    if (!written)
        return;
    for (const char *key : obsoleteSettingKeys()) {
        try {
            m_store.remove(SettingsSection, QString::fromLatin1(key));
        } catch (const RunTimeError &) {
            // An absent key is the normal case.
        }
    }
    if (!runTrapped(m_window.prompts(), [this] { m_store.commit(); }))
        return;
    m_window.mnuExit_Click();
}

} // namespace glintbox
