#include "ShellFixture.h"
#include "core/Colours.h"
#include "filter/FileFilter.h"
#include "shell/MainMenus.h"
#include "shell/lists/FolderList.h"
#include "shell/settings/SettingsConversions.h"

#include <QAction>
#include <QCheckBox>
#include <QSettings>
#include <QTest>

using namespace glintbox;

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void conversions_data();
    void conversions();
    void unconvertibleTextFails_data();
    void unconvertibleTextFails();
    void deleteFailsWhenAbsent();
    void firstRunGivesEveryDefault();
    void unreadableValueSkipsOnlyItsStep();
    void invalidIniNeverStopsStartup();
    void closingWritesEverythingInTextForm();
    void systemColourRoundTripsAsReference();
    void dibRoundTrips();
    void obsoleteKeysRemovedAndSecondSaveSucceeds();
    void exitWritesNothing();
    void lowerCaseTopGivesSideAndStoresSide();
    void storedPositionIsUsed();

private:
    QTemporaryDir m_workDir;
};

void TestSettings::init()
{
    QDir::setCurrent(m_workDir.path());
}

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
    f.store->write(SettingKey::Height, QStringLiteral("abc"));
    f.store->write(SettingKey::Width, QStringLiteral("12000"));
    f.store->write(SettingKey::MaxFileSize, QStringLiteral("many"));
    f.store->write(SettingKey::FontSize, QStringLiteral("12"));
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
    QCOMPARE(f.store->read(SettingKey::MaxFileSize), QStringLiteral("524288"));
    QCOMPARE(f.store->read(SettingKey::WebMode), QStringLiteral("True"));
    QCOMPARE(f.store->read(SettingKey::RTFmode), QStringLiteral("1"));
    QCOMPARE(f.store->read(SettingKey::Controls), QStringLiteral("Side"));
    QCOMPARE(f.store->read(SettingKey::State), QStringLiteral("0"));
    QCOMPARE(f.store->read(SettingKey::DrivePath), m_workDir.path());
    for (const SettingKeyInfo &info : settingKeys())
        QVERIFY2(f.store->contains(SettingsSection, QString::fromLatin1(info.name)), info.name);
    for (int i = 0; i < FilterEntryCount; ++i)
        QVERIFY(f.store->contains(FiltersSection, filterKey(i)));
}

void TestSettings::systemColourRoundTripsAsReference()
{
    ShellFixture f;
    f.load();
    f.closeAndReload();
    QCOMPARE(f.store->read(SettingKey::TextColour), QStringLiteral("-2147483643"));
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
    f.store->write(SettingKey::Controls, QStringLiteral("top"));
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(w.controls().menus->item(MenuCommand::mnuControl, 1)->isChecked());
    QVERIFY(!w.controls().menus->item(MenuCommand::mnuControl, 0)->isChecked());
    f.closeAndReload();
    QCOMPARE(f.store->read(SettingKey::Controls), QStringLiteral("Side"));
}

void TestSettings::storedPositionIsUsed()
{
    ShellFixture f;
    f.store->write(SettingKey::Top, QStringLiteral("1500"));
    f.store->write(SettingKey::Left, QStringLiteral("3000"));
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(qAbs(w.outerGeometryTwips().top() - 1500) < 30);
    QVERIFY(qAbs(w.outerGeometryTwips().left() - 3000) < 30);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
