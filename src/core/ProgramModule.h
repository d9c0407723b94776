#pragma once

#include <QString>

namespace glintbox {

// A part of the program built as a module of its own (glintbox-browser,
// glintbox-player) and loaded on first use from beside the executable, or from
// the folder GLINTBOX_MODULE_DIR names, as the tests do: linked in, its
// libraries would cost every start-up their loading. Loaded once and kept;
// modules that start threads cannot be unloaded from a process.
class ProgramModule {
public:
    ProgramModule(const char *name, const char *entrySymbol);

    // The module's entry point; throws a RunTimeError naming the module's
    // file when it cannot be loaded.
    template<typename Entry> Entry entry() { return reinterpret_cast<Entry>(resolveEntry()); }

private:
    using Address = void (*)();
    Address resolveEntry();

    QString m_path;
    const char *m_entrySymbol;
    bool m_tried = false;
    Address m_entry = nullptr;
};

} // namespace glintbox
