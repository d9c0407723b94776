#include "core/FileSystem.h"
#include "core/FirstPaintProbe.h"
#include "core/ProgramStarter.h"
#include "core/Prompts.h"
#include "core/lists/Drives.h"
#include "shell/StartTarget.h"
#include "shell/frmGlintbox.h"
#include "shell/settings/SettingsStore.h"
#include "textops/CommonDialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glintbox"));
    QApplication::setOrganizationName(QStringLiteral("Glintbox"));

    // The desktop entry's name, so that the desktop matches the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Glintbox"));

    glintbox::QtPrompts prompts;
    glintbox::MountedDrives drives;
    glintbox::SettingsStore store;
    glintbox::QtCommonDialogs dialogs;
    // Qt has taken its own options out of argv; what is left are ours, as bytes.
    const QList<QByteArray> arguments(argv, argv + argc);
    const QString workingFolder = QDir::currentPath();
    glintbox::frmGlintbox window({prompts, glintbox::FileSystem::local(), drives, store,
                                  glintbox::ProgramStarter::local(), dialogs, workingFolder,
                                  glintbox::openPathFromArguments(arguments, workingFolder)});
    prompts.setParent(&window);
    dialogs.setParent(&window);
    window.Form_Load();
    glintbox::quitAfterFirstPaintWhenAsked(window);
    window.show();
    return app.exec();
}
