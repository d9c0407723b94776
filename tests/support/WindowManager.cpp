#include "WindowManager.h"

#include <QFile>
#include <QTest>

namespace glintbox {

WindowManager::~WindowManager()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool WindowManager::start()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        m_error = QStringLiteral("no X display");
        return false;
    }
    // openbox runs its start-up command once it manages the screen.
    const QString ready = m_dir.filePath(QStringLiteral("ready"));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("openbox"),
                    {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                     QStringLiteral("touch ") + ready});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("openbox does not start: ") + m_process.errorString();
        return false;
    }
    const bool managed = QTest::qWaitFor(
        [&] { return QFile::exists(ready) || m_process.state() == QProcess::NotRunning; }, 30000);
    if (managed && QFile::exists(ready))
        return true;
    const QByteArray output = m_process.readAll();
    if (output.contains("already running"))
        return true;
    m_error = QStringLiteral("openbox did not take the display: ") + QString::fromLocal8Bit(output);
    return false;
}

} // namespace glintbox
