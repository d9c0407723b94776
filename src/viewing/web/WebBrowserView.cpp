#include "WebBrowserView.h"

#include "BrowserEngineModule.h"
#include "core/FileSystem.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace glintbox {

WebBrowserView::WebBrowserView(QWidget *parent)
    : WebBrowserView(FileSystem::local(), parent)
{
}

WebBrowserView::WebBrowserView(FileSystem &fileSystem, QWidget *parent)
    : QWidget(parent)
    , m_pages(fileSystem)
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
    if (m_engine)
        return;
    BrowserEngine::Listener listener;
    listener.loadFinished = [this](bool ok) { emit loadFinished(ok); };
    listener.pageReady = [this](bool ok) { emit pageReady(ok); };
    listener.titleChanged = [this](const QString &title) { emit titleChanged(title); };
    m_engine = createBrowserEngine(this, m_pages, std::move(listener));
    m_engine->setOffline(m_offline);
    layout()->addWidget(m_engine->widget());
    // The engine must be gone before the application object is.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &WebBrowserView::releaseEngine,
            Qt::UniqueConnection);
}

void WebBrowserView::releaseEngine()
{
    m_engine.reset();
    m_showsPage = false;
}

void WebBrowserView::navigate(const QString &localPath)
{
    ensureEngine();
    m_showsPage = true;
    m_engine->load(localPageUrl(localPath));
}

void WebBrowserView::clear()
{
    if (!m_showsPage)
        return;
    m_showsPage = false;
    m_engine->blank();
}

void WebBrowserView::setOffline(bool offline)
{
    m_offline = offline;
    if (m_engine)
        m_engine->setOffline(offline);
}

QUrl WebBrowserView::url() const
{
    return m_engine ? m_engine->url() : QUrl();
}

QString WebBrowserView::title() const
{
    return m_engine ? m_engine->title() : QString();
}

void WebBrowserView::print(QPrinter &printer, std::function<void(bool ok)> finished)
{
    if (!m_engine) {
        finished(false);
        return;
    }
    m_engine->print(printer, std::move(finished));
}

} // namespace glintbox
