#pragma once

#include "core/FontChoice.h"
#include "core/ViewMode.h"

#include <QString>

namespace glintbox {

// The main window's shared state: what the handlers of every subsystem read
// and write between events. Controls hold the rest.
struct GlintboxState {
    // Qualified: the member has the type's name.
    glintbox::ViewMode ViewMode = glintbox::ViewMode::Text;
    qint16 IconFrame = 0;
    QString previousDrive;
    double maxFileSize = 20480000;
    QString controlsPosition = QStringLiteral("Side");
    bool RtfClickSuppressed = false;
    bool WebMode = false;
    bool FocusFileListPending = false;

    // The file being shown.
    QString FileExt;
    QString currentFolder;
    double fileSize = 0;
    qint16 sizeLevel = 0;
    // Natural size of the loaded picture, twips.
    double baseWidth = 0;
    double baseHeight = 0;

    // Background colours (0x00BBGGRR or a system colour reference).
    quint32 textColour = 0x80000005u;
    quint32 pictureColour = 0x808080u;
    quint32 launchColour = 0x808080u;

    FontChoice font;
};

} // namespace glintbox
