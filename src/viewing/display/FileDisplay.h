#pragma once

#include "core/FileSystem.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace glintbox {

struct GlintboxState;
struct ViewerControls;
class DisplayHost;
class ViewModes;
class TextFileReader;
struct TextReadResult;

// The status line of a shown file: name, size in bytes, modification date.
QString statusLineText(const QString &fileName, qint64 size, const QDateTime &modified);

// The file display File1_Click: the one road by which a file reaches a view.
class FileDisplay {
public:
    FileDisplay(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
                ViewModes &viewModes);
    ~FileDisplay();

    void File1_Click();

private:
    void show();
    void emptyViews();
    void hideBrowser();
    FileStatus statusEmptyingViewsOnFailure(const QString &path);
    void loadRichText(const QString &path);
    void loadWebPage(const QString &path);
    // A big file's text is read on a worker and shown when it is in; a small
    // one's at once, returning the number of shortened reads.
    int loadPlainText(const QString &path);
    int showPlainText(const QString &path, const TextReadResult &read);
    void plainTextRead();
    // Reports a read cut short; returns whether nothing could be shown.
    bool reportShortenedRead(int shortenCount);
    void loadPicture(const QString &path);
    void setZoomTo100();
    void focusFileListUnlessPending();

    GlintboxState &m_state;
    ViewerControls &m_controls;
    DisplayHost &m_host;
    ViewModes &m_viewModes;
    std::unique_ptr<TextFileReader> m_textReader;
};

} // namespace glintbox
