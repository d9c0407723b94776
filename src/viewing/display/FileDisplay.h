#pragma once

#include "core/FileSystem.h"

#include <QDateTime>
#include <QString>

namespace glintbox {

struct GlintboxState;
struct ViewerControls;
class DisplayHost;
class ViewModes;

// The status line of a shown file: name, size in bytes, modification date.
QString statusLineText(const QString &fileName, qint64 size, const QDateTime &modified);

// The file display File1_Click: the one road by which a file reaches a view.
class FileDisplay {
public:
    FileDisplay(GlintboxState &state, ViewerControls &controls, DisplayHost &host,
                ViewModes &viewModes);

    void File1_Click();

private:
    void show();
    void emptyViews();
    void hideBrowser();
    FileStatus statusEmptyingViewsOnFailure(const QString &path);
    void loadRichText(const QString &path);
    void loadWebPage(const QString &path);
    // Returns the number of shortened reads.
    int loadPlainText(const QString &path);
    void loadPicture(const QString &path);
    void setZoomTo100();
    void focusFileListUnlessPending();

    GlintboxState &m_state;
    ViewerControls &m_controls;
    DisplayHost &m_host;
    ViewModes &m_viewModes;
};

} // namespace glintbox
