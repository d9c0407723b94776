#pragma once

#include "BrowserEngine.h"
#include "LocalPages.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QPrinter;

namespace glintbox {

class FileSystem;

// The embedded web browser `WebBrowser1`: shows a local page, with an offline
// switch. The browser engine is loaded and started the first time a page is
// shown, so that the program's start-up does not pay for it.
class WebBrowserView : public QWidget {
    Q_OBJECT
public:
    explicit WebBrowserView(QWidget *parent = nullptr);
    WebBrowserView(FileSystem &fileSystem, QWidget *parent = nullptr);
    ~WebBrowserView() override;

    // Shows the local file at the path as a page, whatever its extension, with
    // its folder as the base of its links; a page that cannot be loaded shows
    // the engine's own error page and reports loadFinished(false). Throws a
    // RunTimeError when the engine cannot be loaded.
    void navigate(const QString &localPath);
    // Lets go of the page on show, so that nothing of it stays behind.
    void clear();
    // While offline every request that would leave the machine is refused.
    // Applies to the current page's later requests and to the next page.
    void setOffline(bool offline);

    bool hasEngine() const { return m_engine != nullptr; }
    QUrl url() const;
    QString title() const;
    // Starts printing the page on show; finished(false) when there is none,
    // the job fails or the engine goes away first.
    void print(QPrinter &printer, std::function<void(bool ok)> finished);

    // Ends the browser engine's use by this view now; the next page starts it
    // again. Called on the program's way out, since the engine must be gone
    // before the application object is.
    void releaseEngine();

signals:
    void loadFinished(bool ok);
    // The page's document is complete in the renderer (its title and content
    // can be read), reported after loadFinished.
    void pageReady(bool ok);
    void titleChanged(const QString &title);

private:
    void ensureEngine();

    LocalPageFolder m_pages;
    bool m_offline = true;
    bool m_showsPage = false;
    std::unique_ptr<BrowserEngine> m_engine;
};

} // namespace glintbox
