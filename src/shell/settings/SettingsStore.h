#pragma once

#include "SettingsKeys.h"
#include "core/FileSystem.h"
#include "core/RunTimeError.h"
#include "core/SettingsFileText.h"

#include <QString>

#include <optional>

namespace glintbox {

// The per-user store of text values under application "Glintbox", a section
// and a key, in ~/.config/Glintbox/Glintbox.conf (under $XDG_CONFIG_HOME when
// set). The file is read once, when the store is made, and written whole by
// commit(), both through the file layer. Tests pass a file.
class SettingsStore {
public:
    SettingsStore();
    explicit SettingsStore(const QString &filePath, FileSystem &fileSystem = FileSystem::local());

    // The stored text, or the default when the key is absent.
    QString read(const QString &section, const QString &key, const QString &defaultText) const;

    void write(const QString &section, const QString &key, const QString &text);

    // Fails with "Invalid procedure call or argument" when the key is absent.
    void remove(const QString &section, const QString &key);

    bool contains(const QString &section, const QString &key) const;

    // Puts what was written on disk, replacing the file only once the new
    // one is whole; throws when that fails, leaving the old file as it was.
    // A file that is there but could not be read is never replaced: writing
    // the defaults over it would lose the user's settings.
    void commit();

private:
    static QString sectionKey(const QString &section, const QString &key);

    QString m_filePath;
    FileSystem &m_fileSystem;
    StoredSettings m_values;
    std::optional<RunTimeError> m_readError;
};

} // namespace glintbox
