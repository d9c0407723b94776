#include "BrowserEngineModule.h"

#include "core/BrowserSandbox.h"
#include "core/ProgramModule.h"

#include <QCoreApplication>
#include <QOpenGLContext>

QT_BEGIN_NAMESPACE
// Exported by Qt's GUI library without a public declaration; the engine's own
// library declares it the same way.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace glintbox {

namespace {

void dropSharedOpenGLContext()
{
    delete QOpenGLContext::globalShareContext();
    qt_gl_set_global_share_context(nullptr);
}

// The engine draws pages with OpenGL contexts shared with the windows'. Asked
// for before the application object exists, Qt would make the shared context
// at start-up, loading the OpenGL libraries (a third of the start-up time
// under a software renderer) for a page the user may never open; it is made
// here instead, as Qt would, before the engine's library is loaded. The
// engine and the widgets look for the context itself; the application's
// attribute, set this late, would only earn a warning.
void shareOpenGLContexts()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
    // Before the platform's connection closes; after the engine's own clean-up,
    // which is registered later and runs first.
    qAddPostRoutine(dropSharedOpenGLContext);
}

} // namespace

std::unique_ptr<BrowserEngine> createBrowserEngine(QWidget *parent, PageFiles &pages,
                                                   BrowserEngine::Listener listener)
{
    shareOpenGLContexts();
    static ProgramModule module("glintbox-browser", CreateBrowserEngineSymbol);
    const auto create = module.entry<CreateBrowserEngine>();
    allowBrowserEngineAsRoot();
    return std::unique_ptr<BrowserEngine>(create(parent, pages, std::move(listener)));
}

} // namespace glintbox
