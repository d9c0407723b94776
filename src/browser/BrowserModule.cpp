// The module's entry point, looked up by name when the first page is shown.
#include "WebEngineBrowser.h"

#include <type_traits>
#include <utility>

extern "C" Q_DECL_EXPORT glintbox::BrowserEngine *
glintboxCreateBrowserEngine(QWidget *parent, glintbox::PageFiles &pages,
                            glintbox::BrowserEngine::Listener listener)
{
    return new glintbox::WebEngineBrowser(parent, pages, std::move(listener));
}

// Keeps the entry point's type and name in step with what the host looks up.
static_assert(
    std::is_same_v<decltype(&glintboxCreateBrowserEngine), glintbox::CreateBrowserEngine>);
