#pragma once

#include "FaultyFileSystem.h"
#include "RecordingStarter.h"
#include "ScriptedDialogs.h"
#include "ScriptedPrompts.h"
#include "core/RunTimeError.h"
#include "core/lists/Drives.h"
#include "core/lists/FileList.h"
#include "core/lists/FolderList.h"
#include "shell/MainMenus.h"
#include "shell/frmGlintbox.h"
#include "shell/settings/SettingsStore.h"
#include "shell/toolbar/MainToolbar.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSemaphore>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <atomic>
#include <memory>

namespace glintbox {

// Drives made of temporary folders, each of which can be made "not ready".
class FakeDrives : public DriveSource {
public:
    QList<Drive> list{Drive{QStringLiteral("/"), {}}};
    QSet<QString> notReady;

    QList<Drive> drives() override { return list; }
    bool isReady(const Drive &drive) override { return !notReady.contains(drive.mountPoint); }
};

// Goes to the file whose name begins with the letter by typing it into the
// file list, after the pause that makes the letter a search of its own.
inline void typeFirstLetter(FileList &list, const QString &name)
{
    QApplication::setKeyboardInputInterval(0);
    QTest::keyClick(&list, name.at(0).toLatin1(), Qt::NoModifier, 1);
}

// A main window over a temporary settings file, scripted prompts and common
// dialogs, a file system whose calls can be made to fail and a program starter
// that only records. The lists start in the temporary folder.
struct ShellFixture {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    ScriptedDialogs dialogs;
    FaultyFileSystem fs;
    FakeDrives drives;
    RecordingStarter starter;
    QString startFolder = dir.path();
    QString openPath; // as named on the command line
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<frmGlintbox> window;
    int exits = 0;

    ShellFixture() { resetStore(); }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString settingsFile() const { return dir.filePath(QStringLiteral("Glintbox.conf")); }

    void resetStore() { store = std::make_unique<SettingsStore>(settingsFile()); }

    // A value of the "Settings" section, as an earlier run left it or as the
    // last close wrote it.
    void storeSetting(const QString &key, const QString &text)
    {
        store->write(SettingsSection, key, text);
    }
    QString storedSetting(const QString &key) const
    {
        return store->read(SettingsSection, key, {});
    }

    void makeFile(const QString &relative, const QByteArray &content = "text")
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    // A text, a picture, a movie and a program, in list order.
    void makeOneOfEachKind()
    {
        makeFile("a.txt", "some text");
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        picture.save(path("b.bmp"));
        makeFile("c.avi", "not really a movie");
        makeFile("d.exe", "MZ");
    }

    void clickToolbarButton(const char *key)
    {
        QAction *button = window->toolbar().buttons().value(QString::fromLatin1(key));
        QTest::mouseClick(window->controls().Toolbar1->widgetForAction(button), Qt::LeftButton);
    }

    frmGlintbox &open()
    {
        window = std::make_unique<frmGlintbox>(
            GlintboxServices{prompts, fs, drives, *store, starter, dialogs, startFolder, openPath});
        window->setExitHandler([this] { ++exits; });
        return *window;
    }

    frmGlintbox &load()
    {
        open();
        window->Form_Load();
        return *window;
    }

    // Loads the window and puts it on screen, for input that needs it there.
    bool loadShown()
    {
        load().show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Puts the window on screen and waits until it takes the keyboard, for
    // shortcuts that go to the active window.
    bool activate()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    frmGlintbox &loadActive()
    {
        load();
        if (!activate())
            qWarning("the main window did not become active");
        return *window;
    }

    // A text big enough to be read on a worker thread.
    static QByteArray bigText() { return QByteArray("a line of a big text\n").repeated(60000); }

    // Holds up the next read of the file until the gate is released (a minute at most).
    void holdNextReadOf(const QString &relative, QSemaphore &gate)
    {
        fs.whileReading = [held = path(relative), &gate,
                           first = std::make_shared<std::atomic_bool>(true)](const QString &read) {
            if (read == held && first->exchange(false))
                gate.tryAcquire(1, 60000);
        };
    }

    void clickFile(int row)
    {
        FileList *list = window->controls().File1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }

    // Closes the window as the close box does and reads the store afresh.
    void closeAndReload()
    {
        window->close();
        window.reset();
        resetStore();
    }
};

} // namespace glintbox
