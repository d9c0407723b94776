#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

class QUrl;

namespace glintbox {

// Whether a request may go ahead while the browser is offline: only content
// that never leaves the machine (the shown page's folder, inline data,
// resources built into the program, blank pages and blobs the page made itself).
bool isReachableOffline(const QUrl &url);

// Requests refused online and offline: file URLs, which would reach past the
// page scheme to any file of the user's.
bool isEverRefused(const QUrl &url);

// The browser's offline switch: while offline it blocks every request that
// would reach the network, WebSockets included (the engine's own settings do
// not stop those). File URLs are blocked whatever the switch.
class OfflineRequestInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setOffline(bool offline) { m_offline = offline; }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    // The engine may ask from its own thread.
    std::atomic<bool> m_offline{true};
};

} // namespace glintbox
