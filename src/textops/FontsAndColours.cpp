#include "FontsAndColours.h"

#include "CommonDialog.h"
#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "viewing/modes/ViewMode.h"

namespace glintbox {

namespace {

// The background colour the view of a mode is painted in; none for Movie
// view mode, whose player has no background of its own.
quint32 *backgroundColourOf(GlintboxState &state, ViewMode mode)
{
    switch (mode) {
    case ViewMode::Text:
        return &state.textColour;
    case ViewMode::Image:
        return &state.pictureColour;
    case ViewMode::Launcher:
        return &state.launchColour;
    case ViewMode::Movie:
        break;
    }
    return nullptr;
}

} // namespace

FontsAndColours::FontsAndColours(GlintboxState &state, CommonDialog &dialog, Prompts &prompts,
                                 std::function<void()> applyBackgroundColours)
    : m_state(state)
    , m_dialog(dialog)
    , m_prompts(prompts)
    , m_applyBackgroundColours(std::move(applyBackgroundColours))
{
}

void FontsAndColours::mnuFontSize_Click()
{
    // Any view mode: a font chosen while a picture is shown is the font of
    // the next text.
    CommonDialogRequest request;
    request.fontDialogRequested = true;
    m_dialog.ShowCommonDialog(request);
}

void FontsAndColours::mnuBackColour_Click()
{
    quint32 *target = backgroundColourOf(m_state, ViewMode(m_state.ViewMode));
    if (!target) {
        m_prompts.message(
            QStringLiteral(
                "Sorry, but you cannot change the background colour whilst in Movie mode"),
            QStringLiteral("Glintbox - Background Colour"), PromptIcon::Information);
        return;
    }
    // The dialog opens on the view's own colour; the text colour is the font
    // dialog's alone.
    CommonDialogRequest request;
    request.colour = *target;
    const CommonDialogResult result = m_dialog.ShowCommonDialog(request);
    if (result.cancelled)
        return;
    *target = result.chosenColour;
    m_applyBackgroundColours();
}

} // namespace glintbox
