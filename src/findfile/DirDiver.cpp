#include "DirDiver.h"

#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "core/lists/NameOrder.h"

#include <QScopeGuard>

namespace glintbox {

namespace {

// Folders kept open on the stack so that their remaining subfolders open
// relative to them; deeper ones are reached from the nearest open ancestor,
// so a deep, branching tree never runs out of descriptors.
constexpr int MaxOpenFolders = 64;

} // namespace

QString folderTextOf(const QString &folder)
{
    return endsWithSeparator(folder) ? folder : folder + PathSeparator;
}

DirDiver::DirDiver(FileSystem &fs, Prompts &prompts, Hooks hooks)
    : m_fs(fs)
    , m_prompts(prompts)
    , m_hooks(std::move(hooks))
{
}

void DirDiver::dive(const QString &start, const WildcardPattern &pattern)
{
    m_pattern = pattern;
    m_entered.clear();
    m_diving = true;
    // Whatever ends the walk, nothing of it stays open.
    const auto unwind = qScopeGuard([this] {
        m_stack.clear();
        m_path.clear();
        m_openFolders = 0;
        m_diving = false;
    });
    if (enter(start) != Entry::Entered)
        return;
    while (!m_stack.empty()) {
        const size_t top = m_stack.size() - 1;
        Frame &parent = m_stack[top];
        if (parent.remaining == 0 || !m_walkPermitted) {
            if (!parent.files.isEmpty())
                m_hooks.found({folderTextOf(m_path), std::move(parent.files)});
            popFrame();
            continue;
        }
        const QString child = parent.subfolders[--parent.remaining];
        const Entry entry = enter(child);
        // The stack may have grown: the parent is reached by its index.
        if (m_stack[top].remaining == 0)
            closeFolder(m_stack[top]);
        // A child that stopped was not entered, and it cuts its parent short:
        // the parent's files are not listed.
        if (entry == Entry::Stopped)
            popFrame();
    }
}

DirDiver::Entry DirDiver::enter(const QString &name)
{
    const QString path = m_stack.empty() ? name : fullPath(m_path, name);
    m_walkPermitted = true;
    m_hooks.yield(path);
    if (!m_walkPermitted)
        return Entry::Stopped;
    WalkFolder read;
    try {
        read = m_fs.openForWalk(path, nearestOpenFolder());
    } catch (const RunTimeError &error) {
        report(error);
        return error.number() == OutOfMemory ? Entry::Stopped : Entry::Skipped;
    } catch (const std::bad_alloc &) {
        report(RunTimeError(OutOfMemory));
        return Entry::Stopped;
    }
    // A folder reached again (through a bind mount, say) was walked already.
    if (!m_entered.insert({read.identity.device, read.identity.inode}).second)
        return Entry::Skipped;
    m_stack.push_back(frameOf(read));
    m_path = path;
    m_stack.back().pathLength = path.size();
    return Entry::Entered;
}

DirDiver::Frame DirDiver::frameOf(WalkFolder &read)
{
    QStringList subfolders;
    QStringList files;
    for (WalkEntry &entry : read.entries) {
        // Hidden names stay hidden, as in the lists.
        if (entry.name.startsWith(u'.'))
            continue;
        if (entry.kind == EntryKind::Folder && !entry.isSymlink)
            subfolders.append(std::move(entry.name));
        else if (entry.kind == EntryKind::File && m_pattern.matches(entry.name))
            files.append(std::move(entry.name));
    }
    Frame frame{0, sortedByName(std::move(subfolders)), sortedByName(std::move(files)), 0, nullptr};
    frame.remaining = frame.subfolders.size();
    if (frame.remaining > 0 && m_openFolders < MaxOpenFolders) {
        frame.folder = std::move(read.folder);
        ++m_openFolders;
    }
    return frame;
}

void DirDiver::closeFolder(Frame &frame)
{
    if (frame.folder) {
        frame.folder.reset();
        --m_openFolders;
    }
}

void DirDiver::popFrame()
{
    closeFolder(m_stack.back());
    m_stack.pop_back();
    if (!m_stack.empty())
        m_path.truncate(m_stack.back().pathLength);
}

const OpenFolder *DirDiver::nearestOpenFolder() const
{
    for (auto frame = m_stack.rbegin(); frame != m_stack.rend(); ++frame) {
        if (frame->folder)
            return frame->folder.get();
    }
    return nullptr;
}

void DirDiver::report(const RunTimeError &error)
{
    if (error.number() == OutOfMemory) {
        // Out of memory ends the whole walk, as Stop does.
        m_walkPermitted = false;
        m_prompts.message(QStringLiteral("Out of memory. Abandoning search..."),
                          QStringLiteral("Error"), PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    m_prompts.message(error.description(), QStringLiteral("Error: %1").arg(error.number()),
                      PromptIcon::Warning, PromptButtons::Ok);
}

} // namespace glintbox
