#include "SettingsStore.h"

#include "core/RunTimeError.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QStringList>

Q_LOGGING_CATEGORY(lcSettings, "glintbox.settings", QtWarningMsg)

namespace glintbox {

SettingsStore::SettingsStore()
    : SettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                    QStringLiteral("/Glintbox/Glintbox.conf"))
{
}

SettingsStore::SettingsStore(const QString &filePath, FileSystem &fileSystem)
    : m_filePath(QFileInfo(filePath).absoluteFilePath())
    , m_fileSystem(fileSystem)
{
    try {
        m_values = parseSettingsFile(m_fileSystem.readAll(m_filePath));
    } catch (const RunTimeError &error) {
        // No file is a first run; a file that cannot be read gives the
        // defaults as well, and start-up shows no message of its own.
        qCInfo(lcSettings) << "settings not read:" << error.what();
        if (error.number() != FileNotFound && error.number() != PathNotFound)
            m_readError = error;
    }
}

QString SettingsStore::sectionKey(const QString &section, const QString &key)
{
    return section + u'/' + key;
}

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultText) const
{
    const QVariant value = m_values.value(sectionKey(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-written value with commas comes back as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    m_values.insert(sectionKey(section, key), text);
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    if (!contains(section, key))
        throw RunTimeError(InvalidProcedureCall, sectionKey(section, key));
    m_values.remove(sectionKey(section, key));
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return m_values.contains(sectionKey(section, key));
}

void SettingsStore::commit()
{
    if (m_readError)
        throw *m_readError;
    m_fileSystem.makeFolders(QFileInfo(m_filePath).path());
    m_fileSystem.writeAll(m_filePath, settingsFileText(m_values));
}

} // namespace glintbox
