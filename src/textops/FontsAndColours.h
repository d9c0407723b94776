#pragma once

#include <functional>

namespace glintbox {

struct GlintboxState;
class CommonDialog;
class Prompts;

// The font of the text view and the background colour of the current view
// mode's view, both chosen through the common dialog.
class FontsAndColours {
public:
    // applyBackgroundColours paints the views in the colours of the state.
    FontsAndColours(GlintboxState &state, CommonDialog &dialog, Prompts &prompts,
                    std::function<void()> applyBackgroundColours);

    void mnuFontSize_Click();
    void mnuBackColour_Click();

private:
    GlintboxState &m_state;
    CommonDialog &m_dialog;
    Prompts &m_prompts;
    std::function<void()> m_applyBackgroundColours;
};

} // namespace glintbox
