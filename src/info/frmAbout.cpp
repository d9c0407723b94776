#include "frmAbout.h"

#include "core/ProductInfo.h"
#include "viewing/modes/IconFrames.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

namespace glintbox {

namespace {

// The legal notice: the program's licence.
const QString LicenceNotice = QStringLiteral(
    "Glintbox is protected by copyright law. It is free software: you may copy, change and "
    "pass it on under the terms of the GNU General Public License, version 3 or (at your "
    "option) any later version, as published by the Free Software Foundation. It comes with "
    "ABSOLUTELY NO WARRANTY. The file LICENSE that comes with the program holds the licence.");

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

// Addresses are for copying, so they can be selected.
QLabel *addressLabel(const char *name, const QString &text, QWidget *parent)
{
    QLabel *l = label(name, text, parent);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QFont scaled(QFont font, double factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , m_Label3(label("Label3", QString(), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Glintbox - About"));

    auto *picture = new QLabel(this);
    picture->setPixmap(iconFrame(0).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QLabel *Label2 = label("Label2", QStringLiteral("Glintbox version"), this);
    Label2->setFont(scaled(font(), 1.6, true));
    m_Label3->setFont(Label2->font());
    QLabel *Label5 = label("Label5", QStringLiteral("is brought to"), this);
    QLabel *Label6 = label("Label6", QStringLiteral("you by"), this);
    QLabel *Label9 = label("Label9", product::MakerName, this);
    Label9->setFont(scaled(font(), 1.3, true));
    QLabel *Label7 = label("Label7", QStringLiteral("Visit our Website at:"), this);
    QLabel *Label4 = addressLabel("Label4", product::WebAddress, this);
    QLabel *Label8 = label("Label8", QStringLiteral("Or email us at:"), this);
    QLabel *Label1 = addressLabel("Label1", product::EmailAddress, this);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    QLabel *Label10 = label("Label10", LicenceNotice, this);
    Label10->setWordWrap(true);
    Label10->setFont(scaled(font(), 0.9, false));

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->addWidget(picture, 0, 0, 5, 1);
    auto *version = new QHBoxLayout;
    version->setSpacing(Label2->fontMetrics().horizontalAdvance(u' '));
    version->addWidget(Label2);
    version->addWidget(m_Label3);
    version->addStretch();
    grid->addLayout(version, 0, 1, 1, 2);
    grid->addWidget(Label5, 1, 1, 1, 2);
    grid->addWidget(Label6, 2, 1, 1, 2);
    grid->addWidget(Label9, 3, 1, 1, 2);
    grid->setRowMinimumHeight(4, 8);
    grid->addWidget(Label7, 5, 1);
    grid->addWidget(Label4, 5, 2);
    grid->addWidget(Label8, 6, 1);
    grid->addWidget(Label1, 6, 2);
    grid->addWidget(rule, 7, 0, 1, 3);
    grid->addWidget(Label10, 8, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    Form_Load();
    // The notice wraps within the width the other lines need; the window
    // keeps the size of its content.
    Label10->setMinimumWidth(440);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::Form_Load()
{
    m_Label3->setText(product::VersionText);
}

} // namespace glintbox
