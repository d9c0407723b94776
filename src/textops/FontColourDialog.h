#pragma once

#include "core/FontChoice.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

namespace glintbox {

// The font dialog: Qt's font chooser with its effects (underline,
// strikethrough), and the text colour below it, since the font and its colour
// are chosen together.
class FontColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontColourDialog(const FontChoice &initial, QWidget *parent = nullptr);

    FontChoice choice() const;

    QFontDialog *fontChooser() const { return m_fontChooser; }
    QComboBox *colourBox() const { return m_colourBox; }

private:
    void selectColour(quint32 colour);

    QFontDialog *m_fontChooser;
    QComboBox *m_colourBox;
};

} // namespace glintbox
