#include "ScriptedPrompts.h"
#include "viewing/gauge/MaxSizeLights.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/gauge/frmFileSize.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace glintbox;

namespace {

// One character per cell: '.' unlit, 'g' green, 'r' orange-red.
QString cellsText(const GaugeColours &colours)
{
    QString text;
    for (quint32 colour : colours)
        text += colour == GaugeGreen       ? 'g'
                : colour == GaugeOrangeRed ? 'r'
                : colour == GaugeUnlit     ? '.'
                                           : '?';
    return text;
}

} // namespace

class TestGauge : public QObject {
    Q_OBJECT

private slots:
    void lights_data();
    void lights();
    void gaugeCellsPaintTheirColours();

    void opensWithKiloBytes_data();
    void opensWithKiloBytes();
    void keyFilterKeepsDigitsAndBackspace();
    void keysAnswerTheDialog_data();
    void keysAnswerTheDialog();
    void badPastedTextIsReported_data();
    void badPastedTextIsReported();
    void askMaximumRunsModally();
};

void TestGauge::lights_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("launcher");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("levelAfter");
    QTest::newRow("empty") << 0 << false << ".........." << 0;
    QTest::newRow("negative") << -3 << false << ".........." << -3;
    QTest::newRow("seven") << 7 << false << "ggggggg..." << 7;
    QTest::newRow("eight") << 8 << false << "gggggggr.." << 8;
    QTest::newRow("full") << 10 << false << "gggggggrrr" << 10;
    QTest::newRow("over: clamped and written back") << 15 << false << "gggggggrrr" << 10;
    QTest::newRow("launcher over") << 32767 << true << ".........." << 10;
}

void TestGauge::lights()
{
    QFETCH(int, level);
    QFETCH(bool, launcher);
    QFETCH(QString, cells);
    QFETCH(int, levelAfter);
    const GaugeColours colours =
        MaxSizeLights(level, launcher ? ViewMode::Launcher : ViewMode::Image);
    QCOMPARE(cellsText(colours), cells);
    QCOMPARE(level, levelAfter);
}

void TestGauge::gaugeCellsPaintTheirColours()
{
    SizeGauge gauge;
    QPalette palette = gauge.palette();
    palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    gauge.setPalette(palette);
    int level = 8;
    gauge.setColours(MaxSizeLights(level, ViewMode::Text));
    gauge.resize(gauge.sizeHint());
    gauge.show();
    const auto centre = [&](int index) {
        GaugeCell *cell = gauge.Picture4(index);
        return cell->grab().toImage().pixelColor(cell->width() / 2, cell->height() / 2);
    };
    QCOMPARE(centre(0), QColor(0, 192, 0));
    QCOMPARE(centre(7), QColor(192, 64, 0));
    // Unlit cells follow the palette's button face, not a fixed grey.
    QCOMPARE(centre(8), QColor(0x12, 0x34, 0x56));
    QCOMPARE(gauge.Picture4(4)->toolTip(), "File is 50% of selected maximum file size");
}

void TestGauge::opensWithKiloBytes_data()
{
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("text");
    QTest::newRow("default") << 20480000.0 << "20000";
    QTest::newRow("fraction") << 1536.0 << "1.5";
    // Digits only, as the box takes them: never "1e+05".
    QTest::newRow("100000") << 102400000.0 << "100000";
    QTest::newRow("beyond a 32-bit size") << 1024.0 * 9876543210.0 << "9876543210";
    QTest::newRow("zero") << 0.0 << "0";
}

void TestGauge::opensWithKiloBytes()
{
    QFETCH(double, maximum);
    QFETCH(QString, text);
    ScriptedPrompts prompts;
    QCOMPARE(frmFileSize(prompts, maximum).txtInputMaxFile()->text(), text);
}

void TestGauge::keyFilterKeepsDigitsAndBackspace()
{
    ScriptedPrompts prompts;
    frmFileSize dialog(prompts, 20480000);
    dialog.show();
    QLineEdit *box = dialog.txtInputMaxFile();
    box->clear();
    QTest::keyClicks(box, "5a1-2. 3+e,X");
    QCOMPARE(box->text(), "5123");
    QTest::keyClick(box, Qt::Key_Backspace);
    // Cursor keys still move: the 9 lands before the 2.
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClicks(box, "9");
    QCOMPARE(box->text(), "5192");
    QVERIFY(prompts.records().isEmpty());
}

void TestGauge::keysAnswerTheDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<double>("confirmed"); // -1: nothing stored
    // Tab goes from the box to Cancel, Clear and OK; Enter answers the focused one.
    QTest::newRow("text box: OK") << "64" << 0 << false << "64" << 65536.0;
    QTest::newRow("Cancel") << "64" << 1 << false << "64" << -1.0;
    QTest::newRow("Clear") << "64" << 2 << true << "" << -1.0;
    QTest::newRow("OK") << "64" << 3 << false << "64" << 65536.0;
    QTest::newRow("OK on an empty box stays open") << "" << 3 << true << "" << -1.0;
}

void TestGauge::keysAnswerTheDialog()
{
    QFETCH(QString, typed);
    QFETCH(int, tabs);
    QFETCH(bool, stays);
    QFETCH(QString, boxText);
    QFETCH(double, confirmed);
    ScriptedPrompts prompts;
    frmFileSize dialog(prompts, 20480000);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *box = dialog.txtInputMaxFile();
    box->clear();
    QTest::keyClicks(box, typed);
    for (int i = 0; i < tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.isVisible(), stays);
    QCOMPARE(box->text(), boxText);
    QCOMPARE(dialog.confirmedMaximum().value_or(-1), confirmed);
    QVERIFY(prompts.records().isEmpty());
}

void TestGauge::badPastedTextIsReported_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("letters") << "12abc" << 13 << "Type mismatch";
    QTest::newRow("not a number") << "nan" << 13 << "Type mismatch";
    QTest::newRow("beyond a double") << "1e999" << 6 << "Overflow";
    QTest::newRow("400 digits") << QString(400, '9') << 6 << "Overflow";
    QTest::newRow("bytes beyond a double") << "1e306" << 6 << "Overflow";
}

void TestGauge::badPastedTextIsReported()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, description);
    ScriptedPrompts prompts;
    frmFileSize dialog(prompts, 20480000);
    dialog.show();
    dialog.txtInputMaxFile()->setText(text); // as a paste would
    QTest::mouseClick(dialog.btnOptionsOK(), Qt::LeftButton);
    QCOMPARE(prompts.captions(), QStringList{QStringLiteral("Glintbox - Error %1").arg(number)});
    QCOMPARE(prompts.texts(), QStringList{description});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.confirmedMaximum(), std::nullopt);
}

void TestGauge::askMaximumRunsModally()
{
    ScriptedPrompts prompts;
    QTimer::singleShot(0, this, [] {
        auto *dialog = qobject_cast<frmFileSize *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->txtInputMaxFile()->setText("512");
        QTest::mouseClick(dialog->btnOptionsOK(), Qt::LeftButton);
    });
    QCOMPARE(frmFileSize::askMaximum(nullptr, prompts, 20480000), std::optional<double>(524288.0));
    // The close box keeps the maximum, whatever was typed.
    QTimer::singleShot(0, this, [] {
        QApplication::activeModalWidget()->findChild<QLineEdit *>()->setText("7");
        QApplication::activeModalWidget()->close();
    });
    QCOMPARE(frmFileSize::askMaximum(nullptr, prompts, 20480000), std::nullopt);
}

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
