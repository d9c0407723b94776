#include "FileCommands.h"

#include "FileListHost.h"
#include "TextEditing.h"
#include "core/ErrorTrap.h"
#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "textops/CommonDialog.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"

namespace glintbox {

namespace {

const QString DeleteCaption = QStringLiteral("Glintbox - Delete");

// A new file holds one empty line.
constexpr char NewFileContent[] = "\r\n";

} // namespace

FileCommands::FileCommands(ViewerControls &viewer, DisplayHost &display, FileListHost &lists,
                           CommonDialog &dialog, TextEditing &editing)
    : m_viewer(viewer)
    , m_display(display)
    , m_lists(lists)
    , m_dialog(dialog)
    , m_editing(editing)
{
}

void FileCommands::mnuNewFile_Click()
{
    CommonDialogRequest request;
    request.saveDialogRequested = true;
    const CommonDialogResult chosen = m_dialog.ShowCommonDialog(request);
    if (chosen.cancelled)
        return;
    const QString &path = chosen.newFileName;
    writeNewFile(path);
    // The lists go to the new file's folder, whatever the write did.
    m_lists.showFolder(path.left(path.lastIndexOf(PathSeparator) + 1));
    m_lists.refreshFileList();
    selectByName(fileNameOf(path));
}

void FileCommands::writeNewFile(const QString &path)
{
    Prompts &prompts = m_display.prompts();
    try {
        m_display.fileSystem().writeAll(path, NewFileContent);
    } catch (const RunTimeError &error) {
        if (error.number() == DiskFull)
            prompts.message(QStringLiteral("The destination disk is FULL.  Please free some disk "
                                           "space and try again"),
                            QStringLiteral("Glintbox - Disk Error"), PromptIcon::None);
        else
            showErrorReport(prompts, error);
    }
}

void FileCommands::selectByName(const QString &name)
{
    for (int index = 0; index < m_lists.fileListCount(); ++index) {
        if (m_lists.fileListEntry(index) == name) {
            m_lists.setFileListIndex(index);
            return;
        }
    }
    // The list does not show the file (the file filter hides its type): the
    // file stays on disk and the selection fails.
    throw RunTimeError(InvalidPropertyValue, name);
}

void FileCommands::mnuDeleteFile_Click()
{
    Prompts &prompts = m_display.prompts();
    const int count = m_lists.fileListCount();
    const int index = m_lists.fileListIndex();
    if (count == 0) {
        prompts.message(QStringLiteral("There is no file to delete!"), DeleteCaption,
                        PromptIcon::Information);
        return;
    }
    const QString name = m_display.fileListFileName();
    if (name.isEmpty()) {
        prompts.message(QStringLiteral("You must select a file before you can delete it!"),
                        DeleteCaption, PromptIcon::Information);
        return;
    }
    const QString path = fullPath(m_display.fileListPath(), name);
    if (prompts.message(QStringLiteral("Are you sure you wish to delete ") + path +
                            QStringLiteral(" ?"),
                        DeleteCaption, PromptIcon::None, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    m_display.fileSystem().remove(path);
    m_editing.fileDeleted(path);
    m_lists.refreshFileList();
    // The entry that moved into the deleted one's place, or the new last one.
    const int remaining = m_lists.fileListCount();
    m_lists.setFileListIndex(index >= remaining ? count - 2 : index);
    if (remaining == 0)
        emptyViewer();
}

void FileCommands::emptyViewer()
{
    ViewerControls &v = m_viewer;
    v.Picture2->clearPicture();
    v.Picture2->hide();
    // Hidden, a movie of the deleted file would still be heard.
    v.ActiveMovie1->stop();
    v.ActiveMovie1->hide();
    v.picLaunchWindow->hide();
    m_display.setStatusLine(QString(), QString());
    v.Text1->setText(QString());
    v.Text1->show();
}

} // namespace glintbox
