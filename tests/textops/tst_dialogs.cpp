#include "../shell/ShellFixture.h"
#include "textops/CommonDialog.h"

#include <QTest>

using namespace glintbox;

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void modeFollowsTheFirstFlagSet_data();
    void modeFollowsTheFirstFlagSet();
    void saveModeStartsInTheFileListFolder();
};

void TestDialogs::initTestCase()
{
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
}

void TestDialogs::modeFollowsTheFirstFlagSet_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("font");
    QTest::addColumn<CommonDialogMode>("mode");
    QTest::newRow("none") << false << false << false << CommonDialogMode::Colour;
    QTest::newRow("font") << false << false << true << CommonDialogMode::Font;
    QTest::newRow("save over font") << false << true << true << CommonDialogMode::Save;
    QTest::newRow("printer over all") << true << true << true << CommonDialogMode::Printer;
}

void TestDialogs::modeFollowsTheFirstFlagSet()
{
    QFETCH(bool, printer);
    QFETCH(bool, save);
    QFETCH(bool, font);
    QFETCH(CommonDialogMode, mode);
    CommonDialogRequest request;
    request.printerDialogRequested = printer;
    request.saveDialogRequested = save;
    request.fontDialogRequested = font;
    QCOMPARE(commonDialogMode(request), mode);
}

void TestDialogs::saveModeStartsInTheFileListFolder()
{
    ShellFixture f;
    f.makeFile("notes.txt");
    f.store->write(SettingKey::DrivePath, f.dir.path());
    frmGlintbox &window = f.load();

    CommonDialogRequest request;
    request.saveDialogRequested = true;
    const CommonDialogResult cancelled = window.commonDialog().ShowCommonDialog(request);
    QVERIFY(cancelled.cancelled);
    QVERIFY(cancelled.newFileName.isEmpty());

    f.dialogs.queueSaveFile(f.path("new.txt"));
    const CommonDialogResult chosen = window.commonDialog().ShowCommonDialog(request);
    QVERIFY(!chosen.cancelled);
    QCOMPARE(chosen.newFileName, f.path("new.txt"));

    QCOMPARE(f.dialogs.records().size(), 2);
    const SaveDialogRequest &shown = f.dialogs.records().at(0).save;
    QCOMPARE(shown.initialFolder, f.dir.path());
    QCOMPARE(shown.filters.size(), 14);
    QCOMPARE(shown.filters.first().description, QStringLiteral("Text Files (*.txt)"));
    QCOMPARE(shown.filters.last().pattern, QStringLiteral("*.nfo"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
