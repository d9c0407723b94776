#include "FaultyFileSystem.h"
#include "ScriptedPrompts.h"
#include "core/Colours.h"
#include "core/ErrorTrap.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"

#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glintbox;

namespace {

// The error number a call fails with, 0 when it succeeds.
int errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const RunTimeError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void errnoMapping_data()
    {
        QTest::addColumn<int>("errnoValue");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("missing file") << ENOENT << false << 53 << "File not found";
        QTest::newRow("missing folder") << ENOENT << true << 76 << "Path not found";
        QTest::newRow("perm") << EPERM << false << 70 << "Permission denied";
        QTest::newRow("full") << ENOSPC << false << 61 << "Disk full";
        QTest::newRow("io") << EIO << false << 57 << "Device I/O error";
        QTest::newRow("no medium") << ENOMEDIUM << true << 68 << "Device unavailable";
        QTest::newRow("other") << EISDIR << false << 75 << "Path/File access error";
    }

    void errnoMapping()
    {
        QFETCH(int, errnoValue);
        QFETCH(bool, folder);
        const RunTimeError error = RunTimeError::fromErrno(
            errnoValue, folder ? RunTimeError::Target::Folder : RunTimeError::Target::File);
        QTEST(error.number(), "number");
        QTEST(error.description(), "description");
    }

    void trapShowsSharedReportOnlyOnError()
    {
        ScriptedPrompts prompts;
        int runs = 0;
        QVERIFY(runTrapped(prompts, [&] { ++runs; }));
        QVERIFY(!runTrapped(prompts, [&] {
            throw RunTimeError(Overflow);
            ++runs;
        }));
        QCOMPARE(runs, 1);
        QCOMPARE(prompts.texts(), QStringList{"Overflow"});
        QCOMPARE(prompts.captions(), QStringList{"Glintbox - Error 6"});
        QCOMPARE(prompts.records().first().icon, PromptIcon::Critical);
    }

    void colourConversion_data()
    {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("black") << quint32(0) << QColor(0, 0, 0);
        QTest::newRow("BGR order") << quint32(0x0040C0) << QColor(192, 64, 0);
        QTest::newRow("window background") << SystemWindowBackground << QColor(1, 2, 3);
        QTest::newRow("button face") << SystemButtonFace << QColor(4, 5, 6);
    }

    void colourConversion()
    {
        QFETCH(quint32, value);
        QFETCH(QColor, colour);
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        palette.setColor(QPalette::Button, QColor(4, 5, 6));
        QCOMPARE(resolveColour(value, palette), colour);
        if (!isSystemColour(value))
            QCOMPARE(colourValue(colour), value);
    }

    void fullPathNeverDoublesSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/" << QStringLiteral("/a.txt");
        QTest::newRow("mount root") << "/media/usb/" << QStringLiteral("/media/usb/a.txt");
        QTest::newRow("folder") << "/home/me" << QStringLiteral("/home/me/a.txt");
    }

    void fullPathNeverDoublesSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(fullPath(folder, QStringLiteral("a.txt")), path);
        QCOMPARE(fileNameOf(path), QStringLiteral("a.txt"));
    }

    void fileSystemFailuresKeepTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        FaultyFileSystem fs;
        QCOMPARE(errorOf([&] { fs.readAll(path); }), int(FileNotFound));
        QCOMPARE(errorOf([&] { fs.list(path); }), int(PathNotFound));
        fs.writeAll(path, "old");
        fs.failWith(FaultyFileSystem::Operation::Write, path, ENOSPC);
        QCOMPARE(errorOf([&] { fs.writeAll(path, "new"); }), int(DiskFull));
        QCOMPARE(fs.readAll(path), QByteArray("old"));
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
        fs.remove(file);
        QVERIFY(fs.list(folderPath).empty());
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
