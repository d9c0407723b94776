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
    void lights();
    void gaugeCellsPaintTheirColours();

    void opensWithKiloBytes();
    void keysAnswerTheDialog_data();
    void keysAnswerTheDialog();
    void badPastedTextIsReported();
    void askMaximumRunsModally();
};

void TestGauge::lights()
{
    // The cells, then the level as written back.
    const auto lit = [](int level, ViewMode mode = ViewMode::Image) {
        const QString cells = cellsText(MaxSizeLights(level, mode));
        return cells + u' ' + QString::number(level);
    };
    QCOMPARE(lit(0), ".......... 0");
    QCOMPARE(lit(-3), ".......... -3");
    QCOMPARE(lit(7), "ggggggg... 7");
    QCOMPARE(lit(10), "gggggggrrr 10");
    QCOMPARE(lit(15), "gggggggrrr 10");
    QCOMPARE(lit(32767, ViewMode::Launcher), ".......... 10");
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
}

void TestGauge::opensWithKiloBytes()
{
    ScriptedPrompts prompts;
    const auto shown = [&](double maximum) {
        return frmFileSize(prompts, maximum).txtInputMaxFile()->text();
    };
    QCOMPARE(shown(20480000), "20000");
    QCOMPARE(shown(1536), "1.5");
    // Digits only, as the box takes them: never "1e+05".
    QCOMPARE(shown(102400000), "100000");
    QCOMPARE(shown(1024.0 * 9876543210.0), "9876543210");
}

void TestGauge::keysAnswerTheDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<double>("confirmed"); // -1: nothing stored
    // Tab goes from the box to Cancel, Clear and OK; Enter answers the focused one.
    // Only digits and Backspace reach the box.
    QTest::newRow("text box: OK") << "6a-4. +e,X1\b" << 0 << false << "64" << 65536.0;
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

void TestGauge::badPastedTextIsReported()
{
    // 1e306 kilobytes is a number of bytes beyond a double.
    const std::pair<QString, int> pastes[] = {
        {"12abc", 13}, {"nan", 13}, {"1e999", 6}, {"1e306", 6}};
    for (const auto &[text, number] : pastes) {
        ScriptedPrompts prompts;
        frmFileSize dialog(prompts, 20480000);
        dialog.show();
        dialog.txtInputMaxFile()->setText(text); // as a paste would
        QTest::mouseClick(dialog.btnOptionsOK(), Qt::LeftButton);
        QCOMPARE(prompts.captions(),
                 QStringList{QStringLiteral("Glintbox - Error %1").arg(number)});
        QCOMPARE(prompts.texts(), QStringList{number == 6 ? "Overflow" : "Type mismatch"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.confirmedMaximum(), std::nullopt);
    }
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
