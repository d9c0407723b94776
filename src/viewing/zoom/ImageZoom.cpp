#include "ImageZoom.h"

#include "ZoomRules.h"
#include "core/ErrorTrap.h"
#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "core/Twips.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/modes/ViewMode.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSlider>

namespace glintbox {

ImageZoom::ImageZoom(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
                     QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_controls(controls)
    , m_host(host)
{
    connectControls();
}

void ImageZoom::connectControls()
{
    ViewerControls &c = m_controls;
    for (int i = 0; i < int(c.btnZoom.size()); ++i)
        connect(c.btnZoom.at(size_t(i)), &QAbstractButton::clicked, this,
                [this, i] { btnZoom_Click(i); });
    // The bar reports its value when the thumb is let go; while it is dragged
    // only the picture follows.
    c.Zoom->setTracking(false);
    connect(c.Zoom, &QSlider::valueChanged, this, &ImageZoom::Zoom_Change);
    connect(c.Zoom, &QSlider::sliderMoved, this, &ImageZoom::Zoom_Scroll);
    connect(c.Picture2->HScroll1(), &QScrollBar::valueChanged, this, &ImageZoom::HScroll1_Change);
    connect(c.Picture2->VScroll1(), &QScrollBar::valueChanged, this, &ImageZoom::VScroll1_Change);
    c.Picture2->installEventFilter(this);
}

void ImageZoom::trapped(const std::function<void()> &handler)
{
    runTrapped(m_host.prompts(), handler);
}

bool ImageZoom::zoomRefused() const
{
    const ViewMode mode = m_state.ViewMode;
    return mode == ViewMode::Text || mode == ViewMode::Launcher;
}

void ImageZoom::showRefusal()
{
    m_host.prompts().message(QStringLiteral("Sorry, Glintbox must be in Image or Movie mode"),
                             QStringLiteral("Glintbox - Zoom"), PromptIcon::Information);
}

void ImageZoom::resetToNormal()
{
    m_controls.Text2->setText(zoomLabel(NormalZoom));
    m_controls.Zoom->setValue(NormalZoom);
}

void ImageZoom::btnZoom_Click(int index)
{
    trapped([&] {
        const auto &presets = zoomPresets();
        if (index >= 0 && index < int(presets.size())) {
            const ZoomPreset &preset = presets.at(size_t(index));
            if (preset.movieWindowSize && m_state.ViewMode == ViewMode::Movie)
                m_controls.ActiveMovie1->setMovieWindowSize(*preset.movieWindowSize);
            m_controls.Zoom->setValue(preset.percent);
        }
        if (zoomRefused()) {
            showRefusal();
            resetToNormal();
            return;
        }
        applyZoomInFull();
    });
}

void ImageZoom::applyZoomInFull()
{
    ImageViewport &viewport = *m_controls.Picture2;
    viewport.VScroll1()->setValue(0);
    viewport.HScroll1()->setValue(0);
    const int zoom = m_controls.Zoom->value();
    viewport.setImageRectTwips(
        QRectF(QPointF(0, 0), zoomedSize(m_state.baseWidth, m_state.baseHeight, zoom)));
    m_controls.Text2->setText(zoomLabel(zoom));
    m_host.focusFileList();
}

void ImageZoom::Zoom_Change()
{
    trapped([this] {
        if (m_state.ViewMode == ViewMode::Image)
            btnZoom_Click(100);
        else
            resetToNormal();
    });
}

void ImageZoom::Zoom_Scroll()
{
    trapped([this] {
        if (m_state.ViewMode != ViewMode::Image) {
            resetToNormal();
            return;
        }
        // The value follows the thumb only when it is let go.
        const int zoom = m_controls.Zoom->sliderPosition();
        m_controls.Text2->setText(zoomLabel(zoom));
        ImageViewport &viewport = *m_controls.Picture2;
        const QRectF rect = viewport.imageRectTwips();
        viewport.setImageRectTwips(
            QRectF(rect.topLeft(), zoomedSize(m_state.baseWidth, m_state.baseHeight, zoom)));
    });
}

void ImageZoom::pan(Qt::Orientation orientation)
{
    ImageViewport &viewport = *m_controls.Picture2;
    QRectF rect = viewport.imageRectTwips();
    const QSizeF viewportSize = viewport.sizeTwips();
    if (orientation == Qt::Horizontal) {
        const int step =
            panStep(rect.width(), viewportSize.width(), viewport.HScroll1()->maximum());
        rect.moveLeft(panOffset(viewport.HScroll1()->value(), step));
    } else {
        const int step =
            panStep(rect.height(), viewportSize.height(), viewport.VScroll1()->maximum());
        rect.moveTop(panOffset(viewport.VScroll1()->value(), step));
    }
    viewport.setImageRectTwips(rect);
    m_host.focusFileList();
}

void ImageZoom::HScroll1_Change()
{
    trapped([this] { pan(Qt::Horizontal); });
}

void ImageZoom::VScroll1_Change()
{
    trapped([this] { pan(Qt::Vertical); });
}

void ImageZoom::Image2_Click()
{
    m_host.focusFileList();
}

void ImageZoom::Picture2_Click()
{
    m_host.focusFileList();
}

void ImageZoom::zoomStep(int keyAscii)
{
    const ZoomKey key = zoomKeyOf(keyAscii);
    if (key == ZoomKey::None)
        return;
    trapped([&] {
        if (zoomRefused()) {
            showRefusal();
            return;
        }
        ImageViewport &viewport = *m_controls.Picture2;
        viewport.VScroll1()->setValue(0);
        viewport.HScroll1()->setValue(0);
        viewport.setImageRectTwips(QRectF(QPointF(0, 0), viewport.imageRectTwips().size()));
        m_controls.Zoom->setValue(zoomAfterKey(m_controls.Zoom->value(), key));
        m_host.focusFileList();
    });
}

bool ImageZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.Picture2 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const ImageViewport &viewport = *m_controls.Picture2;
        const QRect image = twipsToPixels(viewport.imageRectTwips(), viewport.logicalDpi());
        if (!viewport.picture().isNull() && image.contains(mouse->position().toPoint()))
            Image2_Click();
        else
            Picture2_Click();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace glintbox
