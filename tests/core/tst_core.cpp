#include "FaultyFileSystem.h"
#include "ScriptedPrompts.h"
#include "core/Colours.h"
#include "core/ErrorTrap.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"
#include "core/Twips.h"

#include <QPalette>
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
    void errnoMapping_data();
    void errnoMapping();
    void trapShowsSharedReport();
    void trapLetsCleanHandlersThrough();
    void colourConversion_data();
    void colourConversion();
    void systemColourFollowsPalette();
    void fullPathNeverDoublesSeparator_data();
    void fullPathNeverDoublesSeparator();
    void twipsAt96Dpi();
    void fileSystemReportsMissingFileAndFolder();
    void fileSystemWriteIsAtomic();
    void filesOpenByTheBytesOfTheirNames();
};

void TestCore::errnoMapping_data()
{
    QTest::addColumn<int>("errnoValue");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing file") << ENOENT << false << 53 << "File not found";
    QTest::newRow("missing folder") << ENOENT << true << 76 << "Path not found";
    QTest::newRow("access") << EACCES << false << 70 << "Permission denied";
    QTest::newRow("perm") << EPERM << false << 70 << "Permission denied";
    QTest::newRow("full") << ENOSPC << false << 61 << "Disk full";
    QTest::newRow("io") << EIO << false << 57 << "Device I/O error";
    QTest::newRow("no medium") << ENOMEDIUM << true << 68 << "Device unavailable";
    QTest::newRow("no device") << ENODEV << true << 68 << "Device unavailable";
    QTest::newRow("other") << EISDIR << false << 75 << "Path/File access error";
}

void TestCore::errnoMapping()
{
    QFETCH(int, errnoValue);
    QFETCH(bool, folder);
    QFETCH(int, number);
    QFETCH(QString, description);
    const RunTimeError error = RunTimeError::fromErrno(
        errnoValue, folder ? RunTimeError::Target::Folder : RunTimeError::Target::File);
    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), description);
}

void TestCore::trapShowsSharedReport()
{
    ScriptedPrompts prompts;
    bool reachedEnd = false;
    const bool finished = runTrapped(prompts, [&] {
        throw RunTimeError(Overflow);
        reachedEnd = true;
    });
    QVERIFY(!finished);
    QVERIFY(!reachedEnd);
    QCOMPARE(prompts.records().size(), 1);
    const auto &record = prompts.records().first();
    QCOMPARE(record.caption, QStringLiteral("Glintbox - Error 6"));
    QCOMPARE(record.text, QStringLiteral("Overflow"));
    QCOMPARE(record.icon, PromptIcon::Critical);
    QCOMPARE(record.buttons, PromptButtons::Ok);
}

void TestCore::trapLetsCleanHandlersThrough()
{
    ScriptedPrompts prompts;
    int runs = 0;
    QVERIFY(runTrapped(prompts, [&] { ++runs; }));
    QCOMPARE(runs, 1);
    QVERIFY(prompts.records().isEmpty());
}

void TestCore::colourConversion_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("black") << quint32(0) << QColor(0, 0, 0);
    QTest::newRow("mid grey") << quint32(0x808080) << QColor(128, 128, 128);
    QTest::newRow("green") << quint32(0x00C000) << QColor(0, 192, 0);
    QTest::newRow("BGR order") << quint32(0x0040C0) << QColor(192, 64, 0);
}

void TestCore::colourConversion()
{
    QFETCH(quint32, value);
    QFETCH(QColor, colour);
    QCOMPARE(resolveColour(value, QPalette()), colour);
    QCOMPARE(colourValue(colour), value);
}

void TestCore::systemColourFollowsPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    QVERIFY(isSystemColour(SystemWindowBackground));
    QCOMPARE(resolveColour(SystemWindowBackground, palette), QColor(1, 2, 3));
    QCOMPARE(resolveColour(SystemButtonFace, palette), QColor(4, 5, 6));
    QVERIFY(!isSystemColour(0x808080));
}

void TestCore::fullPathNeverDoublesSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("root") << "/"
                          << "/a.txt";
    QTest::newRow("mount root") << "/media/usb/"
                                << "/media/usb/a.txt";
    QTest::newRow("folder") << "/home/me"
                            << "/home/me/a.txt";
}

void TestCore::fullPathNeverDoublesSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(fullPath(folder, QStringLiteral("a.txt")), path);
    QCOMPARE(fileNameOf(path), QStringLiteral("a.txt"));
}

void TestCore::twipsAt96Dpi()
{
    QCOMPARE(twipsToPixels(1440, 96), 96);
    QCOMPARE(twipsToPixels(15, 96), 1);
    QCOMPARE(pixelsToTwips(100, 96), 1500.0);
    QCOMPARE(twipsToPixels(QRectF(2500, 360, 4885, 1600), 96), QRect(167, 24, 326, 107));
}

void TestCore::fileSystemReportsMissingFileAndFolder()
{
    QTemporaryDir dir;
    FileSystem &fs = FileSystem::local();
    try {
        fs.readAll(dir.filePath(QStringLiteral("absent")));
        QFAIL("reading a missing file must fail");
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), int(FileNotFound));
    }
    try {
        fs.list(dir.filePath(QStringLiteral("absent")));
        QFAIL("listing a missing folder must fail");
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), int(PathNotFound));
    }
}

void TestCore::fileSystemWriteIsAtomic()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    FaultyFileSystem fs;
    fs.writeAll(path, "old");
    fs.failWith(FaultyFileSystem::Operation::Write, path, ENOSPC);
    try {
        fs.writeAll(path, "new");
        QFAIL("the injected fault must surface");
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), int(DiskFull));
    }
    QCOMPARE(fs.readAll(path), QByteArray("old"));
    fs.clearFaults();
    fs.writeAll(path, "new");
    QCOMPARE(fs.readAll(path), QByteArray("new"));
}

void TestCore::filesOpenByTheBytesOfTheirNames()
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/d\xe9j\xe0";
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    const int fd = ::open((folder + "/caf\xe9.txt").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0 && ::write(fd, "coffee", 6) == 6 && ::close(fd) == 0);
    FileSystem &fs = FileSystem::local();
    const std::vector<FolderEntry> top = fs.list(dir.path());
    QCOMPARE(top.size(), size_t(1));
    const QString folderPath = fullPath(dir.path(), top[0].name);
    const std::vector<FolderEntry> inside = fs.list(folderPath);
    QCOMPARE(inside.size(), size_t(1));
    const QString file = fullPath(folderPath, inside[0].name);
    QCOMPARE(fs.readAll(file), QByteArray("coffee"));
    QCOMPARE(fs.status(file).size, 6);
    // Saving replaces that very file; no look-alike appears beside it.
    fs.writeAll(file, "tea");
    QCOMPARE(fs.readAll(file), QByteArray("tea"));
    QCOMPARE(fs.list(folderPath).size(), size_t(1));
    fs.remove(file);
    QVERIFY(fs.list(folderPath).empty());
    QVERIFY(::rmdir(folder.constData()) == 0);
}

QTEST_MAIN(TestCore)
#include "tst_core.moc"
