#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QVariant>

namespace glintbox {

// Every value of the settings file under "section/key" (a key before the first
// section has no section). A value is a QString, a QStringList when the file
// holds a comma-separated list, or invalid for "@Invalid()".
using StoredSettings = QMap<QString, QVariant>;

// The settings file's text, in the INI form that Qt's own settings class
// reads and writes, so that files written by earlier versions read the same
// and the files we write read the same in them: sections in brackets, one
// "key=value" a line, keys and values escaped as that class escapes them.
// Reading never fails: a line that means nothing is passed over.
StoredSettings parseSettingsFile(QByteArrayView text);
// Sections and keys in sorted order, as that class writes them.
QByteArray settingsFileText(const StoredSettings &settings);

} // namespace glintbox
