#pragma once

#include "filter/FileTypeTable.h"

#include <QString>
#include <array>
#include <functional>
#include <span>

namespace glintbox {

class frmGlintbox;

constexpr int NoStoredPosition = 99999;
constexpr double DefaultWindowWidth = 9000;
constexpr double DefaultWindowHeight = 6500;

// The window's place as stored, in twips. The state decides which of the
// other values count, so start-up gathers them all before it places the window.
struct StoredPlacement {
    int state = 0;
    double height = DefaultWindowHeight;
    double width = DefaultWindowWidth;
    int top = NoStoredPosition;
    int left = NoStoredPosition;
};

// Settings that start-up gathers first and applies in one go: the filter
// boxes go through one hidden filter dialog, the placement is applied whole.
struct GatheredSettings {
    std::array<int, FilterEntryCount> filters{};
    StoredPlacement placement;
};

// The steps of start-up that read settings, in the order they run. Each step
// reads its settings in table order; start-up does its own work between them
// (the colours applied, word wrap set, the filter built, the window placed).
enum class ReadStep { Navigation, Viewer, Layout, Switches, Font, Filters, Placement };

// One stored setting: where it lives, its default text, how start-up reads it
// into its owner and how shut-down writes it from there. A reader throws
// RunTimeError for a text that does not convert; start-up skips that setting.
struct SettingBinding {
    QString section;
    QString key;
    QString defaultText;
    ReadStep step;
    std::function<void(frmGlintbox &, GatheredSettings &, const QString &)> read;
    std::function<QString(frmGlintbox &)> write;
};

// Every setting of both sections, in the order shut-down writes them.
std::span<const SettingBinding> settingBindings();

} // namespace glintbox
