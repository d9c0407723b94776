#pragma once

#include <QProcess>
#include <QString>

namespace glintbox {

// Installs the build into a fresh prefix through "cmake --install", as a user
// would. Returns what went wrong, empty on success.
inline QString installInto(const QString &prefix)
{
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(qEnvironmentVariable("GLINTBOX_CMAKE"),
                  {QStringLiteral("--install"), qEnvironmentVariable("GLINTBOX_BUILD_DIR"),
                   QStringLiteral("--prefix"), prefix});
    if (!install.waitForFinished(120000) || install.exitCode() != 0)
        return QStringLiteral("cmake --install failed: ") +
               QString::fromLocal8Bit(install.readAll());
    return {};
}

} // namespace glintbox
