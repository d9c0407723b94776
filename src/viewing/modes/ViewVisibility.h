#pragma once

#include "ViewMode.h"

namespace glintbox {

// What switching to a view mode does to one view. LeftAsIs: the file display
// hides that view itself once it knows which of the two HTML views it uses.
enum class ViewState { Shown, Hidden, LeftAsIs };

// How switching to a view mode sets the views of the viewer area: Text1,
// WebBrowser1, Picture2 with Image2, ActiveMovie1 and picLaunchWindow; whether
// the text of Text1 is cleared and whether the picture of Image2 is released.
struct ViewVisibility {
    ViewState text1;
    ViewState webBrowser1;
    ViewState picture2;
    ViewState activeMovie1;
    ViewState picLaunchWindow;
    bool clearsText1;
    bool releasesImage2;

    friend bool operator==(const ViewVisibility &, const ViewVisibility &) = default;
};

// htmlFile: the file's tail is a web page's; htmlMode: "HTML Mode" is checked.
// Both matter only in Text view mode.
ViewVisibility viewVisibility(ViewMode mode, bool htmlFile, bool htmlMode);

} // namespace glintbox
