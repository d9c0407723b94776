#include "BrowserEngineModule.h"

#include "core/BrowserSandbox.h"
#include "core/ProgramModule.h"

#include <QCoreApplication>

namespace glintbox {

namespace {

// The engine draws pages with OpenGL contexts shared with the windows'. The
// sharing must be asked for before the application object exists, long before
// the module is loaded; the engine's library asks for it when linked in.
void shareOpenGLContexts()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
Q_CONSTRUCTOR_FUNCTION(shareOpenGLContexts)

} // namespace

std::unique_ptr<BrowserEngine> createBrowserEngine(QWidget *parent, PageFiles &pages,
                                                   BrowserEngine::Listener listener)
{
    static ProgramModule module("glintbox-browser", CreateBrowserEngineSymbol);
    const auto create = module.entry<CreateBrowserEngine>();
    allowBrowserEngineAsRoot();
    return std::unique_ptr<BrowserEngine>(create(parent, pages, std::move(listener)));
}

} // namespace glintbox
