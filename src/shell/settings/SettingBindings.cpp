#include "SettingBindings.h"

#include "SettingsConversions.h"
#include "SettingsKeys.h"
#include "core/RunTimeError.h"
#include "core/lists/DriveList.h"
#include "core/lists/FolderList.h"
#include "filter/FileFilter.h"
#include "shell/frmGlintbox.h"

#include <QAction>
#include <QCheckBox>
#include <QScopeGuard>
#include <vector>

namespace glintbox {

namespace {

using namespace settingtext;
using Reader = std::function<void(frmGlintbox &, GatheredSettings &, const QString &)>;
using Writer = std::function<QString(frmGlintbox &)>;

QString sameText(const QString &text)
{
    return text;
}

Qt::CheckState checkStateOf(const QString &text)
{
    const int state = toCheckState(text);
    if (state != 0 && state != 1)
        throw RunTimeError(InvalidPropertyValue, text);
    return state ? Qt::Checked : Qt::Unchecked;
}

QString checkStateText(const QCheckBox *box)
{
    return fromCheckState(box->isChecked() ? 1 : 0);
}

int windowStateNumber(const frmGlintbox &window)
{
    if (window.isMinimized())
        return 1;
    return window.isMaximized() ? 2 : 0;
}

SettingBinding setting(const char *key, const char *defaultText, ReadStep step, Reader read,
                       Writer write)
{
    return {SettingsSection, QString::fromLatin1(key), QString::fromLatin1(defaultText), step,
            std::move(read), std::move(write)};
}

// A value that lives in the window's memory; `value` finds it there.
template<typename Value, typename ToValue, typename ToText>
SettingBinding held(const char *key, const char *defaultText, ReadStep step, Value value,
                    ToValue toValue, ToText toText)
{
    return setting(
        key, defaultText, step,
        [=](frmGlintbox &w, GatheredSettings &, const QString &text) { value(w) = toValue(text); },
        [=](frmGlintbox &w) { return toText(value(w)); });
}

template<typename T, typename ToValue, typename ToText>
SettingBinding inState(const char *key, const char *defaultText, ReadStep step,
                       T GlintboxState::*member, ToValue toValue, ToText toText)
{
    return held(
        key, defaultText, step, [member](frmGlintbox &w) -> T & { return w.state().*member; },
        toValue, toText);
}

template<typename T, typename ToValue, typename ToText>
SettingBinding inFont(const char *key, const char *defaultText, T FontChoice::*member,
                      ToValue toValue, ToText toText)
{
    return held(
        key, defaultText, ReadStep::Font,
        [member](frmGlintbox &w) -> T & { return w.state().font.*member; }, toValue, toText);
}

// One side of the window's outer rectangle: gathered for the placement,
// written as the window stands, whatever its state.
template<typename T, typename ToValue>
SettingBinding placement(const char *key, const char *defaultText, T StoredPlacement::*member,
                         ToValue toValue, qreal (QRectF::*side)() const)
{
    return setting(
        key, defaultText, ReadStep::Placement,
        [=](frmGlintbox &, GatheredSettings &g, const QString &text) {
            g.placement.*member = toValue(text);
        },
        [=](frmGlintbox &w) { return fromSingle(float((w.outerGeometryTwips().*side)())); });
}

SettingBinding filterSetting(int entry)
{
    return {
        FiltersSection,
        filterKey(entry),
        QString::number(filterDefault(entry)),
        ReadStep::Filters,
        [entry](frmGlintbox &, GatheredSettings &g, const QString &text) {
            g.filters[entry] = toCheckState(text);
        },
        [entry](frmGlintbox &w) { return fromCheckState(w.fileFilter().model().value(entry)); }};
}

std::vector<SettingBinding> buildBindings()
{
    using enum ReadStep;
    using W = frmGlintbox;
    using G = GatheredSettings;
    // Defaults are stored texts: colours as signed decimal (0x80000005 is
    // -2147483643, 0x808080 is 8421504).
    std::vector<SettingBinding> table = {
        setting(
            "DriveLetter", "C", Navigation,
            [](W &w, G &, const QString &text) {
                // The drive shown after this, whether the stored one or not,
                // is the one a later drive error goes back to.
                const auto remember =
                    qScopeGuard([&w] { w.state().previousDrive = w.controls().Drive1->drive(); });
                w.controls().Drive1->setDrive(text);
            },
            [](W &w) { return w.controls().Drive1->drive(); }),
        setting(
            "DrivePath", "", Navigation,
            [](W &w, G &, const QString &text) { w.controls().Dir1->setPath(text); },
            [](W &w) { return w.controls().Dir1->path(); }),
        inState("MaxFileSize", "20480000", Viewer, &GlintboxState::maxFileSize, toDouble,
                fromDouble),
        inState("TextColour", "-2147483643", Viewer, &GlintboxState::textColour, toColour,
                fromColour),
        inState("PictureColour", "8421504", Viewer, &GlintboxState::pictureColour, toColour,
                fromColour),
        inState("LaunchColour", "8421504", Viewer, &GlintboxState::launchColour, toColour,
                fromColour),
        setting(
            "Controls", "Side", Layout,
            [](W &w, G &, const QString &text) {
                w.state().controlsPosition = text;
                // Only "Top" exactly puts the lists on top.
                w.mnuControl_Click(text == u"Top" ? 0 : 1);
            },
            [](W &w) { return w.state().controlsPosition; }),
    };
    // The filter boxes are written between Controls and Height.
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        table.push_back(filterSetting(entry));
    const SettingBinding rest[] = {
        placement("Height", "6500", &StoredPlacement::height, toSingle, &QRectF::height),
        placement("Width", "9000", &StoredPlacement::width, toSingle, &QRectF::width),
        setting(
            "State", "0", Placement,
            [](W &, G &g, const QString &text) { g.placement.state = toInt16(text); },
            [](W &w) { return fromInt(windowStateNumber(w)); }),
        placement("Top", "99999", &StoredPlacement::top, toInt32, &QRectF::top),
        placement("Left", "99999", &StoredPlacement::left, toInt32, &QRectF::left),
        setting(
            "RTFmode", "1", Switches,
            [](W &w, G &, const QString &text) {
                const Qt::CheckState state = checkStateOf(text);
                // The click that restoring the box raises must do nothing.
                w.state().RtfClickSuppressed = true;
                w.controls().chkAutoMode->setCheckState(state);
                w.state().RtfClickSuppressed = false;
            },
            [](W &w) { return checkStateText(w.controls().chkAutoMode); }),
        setting(
            "HTMLmode", "1", Switches,
            [](W &w, G &, const QString &text) {
                w.controls().chkHTMLmode->setCheckState(checkStateOf(text));
            },
            [](W &w) { return checkStateText(w.controls().chkHTMLmode); }),
        inFont("FontFace", "Tahoma", &FontChoice::name, sameText, sameText),
        inFont("FontSize", "8", &FontChoice::size, toSingle, fromSingle),
        inFont("FontBold", "False", &FontChoice::bold, toBool, fromBool),
        inFont("FontItalic", "False", &FontChoice::italic, toBool, fromBool),
        inFont("FontUline", "False", &FontChoice::underline, toBool, fromBool),
        inFont("FontStrike", "False", &FontChoice::strikethrough, toBool, fromBool),
        inFont("FontColour", "0", &FontChoice::colour, toColour, fromColour),
        setting(
            "WebMode", "False", Switches,
            [](W &w, G &, const QString &text) {
                w.state().WebMode = toBool(text);
                w.viewer().mnuWebMode->setChecked(w.state().WebMode);
            },
            [](W &w) { return fromBool(w.state().WebMode); }),
        // Checked means wrapping is off.
        setting(
            "WordWrap", "False", Switches,
            [](W &w, G &, const QString &text) {
                w.viewer().mnuWordWrap->setChecked(toBool(text));
            },
            [](W &w) { return fromBool(w.viewer().mnuWordWrap->isChecked()); }),
    };
    table.insert(table.end(), std::begin(rest), std::end(rest));
    return table;
}

} // namespace

std::span<const SettingBinding> settingBindings()
{
    static const std::vector<SettingBinding> bindings = buildBindings();
    return bindings;
}

} // namespace glintbox
