#pragma once

#include "core/MenuCommand.h"

#include <QHash>
#include <QString>
#include <array>

class QAction;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QSlider;
class QWidget;

namespace glintbox {

class ImageViewport;
class MoviePlayer;
class RichTextBox;
class SizeGauge;
class WebBrowserView;

// The controls of the viewer area and the commands that follow the view
// mode, as the main window created them.
struct ViewerControls {
    QWidget *window = nullptr; // for the window icon
    RichTextBox *Text1 = nullptr;
    WebBrowserView *WebBrowser1 = nullptr;
    ImageViewport *Picture2 = nullptr;
    MoviePlayer *ActiveMovie1 = nullptr;
    QWidget *picLaunchWindow = nullptr;
    QLabel *lblAppName = nullptr;
    SizeGauge *gauge = nullptr;
    QCheckBox *chkAutoMode = nullptr;
    QCheckBox *chkHTMLmode = nullptr;
    QAction *mnuWebMode = nullptr;
    QAction *mnuWordWrap = nullptr;
    // The zoom label, bar and preset buttons.
    QLabel *Text2 = nullptr;
    QSlider *Zoom = nullptr;
    std::array<QAbstractButton *, 9> btnZoom{};
    MenuItems menuItems;
    // Toolbar buttons by key ("Print", "Font", "Find").
    QHash<QString, QAction *> toolbarButtons;
};

} // namespace glintbox
