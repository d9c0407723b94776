#pragma once

#include <QString>

namespace glintbox::product {

// What the program says about itself, kept in one place: the main window's
// caption and the About window read it from here.
inline const QString VersionText = QStringLiteral("2.00");
inline const QString MakerName = QStringLiteral("Devezud Iziruvuz");
// The project has no addresses of its own yet; example.org is reserved for
// exactly this.
inline const QString WebAddress = QStringLiteral("https://glintbox.example.org/");
inline const QString EmailAddress = QStringLiteral("glintbox@example.org");

inline QString mainWindowCaption()
{
    return QStringLiteral("Glintbox by ") + MakerName + QStringLiteral(" - Version ") + VersionText;
}

} // namespace glintbox::product
