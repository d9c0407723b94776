#include "FontColourDialog.h"

#include "core/Colours.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace glintbox {

namespace {

struct NamedColour {
    const char *name;
    quint32 value; // 0x00BBGGRR
};

// The sixteen colours a font colour is usually picked from.
constexpr NamedColour standardColours[] = {
    {"Black", rgbColourValue(0, 0, 0)},        {"Maroon", rgbColourValue(128, 0, 0)},
    {"Green", rgbColourValue(0, 128, 0)},      {"Olive", rgbColourValue(128, 128, 0)},
    {"Navy", rgbColourValue(0, 0, 128)},       {"Purple", rgbColourValue(128, 0, 128)},
    {"Teal", rgbColourValue(0, 128, 128)},     {"Grey", rgbColourValue(128, 128, 128)},
    {"Silver", rgbColourValue(192, 192, 192)}, {"Red", rgbColourValue(255, 0, 0)},
    {"Lime", rgbColourValue(0, 255, 0)},       {"Yellow", rgbColourValue(255, 255, 0)},
    {"Blue", rgbColourValue(0, 0, 255)},       {"Fuchsia", rgbColourValue(255, 0, 255)},
    {"Aqua", rgbColourValue(0, 255, 255)},     {"White", rgbColourValue(255, 255, 255)},
};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The font as the chooser lists it: the family the font really resolves to
// (a name the system lacks, such as "Tahoma", matches none of the listed
// families) and the style by its listed name. Given only the bold and italic
// flags, the chooser picks the first listed style that fits, which for some
// families is an oblique one, so OK without a change would turn on italic.
QFont asListed(const QFont &font)
{
    const QFontInfo resolved(font);
    QFont listed = font;
    listed.setFamily(resolved.family());
    listed.setStyleName(QFontDatabase::styleString(resolved));
    return listed;
}

} // namespace

FontColourDialog::FontColourDialog(const FontChoice &initial, QWidget *parent)
    : QDialog(parent)
    , m_fontChooser(new QFontDialog(this))
    , m_colourBox(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Font"));
    setObjectName(QStringLiteral("FontColourDialog"));
    // Qt's chooser lives inside this dialog as a plain widget with no buttons
    // of its own.
    m_fontChooser->setWindowFlags(Qt::Widget);
    m_fontChooser->setOptions(QFontDialog::NoButtons);
    m_fontChooser->setCurrentFont(asListed(initial.toFont()));
    m_fontChooser->setSizeGripEnabled(false);

    m_colourBox->setObjectName(QStringLiteral("colourBox"));
    for (const NamedColour &colour : standardColours)
        m_colourBox->addItem(swatch(resolveColour(colour.value, palette())),
                             QString::fromLatin1(colour.name), colour.value);
    selectColour(initial.colour);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The chooser is a dialog of its own: Escape inside it closes it, which
    // must close this dialog; and its hidden buttons must not stand in for
    // ours as the one Enter presses.
    connect(m_fontChooser, &QDialog::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto *colourRow = new QFormLayout;
    colourRow->addRow(QStringLiteral("&Colour:"), m_colourBox);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fontChooser);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    m_fontChooser->show();
}

void FontColourDialog::selectColour(quint32 colour)
{
    int index = m_colourBox->findData(colour);
    if (index < 0) {
        // A colour outside the sixteen (or a system colour) stays choosable
        // as it is, so that OK without a change keeps it.
        m_colourBox->addItem(swatch(resolveColour(colour, palette())), QStringLiteral("Custom"),
                             colour);
        index = m_colourBox->count() - 1;
    }
    m_colourBox->setCurrentIndex(index);
}

FontChoice FontColourDialog::choice() const
{
    const QFont font = m_fontChooser->currentFont();
    FontChoice choice;
    choice.name = font.family();
    choice.size = float(font.pointSizeF());
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikethrough = font.strikeOut();
    choice.colour = m_colourBox->currentData().toUInt();
    return choice;
}

} // namespace glintbox
