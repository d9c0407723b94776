#include "ProgramModule.h"

#include "RunTimeError.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcProgramModule, "glintbox.module", QtWarningMsg)

namespace glintbox {

namespace {

QString moduleFolder()
{
    const QString folder = qEnvironmentVariable("GLINTBOX_MODULE_DIR");
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

} // namespace

ProgramModule::ProgramModule(const char *name, const char *entrySymbol)
    : m_path(moduleFolder() + u'/' + QLatin1String(name) + QStringLiteral(".so"))
    , m_entrySymbol(entrySymbol)
{
}

ProgramModule::Address ProgramModule::resolveEntry()
{
    if (!m_tried) {
        m_tried = true;
        QLibrary module(m_path);
        m_entry = module.resolve(m_entrySymbol);
        if (!m_entry)
            qCWarning(lcProgramModule) << module.errorString();
    }
    if (!m_entry)
        throw RunTimeError(FileNotFound, m_path);
    return m_entry;
}

} // namespace glintbox
