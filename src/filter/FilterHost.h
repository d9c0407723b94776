#pragma once

#include <QString>

class QWidget;

namespace glintbox {

class Prompts;

// What the file filter needs from the main window: the file list, the count
// line, the viewer and the prompts.
class FilterHost {
public:
    virtual ~FilterHost() = default;
    // File1 takes the pattern and re-reads its folder; may throw RunTimeError.
    virtual void setFileListPattern(const QString &pattern) = 0;
    // Text1's text becomes empty and Image2's picture is removed.
    virtual void emptyViewer() = 0;
    virtual int fileListCount() const = 0;
    // Label2 shows the count.
    virtual void setFileCountLabel(int count) = 0;
    // Selects File1's first entry when it lists one, otherwise runs ClearViewer.
    virtual void showFirstFileOrClear() = 0;
    virtual Prompts &prompts() = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace glintbox
