#include "BrowserEngineModule.h"

#include "core/BrowserSandbox.h"
#include "core/RunTimeError.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcBrowserModule, "glintbox.web.module", QtWarningMsg)

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

QString moduleFolder()
{
    const QString folder = qEnvironmentVariable("GLINTBOX_MODULE_DIR");
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

CreateBrowserEngine loadModule()
{
    // Loaded once and kept: the engine cannot be unloaded from a process.
    static const CreateBrowserEngine create = [] {
        QLibrary module(moduleFolder() + QStringLiteral("/glintbox-browser"));
        const auto entry =
            reinterpret_cast<CreateBrowserEngine>(module.resolve(CreateBrowserEngineSymbol));
        if (!entry)
            qCWarning(lcBrowserModule) << module.errorString();
        return entry;
    }();
    return create;
}

} // namespace

std::unique_ptr<BrowserEngine> createBrowserEngine(QWidget *parent, PageFiles &pages,
                                                   BrowserEngine::Listener listener)
{
    const CreateBrowserEngine create = loadModule();
    if (!create)
        throw RunTimeError(FileNotFound, moduleFolder() + QStringLiteral("/glintbox-browser.so"));
    allowBrowserEngineAsRoot();
    return std::unique_ptr<BrowserEngine>(create(parent, pages, std::move(listener)));
}

} // namespace glintbox
