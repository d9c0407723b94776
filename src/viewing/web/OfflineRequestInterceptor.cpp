#include "OfflineRequestInterceptor.h"

#include <QLoggingCategory>
#include <QUrl>

Q_LOGGING_CATEGORY(lcOffline, "glintbox.web.offline", QtWarningMsg)

namespace glintbox {

bool isReachableOffline(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file")) {
        // A host names another machine (a network share), not this one.
        const QString host = url.host().toLower();
        return host.isEmpty() || host == QLatin1String("localhost");
    }
    return scheme == QLatin1String("data") || scheme == QLatin1String("qrc") ||
           scheme == QLatin1String("about") || scheme == QLatin1String("blob");
}

void OfflineRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (m_offline && !isReachableOffline(info.requestUrl())) {
        qCDebug(lcOffline) << "blocked while offline:" << info.requestUrl();
        info.block(true);
    }
}

} // namespace glintbox
