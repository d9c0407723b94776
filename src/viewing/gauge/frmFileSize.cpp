#include "frmFileSize.h"

#include "core/DecimalText.h"
#include "core/ErrorTrap.h"
#include "core/RunTimeError.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace glintbox {

namespace {

constexpr double BytesPerKiloByte = 1024.0;
constexpr char16_t Backspace = 8;

QString kiloBytesText(double maximum)
{
    return plainDecimal(maximum / BytesPerKiloByte);
}

// The text box can still receive any text by pasting, so the conversion
// reports what a typed value never triggers.
double bytesFromKiloBytesText(const QString &text)
{
    bool ok = false;
    const double kiloBytes = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw RunTimeError(std::isinf(kiloBytes) ? Overflow : TypeMismatch,
                           QStringLiteral("maximum file size \"%1\"").arg(text));
    if (std::isnan(kiloBytes))
        throw RunTimeError(TypeMismatch, QStringLiteral("maximum file size \"%1\"").arg(text));
    const double bytes = kiloBytes * BytesPerKiloByte;
    if (std::isinf(bytes))
        throw RunTimeError(Overflow, QStringLiteral("maximum file size \"%1\"").arg(text));
    return bytes;
}

QLabel *bannerLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

frmFileSize::frmFileSize(Prompts &prompts, double currentMaximum, QWidget *parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_txtInputMaxFile(new QLineEdit(this))
    , m_btnOptionsOK(new QPushButton(QStringLiteral("&OK"), this))
    , m_btnOptionsClear(new QPushButton(QStringLiteral("C&lear"), this))
    , m_btnOptionCancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName(QStringLiteral("frmFileSize"));
    setWindowTitle(QStringLiteral("Glintbox - Maximum File Size"));

    auto *label5 =
        new QLabel(QStringLiteral("Input the maximum file size you wish to view below"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setBuddy(m_txtInputMaxFile);

    m_txtInputMaxFile->setObjectName(QStringLiteral("txtInputMaxFile"));
    m_txtInputMaxFile->setToolTip(QStringLiteral("Enter Maximum File Size Here"));
    m_txtInputMaxFile->setText(kiloBytesText(currentMaximum));
    m_txtInputMaxFile->setAlignment(Qt::AlignRight);
    m_txtInputMaxFile->installEventFilter(this);
    auto *label4 = new QLabel(QStringLiteral("KiloBytes"), this);
    label4->setObjectName(QStringLiteral("Label4"));

    m_btnOptionsOK->setObjectName(QStringLiteral("btnOptionsOK"));
    m_btnOptionsOK->setDefault(true);
    m_btnOptionsClear->setObjectName(QStringLiteral("btnOptionsClear"));
    m_btnOptionsClear->setToolTip(QStringLiteral("Clear Contents of Input Box"));
    m_btnOptionCancel->setObjectName(QStringLiteral("btnOptionCancel"));
    m_btnOptionCancel->setToolTip(QStringLiteral("Cancel and Return to Main Viewer"));
    // A focused button answers Enter (Tab to Cancel, Enter cancels); from the
    // text box Enter reaches OK, the default.
    for (QPushButton *button : {m_btnOptionsOK, m_btnOptionsClear, m_btnOptionCancel})
        button->setAutoDefault(true);

    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(m_txtInputMaxFile, 1);
    inputRow->addWidget(label4);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_btnOptionsOK);
    buttonRow->addWidget(m_btnOptionsClear);
    buttonRow->addWidget(m_btnOptionCancel);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 16);
    body->setSpacing(8);
    body->addWidget(label5);
    body->addLayout(inputRow);
    body->addSpacing(8);
    body->addLayout(buttonRow);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(createBanner());
    page->addLayout(body);
    page->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_txtInputMaxFile, m_btnOptionCancel);
    setTabOrder(m_btnOptionCancel, m_btnOptionsClear);
    setTabOrder(m_btnOptionsClear, m_btnOptionsOK);
    m_txtInputMaxFile->setFocus();
    m_txtInputMaxFile->selectAll();

    connect(m_btnOptionsOK, &QPushButton::clicked, this, &frmFileSize::btnOptionsOK_Click);
    connect(m_btnOptionsClear, &QPushButton::clicked, this, &frmFileSize::btnOptionsClear_Click);
    connect(m_btnOptionCancel, &QPushButton::clicked, this, &frmFileSize::btnOptionCancel_Click);
}

QWidget *frmFileSize::createBanner()
{
    auto *banner = new QWidget(this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setAutoFillBackground(true);
    QPalette colours = banner->palette();
    colours.setColor(QPalette::Window, QColor(0x1d, 0x4d, 0x9a));
    colours.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(colours);

    auto *label1 = bannerLabel(QStringLiteral("Maximum allowable file size"), banner);
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = bannerLabel(QStringLiteral("is UNLIMITED"), banner);
    label2->setObjectName(QStringLiteral("Label2"));

    auto *lines = new QVBoxLayout(banner);
    lines->setContentsMargins(24, 14, 24, 14);
    lines->setSpacing(2);
    lines->addWidget(label1);
    lines->addWidget(label2);
    return banner;
}

std::optional<double> frmFileSize::askMaximum(QWidget *parent, Prompts &prompts,
                                              double currentMaximum)
{
    frmFileSize dialog(prompts, currentMaximum, parent);
    dialog.exec();
    return dialog.confirmedMaximum();
}

bool frmFileSize::txtInputMaxFile_KeyPress(QChar typed)
{
    return (typed >= u'0' && typed <= u'9') || typed == Backspace;
}

bool frmFileSize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_txtInputMaxFile || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    // Keys, not characters: Enter confirms through the default button, Escape
    // closes like the close box, Tab moves the focus, Delete edits.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    const QString typed = key->text();
    if (typed.isEmpty())
        return false; // cursor and other keys that type nothing
    return !std::all_of(typed.cbegin(), typed.cend(), txtInputMaxFile_KeyPress);
}

void frmFileSize::btnOptionsOK_Click()
{
    runTrapped(m_prompts, [this] {
        const QString text = m_txtInputMaxFile->text();
        if (text.isEmpty())
            return;
        m_confirmedMaximum = bytesFromKiloBytesText(text);
        accept();
    });
}

void frmFileSize::btnOptionsClear_Click()
{
    m_txtInputMaxFile->clear();
}

void frmFileSize::btnOptionCancel_Click()
{
    reject();
}

} // namespace glintbox
