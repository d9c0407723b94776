#include "Corpus.h"
#include "ShellFixture.h"
#include "core/lists/FileList.h"
#include "shell/MainMenus.h"
#include "viewing/display/ViewModes.h"
#include "viewing/gauge/SizeGauge.h"
#include "viewing/modes/IconFrames.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <cerrno>

using namespace glintbox;

namespace {

QByteArray textWithMarker(int length, int bytesBeforeEnd)
{
    QByteArray text(length, 'a');
    text[length - bytesBeforeEnd] = char(26);
    return text;
}

int litCells(const SizeGauge &gauge)
{
    int lit = 0;
    for (quint32 colour : gauge.colours())
        lit += colour != SystemButtonFace ? 1 : 0;
    return lit;
}

} // namespace

class TestDisplay : public QObject {
    Q_OBJECT

private slots:
    void endOfFileMarker_data();
    void endOfFileMarker();
    void fileAboveMaximumIsRefusedQuietly();
    void fileAtMaximumIsShownWithFullGauge();
    void emptyFileShowsEmptyText();
    void unreadableFileNeverShowsAnotherFilesText();
    void vanishedFileGivesOneReport();
    void corruptPictureGivesReportAndNoOldPicture();
    void metafileShowsAsVectorPicture();
    void rtfModeChoosesFormattedOrSource();
    void rtfClickAfterRestoreActs();
    void htmlModeOffShowsSource();
    void commandsFollowViewMode();
    void launcherLeavesGaugeUnlit();
    void plusKeyOnFileListZoomsPicture();
    void wordWrapTogglesTwice();
    void iconTimerFramesAndPendingFocus();

private:
    ShellFixture *m_fixture = nullptr;
};

void TestDisplay::endOfFileMarker_data()
{
    QTest::addColumn<int>("beforeEnd");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("shownLength");
    QTest::newRow("5 bytes: quietly shortened") << 5 << QString() << 995;
    QTest::newRow("50 bytes: reduced") << 50 << "has reduced the size" << 950;
    QTest::newRow("300 bytes: gives up") << 300 << "unable to resolve" << 0;
}

void TestDisplay::endOfFileMarker()
{
    QFETCH(int, beforeEnd);
    QFETCH(QString, message);
    QFETCH(int, shownLength);
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), textWithMarker(1000, beforeEnd));
    frmGlintbox &w = f.load();
    w.viewer().Text1->finishLoading();
    QCOMPARE(w.viewer().Text1->text().size(), shownLength);
    if (message.isEmpty()) {
        QVERIFY(f.prompts.records().isEmpty());
    } else {
        QCOMPARE(f.prompts.records().size(), 1);
        QVERIFY(f.prompts.texts().first().contains(message));
        QCOMPARE(f.prompts.captions().first(),
                 QStringLiteral("Glintbox - Input past end of file - Error 62"));
        QCOMPARE(f.prompts.records().first().icon, PromptIcon::Critical);
    }
}

void TestDisplay::fileAboveMaximumIsRefusedQuietly()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray(1025, 'x'));
    f.makeFile(QStringLiteral("b.txt"), "shown before");
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    w.controls().File1->setListIndex(1);
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("shown before"));
    w.controls().File1->setListIndex(0);
    QVERIFY(f.prompts.records().isEmpty());
    QCOMPARE(w.viewer().Text1->text(), QString());
    QVERIFY(w.controls().InputFileProperties->text().contains(QStringLiteral("1025 bytes")));
    QCOMPARE(litCells(*w.viewer().gauge), 10);
    QCOMPARE(w.state().sizeLevel, qint16(10));
}

void TestDisplay::fileAtMaximumIsShownWithFullGauge()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray(1024, 'x'));
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.viewer().Text1->text().size(), 1024);
    QCOMPARE(litCells(*w.viewer().gauge), 10);
    QCOMPARE(w.viewer().gauge->colours()[9], 0x0040C0u);
    QCOMPARE(w.viewer().gauge->colours()[6], 0x00C000u);
}

void TestDisplay::emptyFileShowsEmptyText()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), QByteArray());
    frmGlintbox &w = f.load();
    QVERIFY(f.prompts.records().isEmpty());
    QCOMPARE(w.viewer().Text1->text(), QString());
    QCOMPARE(litCells(*w.viewer().gauge), 0);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("100 %"));
}

void TestDisplay::unreadableFileNeverShowsAnotherFilesText()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "first file");
    f.makeFile(QStringLiteral("b.txt"), "second file");
    frmGlintbox &w = f.load();
    QCOMPARE(w.viewer().Text1->text(), QStringLiteral("first file"));
    f.fs.failWith(FaultyFileSystem::Operation::Read, f.path(QStringLiteral("b.txt")), EACCES);
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 70"});
    QCOMPARE(w.viewer().Text1->text(), QString());
}

void TestDisplay::vanishedFileGivesOneReport()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"), "first");
    f.makeFile(QStringLiteral("b.txt"), "gone soon");
    frmGlintbox &w = f.load();
    QFile::remove(f.path(QStringLiteral("b.txt")));
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 53"});
    QCOMPARE(f.prompts.texts(), QStringList{"File not found"});
}

void TestDisplay::corruptPictureGivesReportAndNoOldPicture()
{
    ShellFixture f;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(f.path(QStringLiteral("a.bmp")), "BMP");
    f.makeFile(QStringLiteral("b.bmp"), "BM this is not a bitmap");
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(!w.viewer().Picture2->picture().isNull());
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 481"});
    QVERIFY(w.viewer().Picture2->picture().isNull());
}

void TestDisplay::metafileShowsAsVectorPicture()
{
    const QStringList metafiles = corpusFiles(QStringLiteral("wmf"));
    if (metafiles.isEmpty())
        QSKIP("no corpus beside the project");
    ShellFixture f;
    QVERIFY(QFile::copy(metafiles.first(), f.path(QStringLiteral("a.wmf"))));
    f.makeFile(QStringLiteral("b.emf"), "not a metafile at all");
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Image);
    QVERIFY(f.prompts.records().isEmpty());
    QVERIFY(!w.viewer().Picture2->picture().isNull());
    QVERIFY(w.state().baseWidth > 0 && w.state().baseHeight > 0);
    w.controls().File1->setListIndex(1);
    QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Error 481"});
}

void TestDisplay::rtfModeChoosesFormattedOrSource()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.rtf"), "{\\rtf1\\ansi {\\b bold} text\\par}");
    frmGlintbox &w = f.load();
    QVERIFY(w.viewer().Text1->isRichText());
    QCOMPARE(w.viewer().Text1->text().trimmed(), QStringLiteral("bold text"));
    // The user's click on "RTF Mode" shows the same file again, as source.
    w.controls().chkAutoMode->click();
    QVERIFY(!w.viewer().Text1->isRichText());
    QVERIFY(w.viewer().Text1->text().startsWith(QStringLiteral("{\\rtf1")));
}

void TestDisplay::rtfClickAfterRestoreActs()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.rtf"), "{\\rtf1 plain}");
    f.storeSetting("RTFmode", "0");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QVERIFY(!w.controls().chkAutoMode->isChecked());
    QVERIFY(!w.state().RtfClickSuppressed);
    QVERIFY(!w.viewer().Text1->isRichText());
    w.controls().chkAutoMode->click();
    QVERIFY(w.viewer().Text1->isRichText());
}

void TestDisplay::htmlModeOffShowsSource()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("page.html"), "<html><body>hello</body></html>");
    f.storeSetting("HTMLmode", "0");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(w.state().ViewMode, ViewMode::Text);
    QVERIFY(w.viewer().Text1->isVisibleTo(&w));
    QVERIFY(w.viewer().Text1->text().contains(QStringLiteral("<body>hello")));
}

void TestDisplay::commandsFollowViewMode()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    f.makeFile(QStringLiteral("b.exe"), "MZ");
    QImage(4, 4, QImage::Format_RGB32).save(f.path(QStringLiteral("c.bmp")), "BMP");
    frmGlintbox &w = f.load();
    const MainMenus &menus = *w.controls().menus;
    using M = MenuCommand;
    auto enabled = [&](MenuCommand command, int index = -1) {
        return menus.item(command, index)->isEnabled();
    };
    QVERIFY(enabled(M::mnuSearch) && !enabled(M::mnuKeys, 0) && !enabled(M::mnuEnter));
    w.controls().File1->setListIndex(1); // b.exe
    QCOMPARE(w.state().ViewMode, ViewMode::Launcher);
    QVERIFY(enabled(M::mnuEnter) && !enabled(M::mnuPrint) && !enabled(M::mnuSearch));
    QCOMPARE(w.viewer().lblAppName->text(), QStringLiteral("b.exe"));
    w.controls().File1->setListIndex(2); // c.bmp
    QVERIFY(enabled(M::mnuKeys, 0) && enabled(M::mnuPrint) && !enabled(M::mnuSearch));
    for (QAbstractButton *button : w.viewer().btnZoom)
        QVERIFY(button->isEnabled());
    w.controls().File1->setListIndex(0); // back to text
    QVERIFY(!w.viewer().Picture2->isVisibleTo(&w));
    QVERIFY(w.viewer().Picture2->picture().isNull());
    for (QAbstractButton *button : w.viewer().btnZoom)
        QVERIFY(!button->isEnabled());
}

void TestDisplay::launcherLeavesGaugeUnlit()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("big.com"), QByteArray(4096, 'x'));
    f.storeSetting("MaxFileSize", "1024");
    f.store->commit();
    f.resetStore();
    frmGlintbox &w = f.load();
    QCOMPARE(litCells(*w.viewer().gauge), 0);
}

void TestDisplay::plusKeyOnFileListZoomsPicture()
{
    ShellFixture f;
    QImage(40, 20, QImage::Format_RGB32).save(f.path(QStringLiteral("a.bmp")), "BMP");
    frmGlintbox &w = f.load();
    const QSizeF base = w.viewer().Picture2->imageRectTwips().size();
    QTest::keyClick(w.controls().File1, Qt::Key_Plus);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("125 %"));
    QCOMPARE(w.viewer().Picture2->imageRectTwips().size(), base * 1.25);
    QTest::keyClick(w.controls().File1, Qt::Key_Underscore);
    QCOMPARE(w.viewer().Text2->text(), QStringLiteral("100 %"));
    QVERIFY(f.prompts.records().isEmpty());
}

void TestDisplay::wordWrapTogglesTwice()
{
    ShellFixture f;
    frmGlintbox &w = f.load();
    QAction *wrapOff = w.controls().menus->item(MenuCommand::mnuWordWrap);
    QCOMPARE(w.viewer().Text1->rightMargin(), 0.0);
    wrapOff->trigger();
    QVERIFY(wrapOff->isChecked());
    QCOMPARE(w.viewer().Text1->rightMargin(), 1e9);
    wrapOff->trigger();
    QVERIFY(!wrapOff->isChecked());
    QCOMPARE(w.viewer().Text1->rightMargin(), 0.0);
}

void TestDisplay::iconTimerFramesAndPendingFocus()
{
    ShellFixture f;
    f.makeFile(QStringLiteral("a.txt"));
    frmGlintbox &w = f.load();
    QVERIFY(w.state().FocusFileListPending);
    w.timIconSwitch_Timer();
    QVERIFY(!w.state().FocusFileListPending);
    // The tick that gave the focus does not advance the icon; the next does.
    QCOMPARE(w.state().IconFrame, qint16(0));
    w.timIconSwitch_Timer();
    QCOMPARE(w.state().IconFrame, qint16(1));
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
