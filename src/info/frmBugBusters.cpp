#include "frmBugBusters.h"

#include "CreditsPicture.h"
#include "core/Twips.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace glintbox {

namespace {

// The frame that clips the credits, and the picture: tall enough that the
// list has wholly risen through the frame when it starts over.
constexpr double FrameWidthTwips = 4800;
constexpr double FrameHeightTwips = 2700;
constexpr double PictureHeightTwips = frmBugBusters::RestartAfterTwips + FrameHeightTwips;

QLabel *titleLabel(const QString &text, const char *name, double pointScale, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * pointScale);
    label->setFont(font);
    return label;
}

} // namespace

frmBugBusters::frmBugBusters(QWidget *parent)
    : QDialog(parent)
    , m_Picture1(new QFrame(this))
    , m_Image1(new QLabel(m_Picture1))
    , m_Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmBugBusters"));
    setWindowTitle(QStringLiteral("Glintbox - Bug Busters"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel(QStringLiteral("BUG BUSTERS"), "Label1", 2.0, this));
    layout->addWidget(titleLabel(QStringLiteral("PLEASE REPORT"), "Label2", 1.3, this));
    layout->addWidget(titleLabel(QStringLiteral("BUGS"), "Label3", 2.0, this));
    auto *thanks = new QLabel(QStringLiteral("Our thanks go out to those listed"), this);
    thanks->setObjectName(QStringLiteral("Label4"));
    thanks->setAlignment(Qt::AlignCenter);
    layout->addWidget(thanks);
    layout->addSpacing(8);

    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setFrameShape(QFrame::StyledPanel);
    m_Picture1->setFrameShadow(QFrame::Sunken);
    m_Picture1->setBackgroundRole(QPalette::Base);
    m_Picture1->setAutoFillBackground(true);
    const double dpi = logicalDpiOf(*this);
    m_Picture1->setFixedSize(twipsToPixels(FrameWidthTwips, dpi),
                             twipsToPixels(FrameHeightTwips, dpi));
    layout->addWidget(m_Picture1, 0, Qt::AlignHCenter);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(m_Timer1, &QTimer::timeout, this, &frmBugBusters::Timer1_Timer);
    drawPicture();
    Form_Load();
}

void frmBugBusters::Form_Load()
{
    m_Timer1->setInterval(TickMilliseconds);
    m_Timer1->start();
}

void frmBugBusters::Timer1_Timer()
{
    m_imageTop -= StepTwips;
    m_scrollDistance += qint16(StepTwips);
    if (m_scrollDistance > RestartAfterTwips) {
        m_imageTop = 0;
        m_scrollDistance = 0;
    }
    placePicture();
}

void frmBugBusters::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The picture is drawn in the palette's text colour: redrawn when it changes.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        drawPicture();
}

void frmBugBusters::drawPicture()
{
    const double dpi = logicalDpiOf(*this);
    const QSize size(twipsToPixels(FrameWidthTwips, dpi), twipsToPixels(PictureHeightTwips, dpi));
    m_Image1->setPixmap(drawCreditsPicture(size, devicePixelRatioF(), font(), palette()));
    m_Image1->resize(size);
    placePicture();
}

void frmBugBusters::placePicture()
{
    m_Image1->move(0, twipsToPixels(m_imageTop, logicalDpiOf(*this)));
}

} // namespace glintbox
