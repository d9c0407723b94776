#include "WebEngineBrowser.h"

#include "LocalPageSchemeHandler.h"
#include "OfflineRequestInterceptor.h"

#include <QLoggingCategory>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>
#include <utility>

Q_LOGGING_CATEGORY(lcWeb, "glintbox.web", QtWarningMsg)

namespace glintbox {

namespace {

// Tells the host which page the main frame goes to, so that the page's folder
// is the one served.
class LocalPage : public QWebEnginePage {
public:
    LocalPage(QWebEngineProfile *profile, PageFiles &pages, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_pages(pages)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame)
            m_pages.navigatingTo(url);
        return true;
    }

private:
    PageFiles &m_pages;
};

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget *parent, PageFiles &pages, Listener listener)
    : m_listener(std::move(listener))
{
    registerLocalPageScheme();
    m_interceptor = new OfflineRequestInterceptor(this);
    m_pages = new LocalPageSchemeHandler(pages, this);

    // A profile without a storage name is off the record: nothing of what is
    // shown is written to disk.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::NoCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setUrlRequestInterceptor(m_interceptor);
    m_profile->installUrlSchemeHandler(LocalPageScheme, m_pages);
    // Local pages come through our scheme; no page reaches a file URL.
    m_profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    setOffline(m_offline);

    m_view = new QWebEngineView(parent);
    auto *page = new LocalPage(m_profile, pages, m_view);
    m_view->setPage(page);

    // Queued, so that no handler of the host ever runs inside the engine's own
    // notification: deleting a view there crashes the engine.
    connect(page, &QWebEnginePage::loadFinished, this, &WebEngineBrowser::onLoadFinished,
            Qt::QueuedConnection);
    connect(
        page, &QWebEnginePage::titleChanged, this,
        [this](const QString &title) { m_listener.titleChanged(title); }, Qt::QueuedConnection);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                qCWarning(lcWeb) << "render process ended:" << status << exitCode;
            });
}

WebEngineBrowser::~WebEngineBrowser()
{
    // The page (a child of the view) goes before the profile it uses, and the
    // profile before its interceptor and scheme handler.
    delete m_view;
    delete m_profile;
}

QWidget *WebEngineBrowser::widget()
{
    return m_view;
}

void WebEngineBrowser::load(const QUrl &url)
{
    m_view->page()->load(url);
}

void WebEngineBrowser::blank()
{
    m_view->page()->triggerAction(QWebEnginePage::Stop);
    m_view->page()->load(QUrl(QStringLiteral("about:blank")));
}

void WebEngineBrowser::setOffline(bool offline)
{
    m_offline = offline;
    m_interceptor->setOffline(offline);
    // The engine refuses a local page's remote pictures and requests unless
    // told otherwise (it lets WebSockets through either way, hence the
    // interceptor), so online the page may reach the network.
    m_profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                        !offline);
}

QUrl WebEngineBrowser::url() const
{
    return m_view->page()->url();
}

QString WebEngineBrowser::title() const
{
    return m_view->page()->title();
}

void WebEngineBrowser::print(QPrinter &printer, std::function<void(bool ok)> finished)
{
    auto reported = std::make_shared<bool>(false);
    auto report = [reported, finished = std::move(finished)](bool ok) {
        if (!std::exchange(*reported, true))
            finished(ok);
    };
    // One receiver per job, so that a finished job leaves no connection behind
    // and an engine that goes away fails the job.
    auto *job = new QObject(this);
    auto finish = [job, report](bool ok) {
        job->deleteLater();
        report(ok);
    };
    connect(m_view, &QWebEngineView::printFinished, job, finish);
    connect(m_view, &QWebEngineView::pdfPrintingFinished, job,
            [finish](const QString &, bool ok) { finish(ok); });
    connect(m_view->page(), &QWebEnginePage::renderProcessTerminated, job,
            [finish] { finish(false); });
    connect(job, &QObject::destroyed, [report] { report(false); });
    // A PDF file is written by the engine itself, which keeps the page's text
    // as text; a printer gets the pages as the engine draws them.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        m_view->printToPdf(printer.outputFileName(), printer.pageLayout(), printer.pageRanges());
    else
        m_view->print(&printer);
}

void WebEngineBrowser::onLoadFinished(bool ok)
{
    const QPointer<WebEngineBrowser> self(this);
    m_listener.loadFinished(ok);
    if (!self)
        return;
    // A round trip through the renderer: once it answers, the document it
    // finished is the one on show.
    m_view->page()->runJavaScript(QStringLiteral("document.readyState"),
                                  [self, ok](const QVariant &) {
                                      if (self)
                                          self->m_listener.pageReady(ok);
                                  });
}

} // namespace glintbox
