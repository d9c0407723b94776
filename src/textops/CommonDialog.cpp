#include "CommonDialog.h"

#include "core/Colours.h"
#include "core/GlintboxState.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/text/RichTextBox.h"

#include <QPrinter>

namespace glintbox {

CommonDialogMode commonDialogMode(const CommonDialogRequest &request)
{
    if (request.printerDialogRequested)
        return CommonDialogMode::Printer;
    if (request.saveDialogRequested)
        return CommonDialogMode::Save;
    if (request.fontDialogRequested)
        return CommonDialogMode::Font;
    return CommonDialogMode::Colour;
}

const QList<FileTypeFilter> &saveDialogFilters()
{
    static const QList<FileTypeFilter> filters = [] {
        const char *const pairs[][2] = {
            {"Text Files (*.txt)", "*.txt"},  {"Web Page (*.htm)", "*.htm"},
            {"Web Page (*.html)", "*.html"},  {"Instruction (*.ini)", "*.ini"},
            {"Information (*.inf)", "*.inf"}, {"Rich Text (*.rtf)", "*.rtf"},
            {"Batch Files (*.bat)", "*.bat"}, {"System Files (*.sys)", "*.sys"},
            {"Log Files (*.log)", "*.log"},   {"Visual Basic Project (*.vbp)", "*.vbp"},
            {"Basic Files (*.bas)", "*.bas"}, {"Form Files (*.frm)", "*.frm"},
            {"List Files (*.lst)", "*.lst"},  {"Info Files (*.nfo)", "*.nfo"},
        };
        QList<FileTypeFilter> list;
        for (const auto &pair : pairs)
            list.append({QString::fromLatin1(pair[0]), QString::fromLatin1(pair[1])});
        return list;
    }();
    return filters;
}

CommonDialog::CommonDialog(GlintboxState &state, CommonDialogs &dialogs, DisplayHost &host,
                           RichTextBox &text1)
    : m_state(state)
    , m_dialogs(dialogs)
    , m_host(host)
    , m_text1(text1)
{
}

CommonDialog::~CommonDialog() = default;

QPrinter &CommonDialog::printer()
{
    // Made on first use: looking up the printing system's printers costs time
    // that start-up should not pay.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

CommonDialogResult CommonDialog::ShowCommonDialog(const CommonDialogRequest &request)
{
    CommonDialogResult result;
    result.mode = commonDialogMode(request);
    switch (result.mode) {
    case CommonDialogMode::Printer:
        if (m_dialogs.choosePrinter(printer()))
            m_copies = printer().copyCount();
        else
            result.cancelled = true;
        break;
    case CommonDialogMode::Save:
        if (const auto chosen =
                m_dialogs.chooseSaveFile({m_host.fileListPath(), saveDialogFilters()}))
            result.newFileName = *chosen;
        else
            result.cancelled = true;
        break;
    case CommonDialogMode::Font:
        showFont(result);
        break;
    case CommonDialogMode::Colour:
        if (const auto chosen =
                m_dialogs.chooseColour(resolveColour(request.colour, m_text1.palette())))
            result.chosenColour = colourValue(*chosen);
        else
            result.cancelled = true;
        break;
    }
    result.copies = m_copies;
    return result;
}

void CommonDialog::showFont(CommonDialogResult &result)
{
    const auto chosen = m_dialogs.chooseFont(m_state.font);
    // A cancel keeps the font as it is; applying it again would lay a
    // formatted text's own fonts under the one font.
    if (!chosen) {
        result.cancelled = true;
        return;
    }
    m_state.font = *chosen;
    m_text1.setTextFont(m_state.font.toFont());
    m_text1.setTextColour(m_state.font.colour);
}

} // namespace glintbox
