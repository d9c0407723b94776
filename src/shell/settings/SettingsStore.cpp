#include "SettingsStore.h"

#include "core/RunTimeError.h"

#include <QFileInfo>
#include <QStringList>

namespace glintbox {

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Glintbox"),
                                             QStringLiteral("Glintbox")))
{
}

SettingsStore::SettingsStore(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::NativeFormat))
{
}

QString SettingsStore::sectionKey(const QString &section, const QString &key)
{
    return section + u'/' + key;
}

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultText) const
{
    const QVariant value = m_settings->value(sectionKey(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-written value with commas comes back as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    if (!m_settings->isWritable())
        throw RunTimeError(PermissionDenied, m_settings->fileName());
    m_settings->setValue(sectionKey(section, key), text);
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    if (!contains(section, key))
        throw RunTimeError(InvalidProcedureCall, sectionKey(section, key));
    m_settings->remove(sectionKey(section, key));
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return m_settings->contains(sectionKey(section, key));
}

void SettingsStore::commit()
{
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError) {
        const QFileInfo file(m_settings->fileName());
        throw RunTimeError(PermissionDenied, file.absoluteFilePath());
    }
}

} // namespace glintbox
