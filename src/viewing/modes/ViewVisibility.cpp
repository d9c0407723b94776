#include "ViewVisibility.h"

namespace glintbox {

namespace {

constexpr ViewState S = ViewState::Shown;
constexpr ViewState H = ViewState::Hidden;
constexpr ViewState L = ViewState::LeftAsIs;

//                                        Text1 Web Pic2 Movie Launch clear release
constexpr ViewVisibility textView{S, H, H, H, H, false, true};
constexpr ViewVisibility htmlInBrowser{L, S, H, H, H, false, true};
constexpr ViewVisibility htmlAsSource{S, L, H, H, H, false, true};
constexpr ViewVisibility imageView{H, H, S, H, H, true, false};
constexpr ViewVisibility movieView{H, H, H, S, H, true, true};
constexpr ViewVisibility launcherView{H, H, H, H, S, true, true};

} // namespace

ViewVisibility viewVisibility(ViewMode mode, bool htmlFile, bool htmlMode)
{
    switch (mode) {
    case ViewMode::Image:
        return imageView;
    case ViewMode::Movie:
        return movieView;
    case ViewMode::Launcher:
        return launcherView;
    case ViewMode::Text:
        break;
    }
    if (!htmlFile)
        return textView;
    return htmlMode ? htmlInBrowser : htmlAsSource;
}

} // namespace glintbox
