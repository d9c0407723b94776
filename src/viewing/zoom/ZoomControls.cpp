#include "ZoomControls.h"

#include "ZoomRules.h"
#include "viewing/display/ViewerControls.h"

#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

namespace glintbox {

void addZoomControls(QToolBar &toolbar, ViewerControls &controls)
{
    controls.Text2 = new QLabel(zoomLabel(NormalZoom), &toolbar);
    controls.Text2->setObjectName(QStringLiteral("Text2"));
    controls.Text2->setMinimumWidth(
        controls.Text2->fontMetrics().horizontalAdvance(zoomLabel(MaximumZoom)) + 6);
    controls.Text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    toolbar.addWidget(controls.Text2);

    controls.Zoom = new QSlider(Qt::Horizontal, &toolbar);
    controls.Zoom->setObjectName(QStringLiteral("Zoom"));
    controls.Zoom->setToolTip(QStringLiteral("Zoom Control"));
    controls.Zoom->setRange(MinimumZoom, MaximumZoom);
    controls.Zoom->setSingleStep(5);
    controls.Zoom->setPageStep(50);
    controls.Zoom->setValue(NormalZoom);
    controls.Zoom->setFixedWidth(120);
    toolbar.addWidget(controls.Zoom);

    const auto &presets = zoomPresets();
    for (size_t i = 0; i < presets.size(); ++i) {
        // As narrow as its caption, so that the nine fit one row of a small window.
        auto *button = new QToolButton(&toolbar);
        button->setText(zoomPresetCaption(presets.at(i)));
        button->setAutoRaise(true);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 10);
        button->setObjectName(QStringLiteral("btnZoom%1").arg(i));
        button->setToolTip(QString::fromLatin1(presets.at(i).toolTip));
        button->setEnabled(false);
        // A click gives the focus back to the file list; the button never takes it.
        button->setFocusPolicy(Qt::NoFocus);
        toolbar.addWidget(button);
        controls.btnZoom.at(i) = button;
    }
}

} // namespace glintbox
