// Searches a generated tree of 100,000 files in 10,000 folders for "*.txt"
// with the Find File window (Find Now to the count line) and prints the time
// as a ratio against `find DIR -iname '*.txt'` on the same tree, measured in
// the same run. While the window walks, it is asked to repaint every 10 ms;
// the longest time between two repaints is printed too.
#include "Median.h"
#include "core/FileSystem.h"
#include "core/Prompts.h"
#include "core/lists/Drives.h"
#include "core/lists/FolderList.h"
#include "findfile/FindFileHost.h"
#include "findfile/frmFindFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glintbox;

namespace {

constexpr int TopFolders = 100;
constexpr int SubfoldersEach = 99;
constexpr int FilesPerFolder = 10;
constexpr int Rounds = 5;

const char *const Extensions[] = {".txt", ".bmp", ".TXT", ".jpg", ".htm",
                                  ".dat", ".rtf", ".log", ".xyz", ".doc"};

void makeFiles(const QByteArray &folder, int seed)
{
    ::mkdir(folder.constData(), 0755);
    for (int i = 0; i < FilesPerFolder; ++i) {
        const QByteArray name =
            folder + "/file" + QByteArray::number(seed * 31 + i) + Extensions[(seed + i) % 10];
        ::close(::open(name.constData(), O_CREAT | O_WRONLY, 0644));
    }
}

void makeTree(const QByteArray &root)
{
    int seed = 0;
    for (int top = 0; top < TopFolders; ++top) {
        const QByteArray folder = root + "/top" + QByteArray::number(top);
        makeFiles(folder, seed++);
        for (int sub = 0; sub < SubfoldersEach; ++sub)
            makeFiles(folder + "/sub" + QByteArray::number(sub), seed++);
    }
}

double timeFind(const QString &root, int &found)
{
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start(QStringLiteral("find"), {root, QStringLiteral("-iname"), QStringLiteral("*.txt")});
    find.waitForFinished(-1);
    const QByteArray out = find.readAllStandardOutput();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    found = int(out.count('\n'));
    return ms;
}

class SilentPrompts : public Prompts {
public:
    PromptAnswer message(const QString &text, const QString &caption, PromptIcon,
                         PromptButtons) override
    {
        std::printf("prompt: %s - %s\n", qPrintable(caption), qPrintable(text));
        return PromptAnswer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

class BenchHost : public FindFileHost {
public:
    QString currentDrive() const override { return QStringLiteral("/"); }
    QString currentFolder() const override { return QDir::tempPath(); }
    void showFolder(const QString &) override {}
    void selectFile(const QString &) override {}
    FileSystem &fileSystem() override { return FileSystem::local(); }
    DriveSource &drives() override { return m_drives; }
    Prompts &prompts() override { return m_prompts; }
    QWidget *dialogParent() override { return nullptr; }

private:
    MountedDrives m_drives;
    SilentPrompts m_prompts;
};

// Records when the window paints.
class PaintClock : public QObject {
public:
    explicit PaintClock(const QElapsedTimer &clock)
        : m_clock(clock)
    {
    }
    std::vector<double> times;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            times.push_back(double(m_clock.nsecsElapsed()) / 1e6);
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // In memory where there is a memory file system, so that making the tree
    // takes seconds; both searches read the same tree.
    const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    QTemporaryDir dir((shm ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
                      "/bench_find_file-XXXXXX");
    makeTree(QFile::encodeName(dir.path()));

    BenchHost host;
    frmFindFile window(host);
    window.controls().Dir2->setPath(dir.path());
    window.controls().InputCriteria->setEditText(QStringLiteral("*.txt"));
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    PaintClock paints(clock);
    window.controls().LabelCount->installEventFilter(&paints);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { window.controls().LabelCount->update(); });

    std::vector<double> baseline, ours;
    double longestGap = 0;
    int findCount = 0;
    for (int round = 0; round < Rounds; ++round) {
        baseline.push_back(timeFind(dir.path(), findCount));

        paints.times.clear();
        repaint.start(10);
        clock.start();
        window.ButtonSearch_Click();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        repaint.stop();
        ours.push_back(ms);
        double last = 0;
        for (const double time : paints.times) {
            longestGap = std::max(longestGap, time - last);
            last = time;
        }
        longestGap = std::max(longestGap, ms - last);
    }
    const double base = median(baseline);
    const double walk = median(ours);
    std::printf("tree: %d folders, %d files\n", TopFolders * (SubfoldersEach + 1),
                TopFolders * (SubfoldersEach + 1) * FilesPerFolder);
    std::printf("find -iname '*.txt': %.1f ms (median of %d), %d found\n", base, Rounds, findCount);
    std::printf("Find File walk: %.1f ms, %s\n", walk,
                qPrintable(window.controls().LabelCount->text()));
    std::printf("ratio: %.2f (aim: at most 2)\n", walk / base);
    std::printf("longest time between repaints: %.1f ms (aim: at most 100)\n", longestGap);
    return 0;
}
