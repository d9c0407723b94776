#pragma once

#include "ScriptedPrompts.h"
#include "core/FileSystem.h"
#include "viewing/display/DisplayHost.h"

namespace glintbox {

// A display host over a scripted prompt and a chosen file list entry, which
// counts how often the focus was sent back to the file list.
class FakeDisplayHost : public DisplayHost {
public:
    QString folder = QStringLiteral("/");
    QString fileName;
    ScriptedPrompts scriptedPrompts;
    int focusCount = 0;

    QString fileListPath() const override { return folder; }
    QString fileListFileName() const override { return fileName; }
    void setFileListToolTip(const QString &) override {}
    void focusFileList() override { ++focusCount; }
    void setStatusLine(const QString &, const QString &) override {}
    void Dir1_Change() override {}
    Prompts &prompts() override { return scriptedPrompts; }
    FileSystem &fileSystem() override { return FileSystem::local(); }
};

} // namespace glintbox
