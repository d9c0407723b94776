// The settings file's text against Qt's own settings class, which wrote every
// settings file before: what it reads, we read; what it would write, we write.
#include "TestFiles.h"
#include "core/FileNameBytes.h"
#include "core/SettingsFileText.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace glintbox;

namespace {

// Each key's value as the store gives it: a list joined with commas.
QMap<QString, QString> texts(const StoredSettings &settings)
{
    QMap<QString, QString> result;
    for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry) {
        if (entry.key().isEmpty())
            continue; // no one can ask for it
        const QVariant &value = entry.value();
        result.insert(entry.key(), value.userType() == QMetaType::QStringList
                                       ? value.toStringList().join(u',')
                                       : value.toString());
    }
    return result;
}

StoredSettings qtReading(const QString &path)
{
    QSettings settings(path, QSettings::NativeFormat);
    StoredSettings result;
    for (const QString &key : settings.allKeys())
        result.insert(key, settings.value(key));
    return result;
}

// The file as Qt writes it back after a key is added.
const QString AddedKey = QStringLiteral("Zz/Zz");

QByteArray qtRewriting(const QString &path)
{
    QSettings(path, QSettings::NativeFormat).setValue(AddedKey, QStringLiteral("1"));
    return readFile(path);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void readsAndRewritesAsQt_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("unsorted, blanks, comments")
            << QByteArray("; made by hand\r\n[Settings]\r\n  Zed = 1 ; note\r\nAlpha=\tx\t\r\n\r\n"
                          "[ Filters ]\nB=1\nA=2\n");
        QTest::newRow("lists and quotes")
            << QByteArray("[S]\nList=a , b,\" c \"\nQuoted=\"a,b;c=d\"\nOpen=\"no end\n");
        QTest::newRow("escapes") << QByteArray("[S]\nE=\\a\\t\\x41\\101\\q\\\\\\\"x\\\nNext=2\n"
                                               "Num=\\x4142zz\nEnd=abc\\\n");
        QTest::newRow("keys and sections escaped")
            << QByteArray("[General]\ntop=1\n[%General]\nx=2\n[My%20Section]\nsub\\key=3\n"
                          "%U00e9t%C3=4\n");
        QTest::newRow("byte-order mark, UTF-8 and bad bytes")
            << QByteArray("\xef\xbb\xbf[S]\nU=caf\xc3\xa9\nBad=\xff\xfe\n");
        QTest::newRow("garbage") << QByteArray(
            "\x01\x02[[[Settings\n=== garbage ===\n\xff\xfe[Filters]\nALL=yes,no\n[Open\nk=v\n");
        QTest::newRow("special values") << QByteArray("[S]\nNone=@Invalid()\nEmpty=\nAt=@@@x\n");
        QTest::newRow("typed values in a list")
            << QByteArray("[S]\nL=@String(a\\0b), @@c, @Invalid(), d\nM=x\\0y, z\n");
    }

    void readsAndRewritesAsQt()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Glintbox.conf"));
        QVERIFY(writeFile(path, file));

        StoredSettings ours = parseSettingsFile(file);
        QCOMPARE(texts(ours), texts(qtReading(path)));
        ours.insert(AddedKey, QStringLiteral("1"));
        QCOMPARE(settingsFileText(ours), qtRewriting(path));
    }

    void writesValuesAsQt_data()
    {
        QTest::addColumn<QString>("value");
        for (const char16_t *value : {u"/ [My Disk]", u"", u" lead", u"trail ", u"a,b", u"a;b",
                                      u"@Vert", u"quote\" and \\", u"line\nbreak\r", u"\x01\x1f",
                                      u"caf\u00e9 \u20ac \U0001F600", u"\u007f", u"-2147483643"})
            QTest::newRow(QString::fromUtf16(value).toUtf8().constData())
                << QString::fromUtf16(value);
        QTest::newRow("nul then digits") << QString::fromUtf16(u"a\u000012f", 6);
    }

    void writesValuesAsQt()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Glintbox.conf"));
        {
            QSettings settings(path, QSettings::NativeFormat);
            settings.setValue(QStringLiteral("Settings/Value"), value);
            settings.setValue(QStringLiteral("Filters/ALL"), QStringLiteral("1"));
        }
        const StoredSettings ours = {{QStringLiteral("Settings/Value"), value},
                                     {QStringLiteral("Filters/ALL"), QStringLiteral("1")}};
        QCOMPARE(settingsFileText(ours), readFile(path));
        QCOMPARE(parseSettingsFile(readFile(path)).value(QStringLiteral("Settings/Value")), value);
    }

    // Qt writes a file name's stray bytes as U+FFFD and the folder is lost,
    // and readers drop a byte-order mark that begins a piece of text: we
    // write both as escapes that both readers read back whole.
    void valuesQtWouldLoseReadBackWhole_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("file name that is not UTF-8") << fileNameFromBytes("/home/caf\xe9"
                                                                          "1/x");
        QTest::newRow("byte-order mark after an escape") << QString::fromUtf16(u"a\x1e\ufeffb");
    }

    void valuesQtWouldLoseReadBackWhole()
    {
        QFETCH(QString, value);
        const QByteArray text = settingsFileText({{QStringLiteral("Settings/DrivePath"), value}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Glintbox.conf"));
        QVERIFY(writeFile(path, text));
        QCOMPARE(QSettings(path, QSettings::NativeFormat).value("Settings/DrivePath").toString(),
                 value);
        QCOMPARE(parseSettingsFile(text).value(QStringLiteral("Settings/DrivePath")).toString(),
                 value);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
