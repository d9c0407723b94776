#pragma once

#include "core/FolderWalk.h"
#include "core/lists/WildcardPattern.h"

#include <QStringList>

#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace glintbox {

class FileSystem;
class Prompts;
class RunTimeError;

// The matching files of one folder, in name order, and the folder as the
// results show it: always ending in the separator.
struct FoundFiles {
    QString folderText;
    QStringList names;
};

// The folder text of a folder: a drive root already ends in the separator.
QString folderTextOf(const QString &folder);

// The search walk. From the start folder it enters the subfolders from the
// last in name order to the first, each walked completely, and lists a
// folder's matching files after all its subfolders: the deepest folders come
// first, the start folder last. It yields at the entry of every folder, where
// Stop, the timer and repaints run. Folders are held on a stack of its own,
// so any depth is walked; links are never followed into folders and no
// folder is entered twice, so every walk ends.
class DirDiver {
public:
    struct Hooks {
        // Runs pending events; the folder is the one about to be entered.
        std::function<void(const QString &folder)> yield;
        std::function<void(const FoundFiles &found)> found;
    };

    DirDiver(FileSystem &fs, Prompts &prompts, Hooks hooks);

    // Walks from the start folder; returns when the walk has ended or stopped.
    void dive(const QString &start, const WildcardPattern &pattern);
    // Ends the walk at its next yield: the folders on the way from the start
    // folder still list their files, as far as they are not cut short.
    void stop() { m_walkPermitted = false; }
    bool isDiving() const { return m_diving; }

private:
    // One folder of the way from the start folder down. Frames keep names,
    // not paths: a deep tree's paths would fill the memory.
    struct Frame {
        qsizetype pathLength = 0; // the folder's path is that much of m_path
        QStringList subfolders;   // names, in name order
        QStringList files;
        qsizetype remaining = 0; // subfolders not yet entered
        std::unique_ptr<OpenFolder> folder;
    };
    enum class Entry { Entered, Skipped, Stopped };

    Entry enter(const QString &name);
    Frame frameOf(WalkFolder &read);
    void closeFolder(Frame &frame);
    void popFrame();
    const OpenFolder *nearestOpenFolder() const;
    void report(const RunTimeError &error);

    FileSystem &m_fs;
    Prompts &m_prompts;
    Hooks m_hooks;
    WildcardPattern m_pattern;
    std::vector<Frame> m_stack;
    // The path of the folder on top of the stack.
    QString m_path;
    std::set<std::pair<quint64, quint64>> m_entered;
    int m_openFolders = 0;
    bool m_walkPermitted = false;
    bool m_diving = false;
};

} // namespace glintbox
