#pragma once

#include "viewing/web/BrowserEngine.h"

#include <QObject>
#include <QPointer>

class QWebEngineProfile;
class QWebEngineView;

namespace glintbox {

class LocalPageSchemeHandler;
class OfflineRequestInterceptor;

// The browser engine behind the viewer's browser: an off-the-record profile
// whose local pages come through the page scheme and whose requests pass the
// offline switch.
class WebEngineBrowser : public QObject, public BrowserEngine {
    Q_OBJECT
public:
    WebEngineBrowser(QWidget *parent, PageFiles &pages, Listener listener);
    ~WebEngineBrowser() override;

    QWidget *widget() override;
    void load(const QUrl &url) override;
    void blank() override;
    void setOffline(bool offline) override;
    QUrl url() const override;
    QString title() const override;
    void print(QPrinter &printer, std::function<void(bool ok)> finished) override;

private:
    void onLoadFinished(bool ok);

    Listener m_listener;
    bool m_offline = true;
    QPointer<OfflineRequestInterceptor> m_interceptor;
    QPointer<LocalPageSchemeHandler> m_pages;
    QPointer<QWebEngineProfile> m_profile;
    QPointer<QWebEngineView> m_view;
};

} // namespace glintbox
