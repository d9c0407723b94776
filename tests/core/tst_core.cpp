#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glintbox;

class TestCore : public QObject {
    Q_OBJECT

private slots:
    // Failures without a number of their own share the general access error.
    void unlistedErrnoIsTheAccessError()
    {
        const RunTimeError error = RunTimeError::fromErrno(EISDIR, RunTimeError::Target::File);
        QCOMPARE(error.number(), 75);
        QCOMPARE(error.description(), QStringLiteral("Path/File access error"));
    }

    void filesOpenByTheBytesOfTheirNames()
    {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/d\xe9j\xe0";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        const int fd = ::open((folder + "/caf\xe9.txt").constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "coffee", 6) == 6 && ::close(fd) == 0);
        FileSystem &fs = FileSystem::local();
        const QString folderPath = fullPath(dir.path(), fs.list(dir.path()).at(0).name);
        const QString file = fullPath(folderPath, fs.list(folderPath).at(0).name);
        QCOMPARE(fs.readAll(file), QByteArray("coffee"));
        QCOMPARE(fs.status(file).size, 6);
        // Saving replaces that very file; no look-alike appears beside it.
        fs.writeAll(file, "tea");
        QCOMPARE(fs.readAll(file), QByteArray("tea"));
        QCOMPARE(fs.list(folderPath).size(), size_t(1));
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
