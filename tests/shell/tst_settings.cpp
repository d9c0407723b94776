#include "ShellFixture.h"
#include "core/Colours.h"
#include "core/lists/FolderList.h"
#include "filter/FileFilter.h"
#include "shell/MainMenus.h"
#include "shell/settings/SettingBindings.h"
#include "shell/settings/SettingsConversions.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QCheckBox>
#include <QSettings>
#include <QTest>

using namespace glintbox;

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void unconvertibleTextFails_data();
    void unconvertibleTextFails();
    void deleteFailsWhenAbsent();
    void firstRunGivesEveryDefault();
    void unreadableValueSkipsOnlyItsStep();
    void invalidIniNeverStopsStartup();
    void closingWritesEverythingInTextForm();
    void everyStoredValueReachesItsOwnerAndBack();
    void systemColourRoundTripsAsReference();
    void dibRoundTrips();
    void obsoleteKeysRemovedAndSecondSaveSucceeds();
    void exitWritesNothing();
    void lowerCaseTopGivesSideAndStoresSide();
    void storedPositionIsUsed();
};

void TestSettings::conversions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("bool True") << "bool"
                               << "True"
                               << "True";
    QTest::newRow("bool any case") << "bool"
                                   << "false"
                                   << "False";
    QTest::newRow("bool from number") << "bool"
                                      << "1"
                                      << "True";
    QTest::newRow("colour system") << "colour"
                                   << "-2147483643"
                                   << "-2147483643";
    QTest::newRow("colour grey") << "colour"
                                 << "8421504"
                                 << "8421504";
    QTest::newRow("double default") << "double"
                                    << "20480000"
                                    << "20480000";
    QTest::newRow("double fraction") << "double"
                                     << "0.1"
                                     << "0.1";
    QTest::newRow("double huge") << "double"
                                 << "1e+300"
                                 << "1e+300";
    QTest::newRow("single twips") << "single"
                                  << "6500"
                                  << "6500";
    QTest::newRow("int16 rounds half even") << "int16"
                                            << "2.5"
                                            << "2";
    QTest::newRow("int32 negative") << "int32"
                                    << "-120"
                                    << "-120";
}

void TestSettings::conversions()
{
    using namespace settingtext;
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, written);
    QString result;
    if (kind == u"bool")
        result = fromBool(toBool(text));
    else if (kind == u"colour")
        result = fromColour(toColour(text));
    else if (kind == u"double")
        result = fromDouble(toDouble(text));
    else if (kind == u"single")
        result = fromSingle(toSingle(text));
    else if (kind == u"int16")
        result = fromInt(toInt16(text));
    else
        result = fromInt(toInt32(text));
    QCOMPARE(result, written);
}

void TestSettings::unconvertibleTextFails_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("letters as single") << "single"
                                       << "abc" << 13;
    QTest::newRow("empty as double") << "double"
                                     << "" << 13;
    QTest::newRow("word as bool") << "bool"
                                  << "maybe" << 13;
    QTest::newRow("int16 too large") << "int16"
                                     << "40000" << 6;
}

void TestSettings::unconvertibleTextFails()
{
    using namespace settingtext;
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(int, number);
    try {
        if (kind == u"single")
            toSingle(text);
        else if (kind == u"double")
            toDouble(text);
        else if (kind == u"bool")
            toBool(text);
        else
            toInt16(text);
        QFAIL("conversion must fail");
    } catch (const RunTimeError &error) {
        QCOMPARE(error.number(), number);
    }
}

void TestSettings::deleteFailsWhenAbsent()
{
    ShellFixture f;
    QVERIFY_THROWS_EXCEPTION(RunTimeError,
                             f.store->remove(SettingsSection, QStringLiteral("Mode")));
    f.store->write(SettingsSection, QStringLiteral("Mode"), QStringLiteral("1"));
    f.store->remove(SettingsSection, QStringLiteral("Mode"));
    QVERIFY(!f.store->contains(SettingsSection, QStringLiteral("Mode")));
}

void TestSettings::firstRunGivesEveryDefault()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    const GlintboxState &s = w.state();
    QCOMPARE(s.maxFileSize, 20480000.0);
    QCOMPARE(s.textColour, SystemWindowBackground);
    QCOMPARE(s.pictureColour, 0x808080u);
    QCOMPARE(s.launchColour, 0x808080u);
    QCOMPARE(s.controlsPosition, QStringLiteral("Side"));
    QVERIFY(w.controls().menus->item(MenuCommand::mnuControl, 1)->isChecked());
    QVERIFY(w.controls().chkAutoMode->isChecked());
    QVERIFY(w.controls().chkHTMLmode->isChecked());
    QVERIFY(!s.WebMode);
    QVERIFY(!w.controls().menus->item(MenuCommand::mnuWordWrap)->isChecked());
    QCOMPARE(s.font.name, QStringLiteral("Tahoma"));
    QCOMPARE(s.font.size, 8.0f);
    QVERIFY(!s.font.bold && !s.font.italic && !s.font.underline && !s.font.strikethrough);
    QCOMPARE(s.font.colour, 0u);
    QCOMPARE(w.fileFilter().model().value(0), 1);
    for (int i = 1; i < FilterEntryCount; ++i)
        QCOMPARE(w.fileFilter().model().value(i), 0);
    const QRectF outer = w.outerGeometryTwips();
    QVERIFY(qAbs(outer.width() - 9000) < 30);
    QVERIFY(qAbs(outer.height() - 6500) < 30);
    QCOMPARE(w.windowTitle(), QStringLiteral("Glintbox by Devezud Iziruvuz - Version 2.00"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::unreadableValueSkipsOnlyItsStep()
{
    ShellFixture f;
    f.storeSetting("Height", "abc");
    f.storeSetting("Width", "12000");
    f.storeSetting("MaxFileSize", "many");
    f.storeSetting("FontSize", "12");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(qAbs(w.outerGeometryTwips().width() - 12000) < 30);
    QVERIFY(qAbs(w.outerGeometryTwips().height() - 6500) < 30);
    QCOMPARE(w.state().maxFileSize, 20480000.0);
    QCOMPARE(w.state().font.size, 12.0f);
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::invalidIniNeverStopsStartup()
{
    ShellFixture f;
    QFile file(f.settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x01\x02[[[Settings\n=== garbage ===\n\xff\xfe[Filters]\nALL=yes,no\n");
    file.close();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().maxFileSize, 20480000.0);
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::closingWritesEverythingInTextForm()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    w.state().maxFileSize = 524288;
    w.state().WebMode = true;
    f.closeAndReload();
    QCOMPARE(f.exits, 1);
    QCOMPARE(f.storedSetting("MaxFileSize"), QStringLiteral("524288"));
    QCOMPARE(f.storedSetting("WebMode"), QStringLiteral("True"));
    QCOMPARE(f.storedSetting("RTFmode"), QStringLiteral("1"));
    QCOMPARE(f.storedSetting("Controls"), QStringLiteral("Side"));
    QCOMPARE(f.storedSetting("State"), QStringLiteral("0"));
    QCOMPARE(f.storedSetting("DrivePath"), f.dir.path());
    for (const SettingBinding &setting : settingBindings())
        QVERIFY2(f.store->contains(setting.section, setting.key), qPrintable(setting.key));
}

void TestSettings::everyStoredValueReachesItsOwnerAndBack()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("sub/a.txt"));
    // Every value but State differs from its default (a stored maximised state
    // would ignore the geometry); geometry in whole pixels at 96 dpi.
    const QList<std::pair<QString, QString>> stored = {
        {"DriveLetter", "/"},
        {"DrivePath", f.path("sub")},
        {"MaxFileSize", "524288"},
        {"TextColour", "255"},
        {"PictureColour", "65280"},
        {"LaunchColour", "16711680"},
        {"Controls", "Top"},
        {"Height", "7005"},
        {"Width", "10005"},
        {"State", "0"},
        {"Top", "1500"},
        {"Left", "3000"},
        {"RTFmode", "0"},
        {"HTMLmode", "0"},
        {"FontFace", "Courier"},
        {"FontSize", "12.5"},
        {"FontBold", "True"},
        {"FontItalic", "True"},
        {"FontUline", "True"},
        {"FontStrike", "True"},
        {"FontColour", "128"},
        {"WebMode", "True"},
        {"WordWrap", "True"},
    };
    for (const auto &[key, text] : stored)
        f.storeSetting(key, text);
    const QStringList ticked = {"TXT", "DIB", "NFO"};
    f.store->write(FiltersSection, "ALL", "0");
    for (const QString &key : ticked)
        f.store->write(FiltersSection, key, "1");
    f.store->commit();
    f.resetStore();

    frmGlintbox &w = f.load();
    const GlintboxState &s = w.state();
    const MainControls &c = w.controls();
    QCOMPARE(c.Dir1->path(), f.path("sub"));
    QCOMPARE(s.maxFileSize, 524288.0);
    QCOMPARE(w.viewer().Text1->backgroundColour(), 255u);
    QCOMPARE(s.pictureColour, 65280u);
    QCOMPARE(s.launchColour, 16711680u);
    QVERIFY(c.menus->item(MenuCommand::mnuControl, 0)->isChecked());
    QVERIFY(!c.chkAutoMode->isChecked());
    QVERIFY(!c.chkHTMLmode->isChecked());
    QCOMPARE(s.font.name, QStringLiteral("Courier"));
    QCOMPARE(s.font.size, 12.5f);
    QVERIFY(s.font.bold && s.font.italic && s.font.underline && s.font.strikethrough);
    QCOMPARE(s.font.colour, 128u);
    QVERIFY(s.WebMode && w.viewer().mnuWebMode->isChecked());
    // Word wrap off is applied to the text view, not only ticked.
    QVERIFY(w.viewer().mnuWordWrap->isChecked());
    QVERIFY(w.viewer().Text1->rightMargin() > 0);
    QCOMPARE(w.fileFilter().model().value(QStringLiteral("NFO")), 1);
    QCOMPARE(w.outerGeometryTwips(), QRectF(3000, 1500, 10005, 7005));

    f.closeAndReload();
    for (const auto &[key, text] : stored)
        QCOMPARE(f.storedSetting(key), text);
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        const QString key = filterKey(entry);
        QCOMPARE(f.store->read(FiltersSection, key, {}), ticked.contains(key) ? "1" : "0");
    }
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::systemColourRoundTripsAsReference()
{
    ShellFixture f;
    f.load();
    f.closeAndReload();
    QCOMPARE(f.storedSetting("TextColour"), QStringLiteral("-2147483643"));
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().textColour, SystemWindowBackground);
}

void TestSettings::dibRoundTrips()
{
    ShellFixture f;
    f.store->write(FiltersSection, QStringLiteral("ALL"), QStringLiteral("0"));
    f.store->write(FiltersSection, QStringLiteral("DIB"), QStringLiteral("1"));
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.fileFilter().model().value(QStringLiteral("DIB")), 1);
    QCOMPARE(w.fileFilter().model().value(QStringLiteral("ALL")), 0);
    f.closeAndReload();
    QCOMPARE(f.store->read(FiltersSection, QStringLiteral("DIB"), {}), QStringLiteral("1"));
}

void TestSettings::obsoleteKeysRemovedAndSecondSaveSucceeds()
{
    ShellFixture f;
    for (const char *key : obsoleteSettingKeys())
        f.store->write(SettingsSection, QString::fromLatin1(key), QStringLiteral("1"));
    f.store->commit();
    f.resetStore();
    f.load();
    f.closeAndReload();
    for (const char *key : obsoleteSettingKeys())
        QVERIFY2(!f.store->contains(SettingsSection, QString::fromLatin1(key)), key);
    f.load();
    f.closeAndReload();
    QCOMPARE(f.exits, 2);
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::exitWritesNothing()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    w.state().font.name = QStringLiteral("Courier");
    w.mnuExit_Click();
    QCOMPARE(f.exits, 1);
    w.close(); // the window goes without further events
    f.window.reset();
    f.resetStore();
    QVERIFY(!f.store->contains(SettingsSection, QStringLiteral("FontFace")));
    QVERIFY(!QFile::exists(f.settingsFile()));
}

void TestSettings::lowerCaseTopGivesSideAndStoresSide()
{
    ShellFixture f;
    f.storeSetting("Controls", "top");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(w.controls().menus->item(MenuCommand::mnuControl, 1)->isChecked());
    QVERIFY(!w.controls().menus->item(MenuCommand::mnuControl, 0)->isChecked());
    f.closeAndReload();
    QCOMPARE(f.storedSetting("Controls"), QStringLiteral("Side"));
}

void TestSettings::storedPositionIsUsed()
{
    ShellFixture f;
    f.storeSetting("Top", "1500");
    f.storeSetting("Left", "3000");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(qAbs(w.outerGeometryTwips().top() - 1500) < 30);
    QVERIFY(qAbs(w.outerGeometryTwips().left() - 3000) < 30);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
