#pragma once

class QPrinter;
class QString;

namespace glintbox {

struct GlintboxState;
struct ViewerControls;
class CommonDialog;
class DisplayHost;

// The print command: the shown text with its formatting, the page the browser
// shows, or the shown picture at its own size under a header naming the file;
// each copy chosen in the printer dialog is a print job of its own.
class Printing {
public:
    Printing(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
             CommonDialog &dialog);

    void mnuPrint_Click();

private:
    void printCopies(QPrinter &printer, const QString &chosenFile, int copies);
    void printPicture(QPrinter &printer);
    void printText(QPrinter &printer);
    bool browserShowsPage() const;

    GlintboxState &m_state;
    ViewerControls &m_controls;
    DisplayHost &m_host;
    CommonDialog &m_dialog;
};

} // namespace glintbox
