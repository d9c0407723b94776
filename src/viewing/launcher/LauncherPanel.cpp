#include "LauncherPanel.h"

#include "LauncherImage.h"
#include "core/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace glintbox {

namespace {

// Places in twips from the panel's top left corner; the panel is designed
// 3975 twips square, which centres them.
const QRectF Image3Place(1200, 240, 1560, 1560);
const QRectF AppNamePlace(240, 2160, 3495, 375);
const QRectF Label3Place(240, 2640, 3495, 495);

QLabel *boldLabel(const QString &name, const QString &text, double points, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    // The program's name comes from its file name, which is no markup.
    label->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

} // namespace

LauncherPanel::LauncherPanel(QWidget *parent)
    : QFrame(parent)
    , m_image3(new LauncherImage(this))
    , m_lblAppName(boldLabel(QStringLiteral("lblAppName"), QString(), 10, this))
    , m_label3(boldLabel(QStringLiteral("Label3"),
                         QStringLiteral("Double-click on the Launcher image to execute this "
                                        "application"),
                         8, this))
{
    setObjectName(QStringLiteral("picLaunchWindow"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    m_label3->setWordWrap(true);
    connect(m_image3, &LauncherImage::doubleClicked, this, &LauncherPanel::Image3_DblClick);
    placeChildren();
}

void LauncherPanel::placeChildren()
{
    const double dpi = logicalDpiX();
    m_image3->setGeometry(twipsToPixels(Image3Place, dpi));
    m_lblAppName->setGeometry(twipsToPixels(AppNamePlace, dpi));
    m_label3->setGeometry(twipsToPixels(Label3Place, dpi));
}

void LauncherPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void LauncherPanel::changeEvent(QEvent *event)
{
    // Moving to a screen of another DPI changes the pixels of each place.
    if (event->type() == QEvent::ScreenChangeInternal)
        placeChildren();
    QFrame::changeEvent(event);
}

} // namespace glintbox
