#include "FileDisplay.h"

#include "DisplayHost.h"
#include "ViewModes.h"
#include "ViewerControls.h"
#include "core/Colours.h"
#include "core/ErrorTrap.h"
#include "core/FileNameBytes.h"
#include "core/FileSystem.h"
#include "core/GlintboxState.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "formats/rtf/RtfMetafiles.h"
#include "formats/text/TextRead.h"
#include "viewing/gauge/MaxSizeLights.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/modes/SizeLevel.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/pictures/PictureLoader.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/text/TextFileReader.h"
#include "viewing/web/WebBrowserView.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTextDocument>

namespace glintbox {

namespace {

constexpr int GiveUpShortenings = 200;
constexpr int QuietShortenings = 10;
// A smaller text is read at once: its read takes a few milliseconds, and a
// worker would only put off its first screen by an event-loop pass.
constexpr qint64 WorkerReadMinimumSize = 1024 * 1024;

const QString PastEndCaption = QStringLiteral("Glintbox - Input past end of file - Error 62");

} // namespace

QString statusLineText(const QString &fileName, qint64 size, const QDateTime &modified)
{
    return QStringLiteral(" File Name: ") + fileName + QStringLiteral("          File Size: ") +
           QString::number(size) + QStringLiteral(" bytes          Modified Date: ") +
           modified.toString(QStringLiteral("dd/MM/yyyy"));
}

FileDisplay::FileDisplay(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
                         ViewModes &viewModes)
    : m_state(state)
    , m_controls(controls)
    , m_host(host)
    , m_viewModes(viewModes)
    , m_textReader(std::make_unique<TextFileReader>())
{
    QObject::connect(m_textReader.get(), &TextFileReader::ended, m_textReader.get(),
                     [this] { plainTextRead(); });
    // Whatever else fills or empties the box ends the wait for a text.
    QObject::connect(m_controls.Text1, &RichTextBox::aboutToReplaceContent, m_textReader.get(),
                     [this] { m_textReader->abandon(); });
}

FileDisplay::~FileDisplay() = default;

void FileDisplay::File1_Click()
{
    runTrapped(m_host.prompts(), [this] { show(); });
}

void FileDisplay::show()
{
    m_state.currentFolder = folderWithoutSeparator(m_host.fileListPath());
    const QString name = m_host.fileListFileName();
    if (name.isEmpty())
        return;
    // The text still read for the file shown before is wanted no more: emptying
    // the box abandons its read.
    if (m_textReader->isReading())
        m_controls.Text1->cancelLoading();
    const QString path = fullPath(m_state.currentFolder, name);
    const FileStatus status = statusEmptyingViewsOnFailure(path);
    m_state.fileSize = double(status.size);
    const QString shownName = displayableFileName(name);
    m_host.setStatusLine(statusLineText(shownName, status.size, status.modified), shownName);
    m_state.FileExt = fileExtOf(name);
    m_viewModes.SetViewMode();

    int level = sizeLevel(m_state.fileSize, m_state.maxFileSize);
    m_controls.gauge->setColours(MaxSizeLights(level, m_viewModes.viewMode()));
    m_state.sizeLevel = qint16(level);
    m_host.Dir1_Change();

    if (isAboveMaximum(m_state.fileSize, m_state.maxFileSize) || !status.isRegular) {
        // Refused: no view may go on showing the previous file under this name.
        emptyViews();
        // A pipe, socket or device is reported; a file too big only shows its size.
        requireRegularFile(status, path);
        m_host.focusFileList();
        return;
    }

    int shortenCount = 0;
    const ViewMode mode = m_viewModes.viewMode();
    if (mode == ViewMode::Text) {
        if (isRichTextExt(m_state.FileExt) && m_controls.chkAutoMode->isChecked())
            loadRichText(path);
        else if (isHtmlExt(m_state.FileExt) && m_controls.chkHTMLmode->isChecked())
            loadWebPage(path);
        else
            shortenCount = loadPlainText(path);
    } else if (mode == ViewMode::Image) {
        loadPicture(path);
    } else if (mode == ViewMode::Movie) {
        m_controls.ActiveMovie1->setFileName(path);
    }

    if (reportShortenedRead(shortenCount)) {
        focusFileListUnlessPending();
        return;
    }
    setZoomTo100();
    m_host.setFileListToolTip(displayableFileName(name));
    focusFileListUnlessPending();
}

bool FileDisplay::reportShortenedRead(int shortenCount)
{
    Prompts &prompts = m_host.prompts();
    if (shortenCount >= GiveUpShortenings) {
        prompts.message(QStringLiteral("An 'Input past end of file' error has occured.  Glintbox "
                                       "was unable to resolve the problem, therefore the file "
                                       "cannot be displayed."),
                        PastEndCaption, PromptIcon::Critical);
        return true;
    }
    if (shortenCount > QuietShortenings) {
        prompts.message(QStringLiteral("An 'Input past end of file' error has occured.  Glintbox "
                                       "has reduced the size of the file until it could be "
                                       "displayed.  It is recommended that you check this file."),
                        PastEndCaption, PromptIcon::Critical);
    }
    return false;
}

void FileDisplay::emptyViews()
{
    m_controls.Text1->setText(QString());
    m_controls.Picture2->clearPicture();
    m_controls.WebBrowser1->clear();
    m_controls.ActiveMovie1->clear();
}

void FileDisplay::hideBrowser()
{
    m_controls.WebBrowser1->setVisible(false);
    m_controls.WebBrowser1->clear();
}

FileStatus FileDisplay::statusEmptyingViewsOnFailure(const QString &path)
{
    try {
        return m_host.fileSystem().status(path);
    } catch (const RunTimeError &) {
        // The list now names this file: nothing of the one shown before may stay on view.
        m_viewModes.ClearViewer();
        emptyViews();
        throw;
    }
}

void FileDisplay::loadRichText(const QString &path)
{
    hideBrowser();
    m_controls.Text1->setText(QString());
    RtfReadResult result =
        readRtf(m_host.fileSystem().readAll(path), rtfReadOptionsWithMetafiles());
    m_controls.Text1->setDocument(std::move(result.document));
    m_host.textShown({path, true, {}, true, {}});
}

void FileDisplay::loadWebPage(const QString &path)
{
    m_controls.WebBrowser1->setOffline(!m_state.WebMode);
    m_controls.WebBrowser1->navigate(path);
    m_controls.WebBrowser1->setVisible(true);
    // Hidden, the text box must not keep the previous file's text for the
    // text commands (copy, search) to act on.
    m_controls.Text1->setText(QString());
    m_controls.Text1->setVisible(false);
}

int FileDisplay::loadPlainText(const QString &path)
{
    RichTextBox &text1 = *m_controls.Text1;
    hideBrowser();
    setZoomTo100();
    // Emptied before the read, so a failed read leaves no other file's text
    // under this name.
    text1.setText(QString());
    text1.setTextFont(m_state.font.toFont());
    text1.setTextColour(m_state.font.drawnColour());
    const qint64 size = qint64(m_state.fileSize);
    if (size < WorkerReadMinimumSize)
        return showPlainText(path, readFileAsText(m_host.fileSystem(), path, size));
    m_textReader->start(m_host.fileSystem(), path, size);
    text1.awaitText([this] { m_textReader->finish(); });
    return 0;
}

int FileDisplay::showPlainText(const QString &path, const TextReadResult &read)
{
    m_controls.Text1->setText(read.text);
    m_host.textShown({path, false, read.form, read.whole, read.text});
    return read.shortenCount;
}

void FileDisplay::plainTextRead()
{
    runTrapped(m_host.prompts(), [this] {
        try {
            if (reportShortenedRead(
                    showPlainText(m_textReader->path(), m_textReader->takeResult())))
                focusFileListUnlessPending();
        } catch (...) {
            // The box waits for no text any more; it stays empty.
            m_controls.Text1->setText(QString());
            throw;
        }
    });
}

void FileDisplay::loadPicture(const QString &path)
{
    // Nothing of the previous picture may stay under this file's name.
    m_controls.Picture2->clearPicture();
    m_controls.Picture2->setPicture(glintbox::loadPicture(m_host.fileSystem().readAll(path)));
    const QSizeF base = m_controls.Picture2->imageRectTwips().size();
    m_state.baseWidth = base.width();
    m_state.baseHeight = base.height();
}

void FileDisplay::setZoomTo100()
{
    if (m_controls.Text2)
        m_controls.Text2->setText(QStringLiteral("100 %"));
    if (m_controls.Zoom)
        m_controls.Zoom->setValue(100);
}

void FileDisplay::focusFileListUnlessPending()
{
    if (!m_state.FocusFileListPending)
        m_host.focusFileList();
}

} // namespace glintbox
