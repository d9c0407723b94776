#include "OfflineRequestInterceptor.h"

#include "viewing/web/BrowserEngine.h"

#include <QLoggingCategory>
#include <QUrl>

Q_LOGGING_CATEGORY(lcOffline, "glintbox.web.offline", QtWarningMsg)

namespace glintbox {

bool isReachableOffline(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String(LocalPageScheme) || scheme == QLatin1String("data") ||
           scheme == QLatin1String("qrc") || scheme == QLatin1String("about") ||
           scheme == QLatin1String("blob");
}

bool isEverRefused(const QUrl &url)
{
    return url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
}

void OfflineRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    if (isEverRefused(url) || (m_offline && !isReachableOffline(url))) {
        qCDebug(lcOffline) << "blocked:" << url;
        info.block(true);
    }
}

} // namespace glintbox
