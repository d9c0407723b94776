#include "formats/fonts/SymbolFonts.h"

#include <QTest>

using namespace glintbox::fonts;

class TestSymbolFonts : public QObject {
    Q_OBJECT

private slots:
    void mapsCodes_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("symbol alpha") << "Symbol" << 0x61u << u"\u03b1"_qs;
        QTest::newRow("symbol bullet in private use") << "Symbol" << 0xF0B7u << u"\u2022"_qs;
        QTest::newRow("symbol euro") << "Symbol" << 0xA0u << u"\u20ac"_qs;
        QTest::newRow("symbol control code stays") << "Symbol" << 0x09u << "\t";
        QTest::newRow("symbol gap shows nothing") << "Symbol" << 0x80u << "";
        QTest::newRow("wingdings check") << "Wingdings" << 0xFCu << u"\u2713"_qs;
        QTest::newRow("wingdings pencil, name case and spaces")
            << " WINGDINGS " << 0x21u << u"\U0001F589"_qs;
        QTest::newRow("wingdings 2") << "Wingdings 2" << 0x21u << u"\U0001F58A"_qs;
        QTest::newRow("webdings spider") << "Webdings" << 0x21u << u"\U0001F577"_qs;
        QTest::newRow("zapf dingbats") << "ZapfDingbats" << 0x33u << u"\u2713"_qs;
        QTest::newRow("beyond a byte stays") << "Wingdings" << 0x263Au << u"\u263a"_qs;
        QTest::newRow("text font stays") << "Arial" << 0x61u << "a";
    }
    void mapsCodes()
    {
        QFETCH(QString, family);
        QFETCH(uint, code);
        QFETCH(QString, expected);
        QCOMPARE(symbolFontText(family, code), expected);
        QCOMPARE(isSymbolFont(family), family != QLatin1String("Arial"));
    }
};

QTEST_MAIN(TestSymbolFonts)
#include "tst_symbol_fonts.moc"
