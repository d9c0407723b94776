#include "InstalledTree.h"
#include "info/HelpFiles.h"

#include <QDir>
#include <QImage>
#include <QMimeDatabase>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace glintbox;

namespace {

struct Result {
    int exitCode = -1;
    QString output;
};

Result run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

} // namespace

// What "cmake --install" lays out: the program with its help files, the
// command on the PATH, and the desktop's entry, metadata and icons.
class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commandReachesProgramBesideItsHelpFiles();
    void desktopEntryAndMetadataValidate();
    void desktopEntryTakesEveryKindShown_data();
    void desktopEntryTakesEveryKindShown();
    void iconsAtEverySize();

private:
    QString installed(const QString &relative) const { return m_dir.filePath("usr/" + relative); }
    QString desktopEntry() const
    {
        return installed("share/applications/org.example.Glintbox.desktop");
    }

    QTemporaryDir m_dir;
};

void TestInstall::initTestCase()
{
    const QString failure = installInto(m_dir.filePath("usr"));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestInstall::commandReachesProgramBesideItsHelpFiles()
{
    const QFileInfo command(installed("bin/glintbox"));
    QVERIFY(command.isSymLink());
    // Relative, so the tree works wherever it is unpacked.
    QCOMPARE(std::filesystem::read_symlink(command.filePath().toStdString()).string(),
             "../lib/glintbox/glintbox");
    QVERIFY(QFileInfo(command.symLinkTarget()).isExecutable());
    for (const HelpTab &tab : HelpTabs)
        QVERIFY2(QFile::exists(installed("lib/glintbox/") + QString::fromUtf8(tab.fileName)),
                 tab.fileName);
    for (const char *file : {"share/man/man1/glintbox.1.gz", "share/doc/glintbox/copyright",
                             "share/doc/glintbox/changelog.gz"})
        QVERIFY2(QFile::exists(installed(QString::fromLatin1(file))), file);
}

void TestInstall::desktopEntryAndMetadataValidate()
{
    const Result entry = run("desktop-file-validate", {desktopEntry()});
    QVERIFY2(entry.exitCode == 0 && entry.output.isEmpty(), qPrintable(entry.output));
    const Result metadata =
        run("appstreamcli", {"validate", "--no-net",
                             installed("share/metainfo/org.example.Glintbox.metainfo.xml")});
    QVERIFY2(metadata.exitCode == 0, qPrintable(metadata.output));
    QSettings desktop(desktopEntry(), QSettings::IniFormat);
    QCOMPARE(desktop.value("Desktop Entry/Exec").toString(), QStringLiteral("glintbox %f"));
}

void TestInstall::desktopEntryTakesEveryKindShown_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"a.txt", "a.log", "a.nfo", "a.rtf", "a.htm", "a.html", "a.bmp",
                             "a.dib", "a.gif", "a.jpg", "a.ico", "a.cur", "a.wmf",  "a.emf",
                             "a.avi", "a.mpg", "a.mpe", "a.mov", "a.qt",  "a.wav",  "a.mid"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestInstall::desktopEntryTakesEveryKindShown()
{
    // A file manager offers the program for a file when the entry names the
    // type the desktop's database gives the file's name, or one of its aliases.
    QFETCH(QString, name);
    QFile file(desktopEntry());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList declared;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            declared = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QStringList names = type.aliases();
    names.append(type.name());
    const bool taken = std::any_of(names.cbegin(), names.cend(),
                                   [&](const QString &n) { return declared.contains(n); });
    QVERIFY2(taken, qPrintable(type.name()));
}

void TestInstall::iconsAtEverySize()
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(
            installed("share/icons/hicolor/%1x%1/apps/org.example.Glintbox.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        // The artwork, not an empty square.
        QVERIFY(icon.pixelColor(size / 2, size * 2 / 3).alpha() > 0);
    }
    QVERIFY(QFile::exists(installed("share/icons/hicolor/scalable/apps/org.example.Glintbox.svg")));
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
