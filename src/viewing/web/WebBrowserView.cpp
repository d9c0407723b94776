#include "WebBrowserView.h"

#include "OfflineRequestInterceptor.h"
#include "core/BrowserSandbox.h"
#include "core/FileSystem.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

Q_LOGGING_CATEGORY(lcWeb, "glintbox.web", QtWarningMsg)

namespace glintbox {

namespace {

// The page's folder is served while it is on show: a link into another folder
// serves that one from then on, and a page from elsewhere gets none.
class LocalPage : public QWebEnginePage {
public:
    LocalPage(QWebEngineProfile *profile, LocalPageSchemeHandler &pages, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_pages(pages)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame) {
            const QString path = localPagePath(url);
            m_pages.setFolder(path.left(qMax<qsizetype>(1, path.lastIndexOf(u'/'))));
        }
        return true;
    }

private:
    LocalPageSchemeHandler &m_pages;
};

} // namespace

WebBrowserView::WebBrowserView(QWidget *parent)
    : WebBrowserView(FileSystem::local(), parent)
{
}

WebBrowserView::WebBrowserView(FileSystem &fileSystem, QWidget *parent)
    : QWidget(parent)
    , m_fileSystem(fileSystem)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebBrowserView::~WebBrowserView()
{
    releaseEngine();
}

void WebBrowserView::ensureEngine()
{
    if (m_view)
        return;
    allowBrowserEngineAsRoot();
    registerLocalPageScheme();
    m_interceptor = new OfflineRequestInterceptor(this);
    m_pages = new LocalPageSchemeHandler(m_fileSystem, this);

    // A profile without a storage name is off the record: nothing of what is
    // shown is written to disk.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::NoCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setUrlRequestInterceptor(m_interceptor);
    m_profile->installUrlSchemeHandler(LocalPageScheme, m_pages);
    // Local pages come through our scheme; no page reaches a file URL.
    m_profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    applyOffline();

    m_view = new QWebEngineView(this);
    auto *page = new LocalPage(m_profile, *m_pages, m_view);
    m_view->setPage(page);
    layout()->addWidget(m_view);

    // Queued, so that no handler of ours or of our users ever runs inside the
    // engine's own notification: deleting a view there crashes the engine.
    connect(page, &QWebEnginePage::loadFinished, this, &WebBrowserView::onLoadFinished,
            Qt::QueuedConnection);
    connect(page, &QWebEnginePage::titleChanged, this, &WebBrowserView::titleChanged,
            Qt::QueuedConnection);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                qCWarning(lcWeb) << "render process ended:" << status << exitCode;
            });
    // The engine must be gone before the application object is.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &WebBrowserView::releaseEngine,
            Qt::UniqueConnection);
}

void WebBrowserView::releaseEngine()
{
    // The page (a child of the view) goes before the profile it uses, and the
    // profile before its interceptor and scheme handler.
    delete m_view;
    delete m_profile;
    delete m_interceptor;
    delete m_pages;
    m_showsPage = false;
}

void WebBrowserView::navigate(const QString &localPath)
{
    ensureEngine();
    m_showsPage = true;
    m_view->page()->load(localPageUrl(localPath));
}

void WebBrowserView::clear()
{
    if (!m_showsPage)
        return;
    m_showsPage = false;
    m_view->page()->triggerAction(QWebEnginePage::Stop);
    m_view->page()->load(QUrl(QStringLiteral("about:blank")));
}

void WebBrowserView::setOffline(bool offline)
{
    m_offline = offline;
    if (m_view)
        applyOffline();
}

void WebBrowserView::applyOffline()
{
    m_interceptor->setOffline(m_offline);
    // The engine refuses a local page's remote pictures and requests unless
    // told otherwise (it lets WebSockets through either way, hence the
    // interceptor), so online the page may reach the network.
    m_profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                        !m_offline);
}

QUrl WebBrowserView::url() const
{
    return m_view ? m_view->page()->url() : QUrl();
}

QString WebBrowserView::title() const
{
    return m_view ? m_view->page()->title() : QString();
}

void WebBrowserView::onLoadFinished(bool ok)
{
    const QPointer<WebBrowserView> self(this);
    emit loadFinished(ok);
    if (!self || !m_view)
        return;
    // A round trip through the renderer: once it answers, the document it
    // finished is the one on show.
    m_view->page()->runJavaScript(QStringLiteral("document.readyState"),
                                  [self, ok](const QVariant &) {
                                      if (self)
                                          emit self->pageReady(ok);
                                  });
}

} // namespace glintbox
