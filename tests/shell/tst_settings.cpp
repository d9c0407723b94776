#include "ShellFixture.h"
#include "core/Colours.h"
#include "core/SettingsConversions.h"
#include "filter/FileFilter.h"
#include "shell/settings/SettingBindings.h"

using namespace glintbox;

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void defaultsAreStoredInTextFormAndObsoleteKeysGo();
    void everyStoredValueReachesItsOwnerAndBack();
    void damagedStoreNeverStopsStartup_data();
    void damagedStoreNeverStopsStartup();
    void exitWritesNothing();
};

void TestSettings::conversions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // "error N" when the text does not convert
    const auto row = [](const char *kind, const char *text, const char *written) {
        QTest::addRow("%s %s", kind, text) << kind << text << written;
    };
    row("bool", "false", "False");
    row("bool", "1", "True");
    row("bool", "maybe", "error 13");
    row("double", "0.1", "0.1");
    // Plain digits below 1e15, either form read.
    row("double", "2e+07", "20000000");
    row("double", "999999999999999", "999999999999999");
    row("double", "1e+300", "1e+300");
    row("double", "", "error 13");
    row("single", "1.5e7", "15000000");
    row("int16", "2.5", "2"); // half to even
    row("int16", "40000", "error 6");
}

void TestSettings::conversions()
{
    using namespace settingtext;
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, written);
    QString result;
    try {
        if (kind == u"bool")
            result = fromBool(toBool(text));
        else if (kind == u"double")
            result = fromDouble(toDouble(text));
        else if (kind == u"single")
            result = fromSingle(toSingle(text));
        else
            result = fromInt(toInt16(text));
    } catch (const RunTimeError &error) {
        result = QStringLiteral("error %1").arg(error.number());
    }
    QCOMPARE(result, written);
}

void TestSettings::defaultsAreStoredInTextFormAndObsoleteKeysGo()
{
    ShellFixture f;
    for (const char *key : obsoleteSettingKeys())
        f.storeSetting(QString::fromLatin1(key), "1");
    frmGlintbox &w = f.load();
    const QRectF outer = w.outerGeometryTwips();
    QVERIFY(qAbs(outer.width() - 9000) < 30 && qAbs(outer.height() - 6500) < 30);
    f.closeAndReload();
    const QStringList defaults =
        QStringLiteral(
            "MaxFileSize=20480000 TextColour=-2147483643 PictureColour=8421504 Controls=Side "
            "RTFmode=1 HTMLmode=1 WebMode=False WordWrap=False FontFace=Tahoma FontSize=8 State=0")
            .split(u' ');
    for (const QString &setting : defaults)
        QCOMPARE(f.storedSetting(setting.section(u'=', 0, 0)), setting.section(u'=', 1));
    QCOMPARE(f.storedSetting("DrivePath"), f.dir.path());
    for (const SettingBinding &setting : settingBindings())
        QVERIFY2(f.store->contains(setting.section, setting.key), qPrintable(setting.key));
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        QCOMPARE(f.store->read(FiltersSection, filterKey(entry), {}), entry == 0 ? "1" : "0");
    for (const char *key : obsoleteSettingKeys())
        QVERIFY2(!f.store->contains(SettingsSection, QString::fromLatin1(key)), key);

    // The system colour comes back as the same reference, and a second save
    // (with nothing obsolete left to remove) succeeds.
    QCOMPARE(f.load().state().textColour, SystemWindowBackground);
    f.closeAndReload();
    QCOMPARE(f.exits, 2);
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::everyStoredValueReachesItsOwnerAndBack()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("sub/a.txt"));
    // Every value but State differs from its default (a stored maximised state
    // would ignore the geometry), so one read into the wrong place comes back
    // changed; geometry in whole pixels at 96 dpi.
    // key=text
    const QStringList stored =
        QStringLiteral(
            "DriveLetter=/ MaxFileSize=524288 TextColour=255 PictureColour=65280 "
            "LaunchColour=16711680 Controls=Top Height=7005 Width=10005 State=0 Top=1500 Left=3000 "
            "RTFmode=0 HTMLmode=0 FontFace=Courier FontSize=12.5 FontBold=True FontItalic=True "
            "FontUline=True FontStrike=True FontColour=128 WebMode=True WordWrap=True")
            .split(u' ');
    for (const QString &setting : stored)
        f.storeSetting(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    f.storeSetting("DrivePath", f.path("sub"));
    const QStringList ticked = {"TXT", "DIB", "NFO"};
    f.store->write(FiltersSection, "ALL", "0");
    for (const QString &key : ticked)
        f.store->write(FiltersSection, key, "1");
    f.store->commit();
    f.resetStore();

    frmGlintbox &w = f.load();
    const MainControls &c = w.controls();
    QCOMPARE(c.Dir1->path(), f.path("sub"));
    QCOMPARE(w.viewer().Text1->backgroundColour(), 255u);
    QVERIFY(c.menus->item(MenuCommand::mnuControl, 0)->isChecked());
    QVERIFY(!c.chkAutoMode->isChecked() && !c.chkHTMLmode->isChecked());
    QVERIFY(w.viewer().mnuWebMode->isChecked());
    // Word wrap off is applied to the text view, not only ticked.
    QVERIFY(w.viewer().mnuWordWrap->isChecked() && w.viewer().Text1->rightMargin() > 0);
    QCOMPARE(w.fileFilter().model().value(QStringLiteral("DIB")), 1);
    QCOMPARE(w.outerGeometryTwips(), QRectF(3000, 1500, 10005, 7005));

    f.closeAndReload();
    for (const QString &setting : stored)
        QCOMPARE(f.storedSetting(setting.section(u'=', 0, 0)), setting.section(u'=', 1));
    QCOMPARE(f.storedSetting("DrivePath"), f.path("sub"));
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        const QString key = filterKey(entry);
        QCOMPARE(f.store->read(FiltersSection, key, {}), ticked.contains(key) ? "1" : "0");
    }
    QVERIFY(f.prompts.records().isEmpty());
}

void TestSettings::damagedStoreNeverStopsStartup_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("written");
    const auto row = [](const char *why, const QByteArray &file, const char *written) {
        QTest::newRow(why) << file << QString::fromLatin1(written).section(u'=', 0, 0)
                           << QString::fromLatin1(written).section(u'=', 1);
    };
    // A value that does not read skips only its own step.
    row("bad height, width read", "[Settings]\nHeight=abc\nWidth=12000\n", "Width=12000");
    row("bad size, font read", "[Settings]\nMaxFileSize=many\nFontSize=12\n", "FontSize=12");
    row("not a settings file",
        "\x01\x02[[[Settings\n=== garbage ===\n\xff\xfe[Filters]\nALL=yes,no\n",
        "MaxFileSize=20480000");
    // Only "Top" puts the controls on top; anything else is the side.
    row("lower-case top", "[Settings]\nControls=top\n", "Controls=Side");
}

void TestSettings::damagedStoreNeverStopsStartup()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, written);
    ShellFixture f;
    QFile settings(f.settingsFile());
    QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(file) == file.size());
    settings.close();
    f.resetStore();
    f.load();
    f.closeAndReload();
    QCOMPARE(f.storedSetting(key), written);
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
    QVERIFY(!QFile::exists(f.settingsFile()));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
