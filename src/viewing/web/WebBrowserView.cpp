#include "WebBrowserView.h"

#include "OfflineRequestInterceptor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <climits>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcWeb, "glintbox.web", QtWarningMsg)

namespace glintbox {

QUrl localPageUrl(const QString &path)
{
    // Qt's own path classes tidy "link/.." away as text; realpath asks the
    // file system.
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    const qsizetype slash = absolute.lastIndexOf(u'/');
    const QString fileName = absolute.mid(slash + 1);
    QString folder = QStringLiteral("/");
    if (slash > 0) {
        char resolved[PATH_MAX];
        if (!::realpath(QFile::encodeName(absolute.left(slash)).constData(), resolved))
            return QUrl::fromLocalFile(QDir::cleanPath(absolute));
        folder = QFile::decodeName(resolved);
    }
    // fromLocalFile keeps '#', '?' and blanks in a file name as part of the path.
    return QUrl::fromLocalFile(folder.endsWith(u'/') ? folder + fileName
                                                     : folder + u'/' + fileName);
}

WebBrowserView::WebBrowserView(QWidget *parent)
    : QWidget(parent)
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
    m_interceptor = new OfflineRequestInterceptor(this);

    // A profile without a storage name is off the record: nothing of what is
    // shown is written to disk.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::NoCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setUrlRequestInterceptor(m_interceptor);
    applyOffline();

    m_view = new QWebEngineView(this);
    auto *page = new QWebEnginePage(m_profile, m_view);
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
    // profile before its interceptor.
    delete m_view;
    delete m_profile;
    delete m_interceptor;
}

void WebBrowserView::navigate(const QString &localPath)
{
    ensureEngine();
    m_view->page()->load(localPageUrl(localPath));
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
