#pragma once

#include "SettingsKeys.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace glintbox {

// The per-user store of text values under application "Glintbox", a section
// and a key (on Linux ~/.config/Glintbox/Glintbox.conf). Tests pass a file.
class SettingsStore {
public:
    SettingsStore();
    explicit SettingsStore(const QString &filePath);

    QString fileName() const { return m_settings->fileName(); }

    // The stored text, or the default when the key is absent.
    QString read(const QString &section, const QString &key, const QString &defaultText) const;

    void write(const QString &section, const QString &key, const QString &text);

    // Fails with "Invalid procedure call or argument" when the key is absent.
    void remove(const QString &section, const QString &key);

    bool contains(const QString &section, const QString &key) const;

    // Puts what was written on disk; throws when that fails.
    void commit();

private:
    static QString sectionKey(const QString &section, const QString &key);
    std::unique_ptr<QSettings> m_settings;
};

} // namespace glintbox
