#pragma once

#include <functional>

namespace glintbox {

struct GlintboxState;
class Prompts;

// What the viewer keys set going; the window connects them to the image zoom
// and the application launcher. Unset actions do nothing.
struct ViewerKeyActions {
    // The zoom step for '+', '=', '-' or '_' in Image or Movie view mode: pan
    // back to the top left corner, step the zoom, focus the file list.
    std::function<void(int keyAscii)> zoomStep;
    // Starts the program shown in the launcher.
    std::function<void()> launch;
};

// The shared key handler of the viewer: zoom keys and Enter from the file list
// and from the View and Options menus.
class ViewerKeys {
public:
    ViewerKeys(const GlintboxState &state, Prompts &prompts);

    void setActions(ViewerKeyActions actions) { m_actions = std::move(actions); }

    void HandleViewerKey(int keyAscii);
    // The file list's character key; the list still receives the key.
    void File1_KeyPress(int keyAscii);
    // Zoom In (0) and Zoom Out (1).
    void mnuKeys_Click(int index);
    void mnuEnter_Click();

private:
    const GlintboxState &m_state;
    Prompts &m_prompts;
    ViewerKeyActions m_actions;
};

} // namespace glintbox
