#pragma once

class QToolBar;

namespace glintbox {

struct ViewerControls;

// Puts the zoom label Text2, the zoom bar Zoom (25..1000, arrow step 5, page
// step 50, starting at 100) and the nine preset buttons btnZoom on the
// toolbar and records them in the viewer controls. The presets start
// disabled; the view mode enables them.
void addZoomControls(QToolBar &toolbar, ViewerControls &controls);

} // namespace glintbox
