#pragma once

#include "CommonDialogs.h"

#include <QString>
#include <memory>

class QPrinter;

namespace glintbox {

struct GlintboxState;
class DisplayHost;
class RichTextBox;

// Which dialog a ShowCommonDialog call shows, chosen by its request flags.
enum class CommonDialogMode { Printer, Save, Font, Colour };

// The request flags of ShowCommonDialog, set by the caller for one call.
struct CommonDialogRequest {
    bool printerDialogRequested = false;
    bool saveDialogRequested = false;
    bool fontDialogRequested = false;
    // Colour mode: the colour the dialog opens on (0x00BBGGRR or a system
    // colour reference).
    quint32 colour = 0;
};

// When several flags are set the first in the order printer, save, font wins;
// with none set the colour dialog is shown.
CommonDialogMode commonDialogMode(const CommonDialogRequest &request);

// What a ShowCommonDialog call hands back. A cancelled dialog hands back
// nothing else: its values stay as they were.
struct CommonDialogResult {
    CommonDialogMode mode = CommonDialogMode::Colour;
    bool cancelled = false;
    // Colour mode: the colour picked, 0x00BBGGRR.
    quint32 chosenColour = 0;
    // Save mode: the full path chosen.
    QString newFileName;
    // The number of copies last chosen in the printer dialog.
    int copies = 1;
};

// The filter pairs of the save dialog, the first selected.
const QList<FileTypeFilter> &saveDialogFilters();

// The main window's common dialog and the procedure ShowCommonDialog that
// drives it in one of four modes: printer, save file, font and colour. The
// font mode also applies the chosen font and colour to the text view and keeps
// them in the shared state, where start-up and shut-down find them.
class CommonDialog {
public:
    CommonDialog(GlintboxState &state, CommonDialogs &dialogs, DisplayHost &host,
                 RichTextBox &text1);
    ~CommonDialog();

    CommonDialogResult ShowCommonDialog(const CommonDialogRequest &request);

    // The printer the printer dialog set up, made on first use.
    QPrinter &printer();

private:
    void showFont(CommonDialogResult &result);

    GlintboxState &m_state;
    CommonDialogs &m_dialogs;
    DisplayHost &m_host;
    RichTextBox &m_text1;
    std::unique_ptr<QPrinter> m_printer;
    int m_copies = 1;
};

} // namespace glintbox
