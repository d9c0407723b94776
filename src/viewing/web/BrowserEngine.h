#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QPrinter;
class QWidget;

// The browser engine lives in a module of its own (glintbox-browser), loaded
// the first time a page is shown: linking it into the program would make
// every start-up load and relocate the whole engine. Host and module meet
// only through these interfaces, whose calls go through virtual tables, so
// neither needs the other's code.
namespace glintbox {

// Local pages are shown through a scheme of our own, not as file URLs: the
// engine would let a file page's scripts read every file the user can read.
constexpr char LocalPageScheme[] = "glintbox-page";

// What the host serves the engine: the files of the shown page's folder.
class PageFiles {
public:
    enum class Outcome { Served, NotFound, Denied, Failed };
    struct Reply {
        Outcome outcome = Outcome::NotFound;
        QByteArray contentType;
        QByteArray content;
    };

    virtual ~PageFiles() = default;
    // The engine is about to show the page at the URL in its main frame.
    virtual void navigatingTo(const QUrl &url) = 0;
    virtual Reply serve(const QUrl &url) = 0;
};

// One embedded browser: a widget showing one page at a time.
class BrowserEngine {
public:
    // Called on the host's thread, never from inside the engine's own
    // notifications.
    struct Listener {
        std::function<void(bool ok)> loadFinished;
        // The page's document is complete in the renderer.
        std::function<void(bool ok)> pageReady;
        std::function<void(const QString &title)> titleChanged;
    };

    virtual ~BrowserEngine() = default;
    virtual QWidget *widget() = 0;
    virtual void load(const QUrl &url) = 0;
    // Stops what is loading and shows a blank page.
    virtual void blank() = 0;
    // While offline every request that would leave the machine is refused.
    virtual void setOffline(bool offline) = 0;
    virtual QUrl url() const = 0;
    virtual QString title() const = 0;
    // Starts printing the page as the engine lays it out for paper (a PDF
    // file when the printer writes one); finished(false) when the job fails or
    // the engine goes away first.
    virtual void print(QPrinter &printer, std::function<void(bool ok)> finished) = 0;
};

// The module's one entry point. The engine's widget is a child of the parent;
// the pages outlive the engine.
using CreateBrowserEngine = BrowserEngine *(*)(QWidget *parent, PageFiles &pages,
                                               BrowserEngine::Listener listener);
constexpr char CreateBrowserEngineSymbol[] = "glintboxCreateBrowserEngine";

} // namespace glintbox
