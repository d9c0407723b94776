// glintbox-snapshot FILE OUT.png [--text OUT.txt] [--timeout MS] [--max-size BYTES]
//
// Runs the real main window offscreen with a temporary settings store and the
// "ALL Files" filter, starts on FILE as on one named on the command line,
// waits until its view is ready, writes the viewer as a PNG, prints "view mode: N" and one line
// "prompt: CAPTION | TEXT" for each prompt raised. Exits 0 when the file was
// shown, 2 when an error prompt was raised, 1 on bad arguments.
#include "core/FileSystem.h"
#include "core/ProgramStarter.h"
#include "core/Prompts.h"
#include "core/lists/Drives.h"
#include "core/lists/FileList.h"
#include "shell/frmGlintbox.h"
#include "shell/settings/SettingsStore.h"
#include "textops/CommonDialogs.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/player/MoviePlayer.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace glintbox;

namespace {

// Answers every prompt with its default and remembers it for the report.
class RecordingPrompts : public Prompts {
public:
    struct Record {
        QString caption;
        QString text;
        PromptIcon icon;
    };
    QList<Record> records;

    PromptAnswer message(const QString &text, const QString &caption, PromptIcon icon,
                         PromptButtons buttons) override
    {
        records.append({caption, text, icon});
        return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel
                   ? PromptAnswer::Ok
                   : PromptAnswer::No;
    }
    std::optional<QString> input(const QString &prompt, const QString &caption,
                                 const QString &) override
    {
        records.append({caption, prompt, PromptIcon::None});
        return std::nullopt;
    }
    bool raisedError() const
    {
        return std::any_of(records.cbegin(), records.cend(),
                           [](const Record &r) { return r.icon == PromptIcon::Critical; });
    }
};

// Runs the event loop until one of the signals fires or the time runs out.
template<typename... Connect> void waitFor(int timeoutMs, Connect... connectors)
{
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    (connectors(loop), ...);
    loop.exec();
}

QWidget *visibleView(const ViewerControls &v)
{
    // The text box lies in front of the browser when both are shown.
    if (v.Text1->isVisible())
        return v.Text1;
    for (QWidget *view : {static_cast<QWidget *>(v.WebBrowser1), static_cast<QWidget *>(v.Picture2),
                          static_cast<QWidget *>(v.ActiveMovie1), v.picLaunchWindow}) {
        if (view->isVisible())
            return view;
    }
    return v.Text1;
}

void waitUntilReady(frmGlintbox &window, int timeoutMs)
{
    const ViewerControls &v = window.viewer();
    QApplication::processEvents();
    if (v.Text1->isVisible() && v.Text1->isLoading()) {
        waitFor(timeoutMs, [&](QEventLoop &loop) {
            QObject::connect(v.Text1, &RichTextBox::loadingFinished, &loop, &QEventLoop::quit);
        });
    } else if (v.WebBrowser1->isVisible()) {
        waitFor(timeoutMs, [&](QEventLoop &loop) {
            QObject::connect(v.WebBrowser1, &WebBrowserView::pageReady, &loop, &QEventLoop::quit);
        });
        // Give the renderer a moment to put the page on screen.
        waitFor(300, [](QEventLoop &) {});
    } else if (v.ActiveMovie1->isVisible()) {
        waitFor(timeoutMs, [&](QEventLoop &loop) {
            QObject::connect(v.ActiveMovie1, &MoviePlayer::firstFrameShown, &loop,
                             &QEventLoop::quit);
            QObject::connect(v.ActiveMovie1, &MoviePlayer::errorOccurred, &loop, &QEventLoop::quit);
            QObject::connect(v.ActiveMovie1, &MoviePlayer::mediaReady, &loop, &QEventLoop::quit);
        });
    }
    QApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The file to show."));
    parser.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The PNG to write."));
    parser.addOption({QStringLiteral("text"), QStringLiteral("Write the text view's text."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("timeout"), QStringLiteral("Wait at most this long (ms)."),
                      QStringLiteral("ms"), QStringLiteral("10000")});
    parser.addOption({QStringLiteral("max-size"),
                      QStringLiteral("The largest file shown (bytes), as the setting holds it."),
                      QStringLiteral("bytes")});
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        std::fputs("usage: glintbox-snapshot FILE OUT.png [--text OUT.txt] [--timeout MS] "
                   "[--max-size BYTES]\n",
                   stderr);
        return 1;
    }
    const QFileInfo file(args[0]);
    const int timeoutMs = parser.value(QStringLiteral("timeout")).toInt();

    QTemporaryDir config;
    SettingsStore store(config.filePath(QStringLiteral("Glintbox.conf")));
    store.write(FiltersSection, QStringLiteral("ALL"), QStringLiteral("0"));
    store.write(FiltersSection, QStringLiteral("ANY"), QStringLiteral("1"));
    if (parser.isSet(QStringLiteral("max-size")))
        store.write(SettingsSection, QStringLiteral("MaxFileSize"),
                    parser.value(QStringLiteral("max-size")));

    RecordingPrompts prompts;
    MountedDrives drives;
    // Showing a file opens no common dialog.
    QtCommonDialogs dialogs;
    int status = 0;
    {
        // Started on the file as from the command line, so that start-up shows
        // it, once, as the program would.
        frmGlintbox window({prompts, FileSystem::local(), drives, store, ProgramStarter::local(),
                            dialogs, file.absolutePath(), file.absoluteFilePath()});
        window.setExitHandler([] {});
        window.Form_Load();
        window.resize(1024, 720);
        window.show();
        if (window.controls().File1->fileName() != file.fileName()) {
            std::printf("prompt: glintbox-snapshot | %s is not in the file list\n",
                        qPrintable(file.fileName()));
            return 2;
        }
        waitUntilReady(window, timeoutMs);

        visibleView(window.viewer())->grab().save(args[1], "PNG");
        std::printf("view mode: %d\n", int(window.state().ViewMode));
        for (const auto &record : std::as_const(prompts.records))
            std::printf("prompt: %s | %s\n", qPrintable(record.caption), qPrintable(record.text));
        if (parser.isSet(QStringLiteral("text"))) {
            QFile out(parser.value(QStringLiteral("text")));
            if (out.open(QIODevice::WriteOnly))
                out.write(window.viewer().Text1->text().toUtf8());
        }
        status = prompts.raisedError() ? 2 : 0;
        window.viewer().ActiveMovie1->clear();
    }
    std::fflush(stdout);
    return status;
}
