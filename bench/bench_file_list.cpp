// Lists a folder of 100,000 files into the file list (ALL pattern, sorted) and
// prints the time as a ratio against the bare read of the names plus a sort,
// measured in the same run.
#include "Median.h"
#include "core/FileSystem.h"
#include "core/lists/FileList.h"
#include "filter/FileTypeTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace glintbox;

namespace {

constexpr int FileCount = 100000;
constexpr int Rounds = 5;

const char *const Extensions[] = {".txt", ".bmp", ".jpg", ".htm", ".dat", ".rtf", ".log", ".xyz"};

double bareReadAndSort(const QByteArray &folder)
{
    QElapsedTimer timer;
    timer.start();
    QStringList names;
    DIR *dir = opendir(folder.constData());
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.append(QFile::decodeName(entry->d_name));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return double(timer.nsecsElapsed()) / 1e6;
}

double fileListLoad(const QString &folder)
{
    FileList list(FileSystem::local());
    list.setPattern(QString::fromLatin1(AllPattern));
    QElapsedTimer timer;
    timer.start();
    list.setPath(folder);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (list.listCount() == 0)
        std::puts("nothing listed");
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    for (int i = 0; i < FileCount; ++i) {
        const QByteArray name =
            folder + "/file" + QByteArray::number(i * 7919 % FileCount) + Extensions[i % 8];
        ::close(::open(name.constData(), O_CREAT | O_WRONLY, 0644));
    }
    std::vector<double> baseline, ours;
    for (int round = 0; round < Rounds; ++round) {
        baseline.push_back(bareReadAndSort(folder));
        ours.push_back(fileListLoad(dir.path()));
    }
    const double base = median(baseline);
    const double list = median(ours);
    std::printf("files: %d\nbare read + sort: %.1f ms (median of %d)\n", FileCount, base, Rounds);
    std::printf("file list (ALL pattern, sorted, model): %.1f ms\nratio: %.2f (aim: at most 2)\n",
                list, list / base);
    return 0;
}
