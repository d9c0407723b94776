#include "ViewerKeys.h"

#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "viewing/modes/ViewMode.h"

#include <QString>

namespace glintbox {

namespace {

constexpr int KeyEnter = 13;
constexpr int KeyPlus = 43;
constexpr int KeyMinus = 45;

bool isZoomKey(int keyAscii)
{
    return keyAscii == KeyPlus || keyAscii == '=' || keyAscii == KeyMinus || keyAscii == '_';
}

} // namespace

ViewerKeys::ViewerKeys(const GlintboxState &state, Prompts &prompts)
    : m_state(state)
    , m_prompts(prompts)
{
}

void ViewerKeys::HandleViewerKey(int keyAscii)
{
    const auto mode = m_state.ViewMode;
    if (isZoomKey(keyAscii)) {
        if (mode == ViewMode::Text || mode == ViewMode::Launcher) {
            m_prompts.message(QStringLiteral("Sorry, Glintbox must be in Image or Movie mode"),
                              QStringLiteral("Glintbox - Zoom"), PromptIcon::Information);
            return;
        }
        if (m_actions.zoomStep)
            m_actions.zoomStep(keyAscii);
    }
    if (keyAscii == KeyEnter) {
        if (mode == ViewMode::Launcher) {
            if (m_actions.launch)
                m_actions.launch();
        } else {
            m_prompts.message(
                QStringLiteral(
                    "Sorry, Glintbox must be in Application Launcher mode to use the 'Enter' key"),
                QStringLiteral("Glintbox - Application Launcher"), PromptIcon::Information);
        }
    }
}

void ViewerKeys::File1_KeyPress(int keyAscii)
{
    HandleViewerKey(keyAscii);
}

void ViewerKeys::mnuKeys_Click(int index)
{
    if (index == 0)
        HandleViewerKey(KeyPlus);
    else if (index == 1)
        HandleViewerKey(KeyMinus);
}

void ViewerKeys::mnuEnter_Click()
{
    HandleViewerKey(KeyEnter);
}

} // namespace glintbox
