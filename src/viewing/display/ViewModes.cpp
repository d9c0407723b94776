#include "ViewModes.h"

#include "DisplayHost.h"
#include "ViewerControls.h"
#include "core/FileNameBytes.h"
#include "core/GlintboxState.h"
#include "viewing/modes/IconFrames.h"
#include "viewing/modes/ModeCommands.h"
#include "viewing/modes/ViewVisibility.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSlider>

namespace glintbox {

namespace {

void apply(QWidget *view, ViewState state)
{
    if (state != ViewState::LeftAsIs)
        view->setVisible(state == ViewState::Shown);
}

} // namespace

ViewModes::ViewModes(GlintboxState &state, ViewerControls &controls, DisplayHost &host)
    : m_state(state)
    , m_controls(controls)
    , m_host(host)
{
}

ViewMode ViewModes::viewMode() const
{
    return m_state.ViewMode;
}

void ViewModes::SetViewMode()
{
    const ViewMode mode = classifyViewMode(m_state.FileExt);
    const ViewVisibility views =
        viewVisibility(mode, isHtmlExt(m_state.FileExt), m_controls.chkHTMLmode->isChecked());
    ViewerControls &c = m_controls;
    if (views.clearsText1)
        c.Text1->setText(QString());
    if (views.releasesImage2)
        c.Picture2->clearPicture();
    apply(c.Text1, views.text1);
    apply(c.WebBrowser1, views.webBrowser1);
    apply(c.Picture2, views.picture2);
    apply(c.ActiveMovie1, views.activeMovie1);
    apply(c.picLaunchWindow, views.picLaunchWindow);
    // A hidden view lets go of its file: nothing of it may stand for the next one.
    if (views.webBrowser1 == ViewState::Hidden)
        c.WebBrowser1->clear();
    if (views.activeMovie1 != ViewState::Shown)
        c.ActiveMovie1->clear();
    if (mode == ViewMode::Launcher)
        c.lblAppName->setText(displayableFileName(m_host.fileListFileName()));
    m_state.ViewMode = mode;
    enableCommandsFor(mode);
}

void ViewModes::enableCommandsFor(ViewMode mode)
{
    for (const ModeCommandRow &row : modeCommandTable()) {
        const bool enabled = row.isEnabledIn(mode);
        switch (row.control) {
        case CommandControl::ToolbarButton:
            if (QAction *button = m_controls.toolbarButtons.value(QString::fromLatin1(row.name)))
                button->setEnabled(enabled);
            break;
        case CommandControl::MenuItem:
            m_controls.menuItems.item(row.menuItem, row.index)->setEnabled(enabled);
            break;
        case CommandControl::ZoomButton:
            if (QAbstractButton *button = m_controls.btnZoom.at(size_t(row.index)))
                button->setEnabled(enabled);
            break;
        }
    }
    if (takesZoomOutOfTabOrder(mode) && m_controls.Zoom)
        m_controls.Zoom->setFocusPolicy(Qt::NoFocus);
}

void ViewModes::ClearViewer()
{
    ViewerControls &c = m_controls;
    c.Text1->setVisible(true);
    c.Picture2->setVisible(false);
    c.Picture2->clearPicture();
    c.ActiveMovie1->setVisible(false);
    c.ActiveMovie1->clear();
    c.picLaunchWindow->setVisible(false);
    // The browser stands behind the text box, which is what is seen.
    c.WebBrowser1->setVisible(true);
    c.Text1->raise();
    m_state.ViewMode = ViewMode::Text;
    enableCommandsFor(ViewMode::Text);
    if (c.Zoom)
        c.Zoom->setFocusPolicy(Qt::NoFocus);
}

void ViewModes::chkAutoMode_Click()
{
    if (m_state.RtfClickSuppressed) {
        m_state.RtfClickSuppressed = false;
        return;
    }
    m_host.focusFileList();
    m_showFile();
}

void ViewModes::chkHTMLmode_Click()
{
    if (!m_host.fileListFileName().isEmpty())
        m_showFile();
}

void ViewModes::mnuWebMode_Click()
{
    m_state.WebMode = !m_state.WebMode;
    m_controls.mnuWebMode->setChecked(m_state.WebMode);
}

void ViewModes::mnuWordWrap_Click()
{
    // The action's own check mark has already turned when it was triggered.
    applyWordWrap();
}

void ViewModes::applyWordWrap()
{
    const bool wrapOff = m_controls.mnuWordWrap->isChecked();
    m_controls.Text1->setRightMargin(wrapOff ? RichTextBox::NoWrapMargin : 0);
}

void ViewModes::timIconSwitch_Timer()
{
    if (m_state.FocusFileListPending) {
        m_host.focusFileList();
        m_state.FocusFileListPending = false;
        return;
    }
    m_state.IconFrame = qint16(nextIconFrame(m_state.IconFrame));
    m_controls.window->setWindowIcon(iconFrame(m_state.IconFrame));
}

} // namespace glintbox
