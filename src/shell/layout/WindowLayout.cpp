#include "WindowLayout.h"

#include "WindowPlacement.h"
#include "core/ErrorTrap.h"
#include "core/GlintboxState.h"
#include "core/Twips.h"
#include "core/lists/DriveList.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "shell/MainControls.h"
#include "shell/MainMenus.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace glintbox {

namespace {

// Designed places of the fixed elements beside the lists.
const QRectF chkAutoModeBox(0, 1440, 1200, 375);
const QRectF chkHTMLmodeBox(1200, 1440, 1215, 375);
const QRectF gaugeBox(0, 720, 2415, 255);
constexpr double countLineTop = 1080;
constexpr double countLineHeight = 255;
constexpr double countLefts[] = {0, 720, 1200, 1560, 2040};
constexpr double countWidths[] = {615, 375, 375, 375, 375};

} // namespace

WindowLayout::WindowLayout(QMainWindow &window, QWidget &client, const WindowPlacement &placement,
                           GlintboxState &state, MainControls &controls, ViewerControls &viewer,
                           Prompts &prompts)
    : QObject(&window)
    , m_window(window)
    , m_client(client)
    , m_placement(placement)
    , m_state(state)
    , m_controls(controls)
    , m_viewer(viewer)
    , m_prompts(prompts)
{
    // The client area changes with every resize of the window, and also when
    // the menu bar or toolbar change their height (fonts, wrapping, the
    // first show): each time the window is laid out again.
    client.installEventFilter(this);
    // A restore from the minimized state keeps the size, so no resize comes.
    window.installEventFilter(this);
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_client && event->type() == QEvent::Resize)
        Form_Resize();
    else if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
             (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized))
        Form_Resize();
    return QObject::eventFilter(watched, event);
}

void WindowLayout::mnuControl_Click(int index)
{
    runTrapped(m_prompts, [&] {
        QAction *top = m_controls.menus->item(MenuCommand::mnuControl, 0);
        QAction *side = m_controls.menus->item(MenuCommand::mnuControl, 1);
        if (index == 0) {
            m_state.controlsPosition = QStringLiteral("Top");
            top->setChecked(true);
            side->setChecked(false);
        } else if (index == 1) {
            m_state.controlsPosition = QStringLiteral("Side");
            top->setChecked(false);
            side->setChecked(true);
        }
        Form_Resize();
    });
}

double WindowLayout::logicalDpi() const
{
    return logicalDpiOf(m_window);
}

void WindowLayout::Form_Resize()
{
    runTrapped(m_prompts, [&] {
        if (m_window.isMinimized())
            return;
        const double dpi = logicalDpi();
        const QSize outer = m_placement.outerSize();
        const QSizeF allowed = withMinimumSize(
            QSizeF(pixelsToTwips(outer.width(), dpi), pixelsToTwips(outer.height(), dpi)));
        // Whole pixels at or above the minimum, so that the new size passes.
        const QSize allowedPixels(twipsToPixelsAtLeast(allowed.width(), dpi),
                                  twipsToPixelsAtLeast(allowed.height(), dpi));
        if (allowedPixels != outer)
            m_window.resize(allowedPixels - (outer - m_window.size()));
        const QSizeF client(pixelsToTwips(m_client.width(), dpi),
                            pixelsToTwips(m_client.height(), dpi));
        const QSizeF designed = designedOuterSize(client);
        applyLayout(placedLayout(arrangementOf(m_state.controlsPosition), designed.width(),
                                 designed.height()));
        panBack();
    });
}

QRect WindowLayout::toClientPixels(const QRectF &twips) const
{
    // Rounding the edges rather than the sizes keeps neighbours from drifting
    // apart or overlapping by a pixel.
    const double dpi = logicalDpi();
    const double top = twips.top() - DesignedToolbarHeight;
    const int left = twipsToPixels(twips.left(), dpi);
    const int right = twipsToPixels(twips.left() + std::max(0.0, twips.width()), dpi);
    const int y = twipsToPixels(top, dpi);
    const int bottom = twipsToPixels(top + std::max(0.0, twips.height()), dpi);
    return QRect(left, y, right - left, bottom - y);
}

void WindowLayout::applyLayout(const LayoutGeometry &g)
{
    MainControls &c = m_controls;
    auto place = [this](QWidget *widget, const QRectF &twips) {
        widget->setGeometry(toClientPixels(twips));
    };
    // The two check boxes share the designed row; "RTF Mode" keeps to its half.
    place(c.chkAutoMode, QRectF(g.chkAutoMode.topLeft(), chkAutoModeBox.size()));
    place(c.Drive1, g.Drive1);
    place(c.chkHTMLmode, chkHTMLmodeBox);
    QLabel *counts[] = {c.Label1, c.Label2, c.Label4, c.Label5, c.Label6};
    int freeFrom = 0;
    for (size_t i = 0; i < std::size(counts); ++i) {
        // Each label may use the room up to the next one: captions at the
        // desktop's font are wider than the designed boxes. A label wider
        // still (a count holds up to seven digits) pushes the rest along.
        const double room =
            i + 1 < std::size(counts) ? countLefts[i + 1] - countLefts[i] : countWidths[i] + 360;
        QRect box = toClientPixels(
            QRectF(countLefts[i], countLineTop, std::max(countWidths[i], room), countLineHeight));
        const bool isCount = counts[i] == c.Label2 || counts[i] == c.Label5;
        const int needed = counts[i]->fontMetrics().horizontalAdvance(
                               isCount ? QStringLiteral("9999999") : counts[i]->text()) +
                           2;
        box.moveLeft(std::max(box.left(), freeFrom));
        box.setWidth(std::max(box.width(), needed));
        counts[i]->setGeometry(box);
        freeFrom = box.left() + needed + 2;
    }
    place(m_viewer.gauge, gaugeBox);
    place(c.Dir1, g.Dir1);
    place(c.File1, g.File1);
    for (QWidget *view :
         {static_cast<QWidget *>(m_viewer.Text1), static_cast<QWidget *>(m_viewer.Picture2),
          static_cast<QWidget *>(m_viewer.WebBrowser1), m_viewer.picLaunchWindow,
          static_cast<QWidget *>(m_viewer.ActiveMovie1)})
        place(view, g.viewer);
    place(c.StatusBar, g.StatusBar);
    c.InputFileProperties->setGeometry(
        QRect(4, 0, std::max(0, twipsToPixels(g.InputFileProperties.width(), logicalDpi()) - 8),
              c.StatusBar->height()));
}

void WindowLayout::panBack()
{
    ImageViewport *viewport = m_viewer.Picture2;
    viewport->VScroll1()->setValue(0);
    viewport->HScroll1()->setValue(0);
    const QRectF image = viewport->imageRectTwips();
    viewport->setImageRectTwips(QRectF(QPointF(0, 0), image.size()));
}

} // namespace glintbox
