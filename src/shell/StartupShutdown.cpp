#include "StartupShutdown.h"

#include "MainMenus.h"
#include "Navigation.h"
#include "core/ErrorTrap.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "filter/FileFilter.h"
#include "frmGlintbox.h"
#include "lists/DriveList.h"
#include "lists/FileList.h"
#include "lists/FolderList.h"
#include "settings/SettingsConversions.h"
#include "settings/SettingsStore.h"
#include "viewing/display/ViewModes.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QTimer>

Q_LOGGING_CATEGORY(lcStartup, "glintbox.startup", QtWarningMsg)

namespace glintbox {

namespace {

using namespace settingtext;

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

Qt::CheckState checkStateOf(const QString &text)
{
    const int state = toCheckState(text);
    if (state != 0 && state != 1)
        throw RunTimeError(InvalidPropertyValue, text);
    return state ? Qt::Checked : Qt::Unchecked;
}

constexpr int NoStoredPosition = 99999;
constexpr double DefaultWidth = 9000;
constexpr double DefaultHeight = 6500;

} // namespace

StartupShutdown::StartupShutdown(frmGlintbox &window, SettingsStore &store)
    : m_window(window)
    , m_store(store)
{
}

void StartupShutdown::Form_Load()
{
    GlintboxState &state = m_window.state();
    MainControls &c = m_window.controls();
    state.errorTrapsOn = true;
    state.textChanged = false;
    state.ViewMode = 0;
    c.timIconSwitch->setInterval(600);
    state.IconFrame = 0;
    c.timIconSwitch->start();

    step([&] { c.Drive1->setDrive(m_store.read(SettingKey::DriveLetter)); });
    step([&] { state.previousDrive = c.Drive1->drive(); });
    step([&] { c.Dir1->setPath(m_store.read(SettingKey::DrivePath)); });
    step([&] { state.maxFileSize = toDouble(m_store.read(SettingKey::MaxFileSize)); });
    step([&] { state.textColour = toColour(m_store.read(SettingKey::TextColour)); });
    step([&] { state.pictureColour = toColour(m_store.read(SettingKey::PictureColour)); });
    step([&] { state.launchColour = toColour(m_store.read(SettingKey::LaunchColour)); });
    m_window.applyBackgroundColours();
    step([&] {
        state.controlsPosition = m_store.read(SettingKey::Controls);
        m_window.mnuControl_Click(state.controlsPosition == u"Top" ? 0 : 1);
    });
    state.RtfClickSuppressed = true;
    step([&] { c.chkAutoMode->setCheckState(checkStateOf(m_store.read(SettingKey::RTFmode))); });
    state.RtfClickSuppressed = false;
    step([&] { c.chkHTMLmode->setCheckState(checkStateOf(m_store.read(SettingKey::HTMLmode))); });
    step([&] {
        state.WebMode = toBool(m_store.read(SettingKey::WebMode));
        c.menus->item(MenuCommand::mnuWebMode)->setChecked(state.WebMode);
    });
    step([&] {
        c.menus->item(MenuCommand::mnuWordWrap)
            ->setChecked(toBool(m_store.read(SettingKey::WordWrap)));
    });
    step([&] { m_window.viewModes().applyWordWrap(); });
    FontChoice &font = state.font;
    step([&] { font.name = m_store.read(SettingKey::FontFace); });
    step([&] { font.size = toSingle(m_store.read(SettingKey::FontSize)); });
    step([&] { font.bold = toBool(m_store.read(SettingKey::FontBold)); });
    step([&] { font.italic = toBool(m_store.read(SettingKey::FontItalic)); });
    step([&] { font.underline = toBool(m_store.read(SettingKey::FontUline)); });
    step([&] { font.strikethrough = toBool(m_store.read(SettingKey::FontStrike)); });
    step([&] { font.colour = toColour(m_store.read(SettingKey::FontColour)); });
    m_window.fileFilter().clearClosingFlag();
    std::array<int, FilterEntryCount> storedFilters{};
    for (int i = 0; i < FilterEntryCount; ++i) {
        step([&] {
            storedFilters[i] = toCheckState(
                m_store.read(FiltersSection, filterKey(i), QString::number(filterDefault(i))));
        });
    }
    m_window.fileFilter().restoreAtStartup(storedFilters);
    restoreWindowPlacement();
    m_window.setWindowTitle(QStringLiteral("Glintbox by Devezud Iziruvuz - Version ") +
                            GlintboxState::VersionText);
    step([&] {
        if (c.File1->listCount() > 0) {
            state.FocusFileListPending = true;
            c.File1->setListIndex(0);
        } else {
            m_window.ClearViewer();
        }
    });
}

void StartupShutdown::restoreWindowPlacement()
{
    int windowState = 0;
    step([&] { windowState = toInt16(m_store.read(SettingKey::State)); });
    QRectF placement(0, 0, DefaultWidth, DefaultHeight);
    const bool maximise = !m_window.isMinimized() && windowState != 0;
    int top = NoStoredPosition;
    int left = NoStoredPosition;
    if (!maximise) {
        step([&] { placement.setHeight(toSingle(m_store.read(SettingKey::Height))); });
        step([&] { placement.setWidth(toSingle(m_store.read(SettingKey::Width))); });
        step([&] { top = toInt32(m_store.read(SettingKey::Top)); });
        step([&] { left = toInt32(m_store.read(SettingKey::Left)); });
    }
    m_window.setWindowState(Qt::WindowNoState);
    if (top == NoStoredPosition || left == NoStoredPosition) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        const double dpi = m_window.logicalDpi();
        const double screenWidth = available.width() * 1440.0 / dpi;
        const double screenHeight = available.height() * 1440.0 / dpi;
        placement.moveTo(screenWidth / 2 - placement.width() / 2,
                         screenHeight / 2 - placement.height() / 2);
    } else {
        placement.moveTo(left, top);
    }
    m_window.setOuterGeometryTwips(placement);
    if (maximise)
        m_window.setWindowState(Qt::WindowMaximized);
}

void StartupShutdown::writeAllSettings()
{
    GlintboxState &state = m_window.state();
    MainControls &c = m_window.controls();
    const QRectF outer = m_window.outerGeometryTwips();
    const int windowState = m_window.isMinimized() ? 1 : (m_window.isMaximized() ? 2 : 0);
    auto checked = [](QCheckBox *box) { return fromCheckState(box->isChecked() ? 1 : 0); };
    const FontChoice &font = state.font;

    m_store.write(SettingKey::DriveLetter, c.Drive1->drive());
    m_store.write(SettingKey::DrivePath, c.Dir1->path());
    m_store.write(SettingKey::MaxFileSize, fromDouble(state.maxFileSize));
    m_store.write(SettingKey::TextColour, fromColour(state.textColour));
    m_store.write(SettingKey::PictureColour, fromColour(state.pictureColour));
    m_store.write(SettingKey::LaunchColour, fromColour(state.launchColour));
    m_store.write(SettingKey::Controls, state.controlsPosition);
    for (int i = 0; i < FilterEntryCount; ++i)
        m_store.write(FiltersSection, filterKey(i),
                      fromCheckState(m_window.fileFilter().model().value(i)));
    m_store.write(SettingKey::Height, fromSingle(float(outer.height())));
    m_store.write(SettingKey::Width, fromSingle(float(outer.width())));
    m_store.write(SettingKey::State, fromInt(windowState));
    m_store.write(SettingKey::Top, fromSingle(float(outer.top())));
    m_store.write(SettingKey::Left, fromSingle(float(outer.left())));
    m_store.write(SettingKey::RTFmode, checked(c.chkAutoMode));
    m_store.write(SettingKey::HTMLmode, checked(c.chkHTMLmode));
    m_store.write(SettingKey::FontFace, font.name);
    m_store.write(SettingKey::FontSize, fromSingle(font.size));
    m_store.write(SettingKey::FontBold, fromBool(font.bold));
    m_store.write(SettingKey::FontItalic, fromBool(font.italic));
    m_store.write(SettingKey::FontUline, fromBool(font.underline));
    m_store.write(SettingKey::FontStrike, fromBool(font.strikethrough));
    m_store.write(SettingKey::FontColour, fromColour(font.colour));
    m_store.write(SettingKey::WebMode, fromBool(state.WebMode));
    m_store.write(SettingKey::WordWrap,
                  fromBool(c.menus->item(MenuCommand::mnuWordWrap)->isChecked()));
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
