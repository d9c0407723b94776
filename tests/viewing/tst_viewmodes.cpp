#include "viewing/modes/IconFrames.h"
#include "viewing/modes/ModeCommands.h"
#include "viewing/modes/SizeLevel.h"
#include "viewing/modes/ViewMode.h"
#include "viewing/modes/ViewVisibility.h"

#include <QSet>
#include <QTest>

using namespace glintbox;

Q_DECLARE_METATYPE(glintbox::ViewMode)
Q_DECLARE_METATYPE(glintbox::ViewState)

class TestViewModes : public QObject {
    Q_OBJECT

private slots:
    void classification_data();
    void classification();
    void commandTable_data();
    void commandTable();
    void viewVisibility_data();
    void viewVisibility();
    void sizeLevel_data();
    void sizeLevel();
    void aboveMaximumIsStrict();
    void seventeenIconTicks();
    void iconFramesAreDistinctPictures();
};

void TestViewModes::classification_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fileExt");
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<bool>("html");
    QTest::addColumn<bool>("richText");

    const auto row = [](const char *name, const char *ext, ViewMode mode, bool html = false,
                        bool rich = false) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(ext) << mode << html
                            << rich;
    };
    row("README", "DME", ViewMode::Text);
    row("ab", "ab", ViewMode::Text);
    row("notes.txt", "txt", ViewMode::Text);
    row("A.BMP", "BMP", ViewMode::Image);
    row("x.wmf", "wmf", ViewMode::Image);
    row("x.emf", "emf", ViewMode::Image);
    row("x.ico", "ico", ViewMode::Image);
    row("x.Cur", "Cur", ViewMode::Image);
    row("x.gif", "gif", ViewMode::Image);
    row("x.jpg", "jpg", ViewMode::Image);
    row("x.jif", "jif", ViewMode::Image);
    row("scan.dib", "dib", ViewMode::Image);
    // Only the last three characters count: the movie list is tested first.
    row("photo.jpeg", "peg", ViewMode::Movie);
    row("clip.MPEG", "PEG", ViewMode::Movie);
    row("clip.mpg", "mpg", ViewMode::Movie);
    row("clip.avi", "avi", ViewMode::Movie);
    row("clip.mov", "mov", ViewMode::Movie);
    row("clip.qt", ".qt", ViewMode::Movie);
    row("sound.wav", "wav", ViewMode::Movie);
    row("tune.mid", "mid", ViewMode::Movie);
    row("tune.rmi", "rmi", ViewMode::Movie);
    row("setup.exe", "exe", ViewMode::Launcher);
    row("COMMAND.COM", "COM", ViewMode::Launcher);
    row("page.html", "tml", ViewMode::Text, true);
    row("page.HTM", "HTM", ViewMode::Text, true);
    row("pagehtml", "tml", ViewMode::Text, true);
    row("letter.rtf", "rtf", ViewMode::Text, false, true);
    row("LETTER.RTF", "RTF", ViewMode::Text, false, true);
    row("myrtf", "rtf", ViewMode::Text, false, true);
}

void TestViewModes::classification()
{
    QFETCH(QString, fileName);
    QFETCH(QString, fileExt);
    QFETCH(ViewMode, mode);
    QFETCH(bool, html);
    QFETCH(bool, richText);

    QCOMPARE(fileExtOf(fileName), fileExt);
    QCOMPARE(classifyViewMode(fileExt), mode);
    QCOMPARE(isHtmlExt(fileExt), html);
    QCOMPARE(isRichTextExt(fileExt), richText);
}

void TestViewModes::commandTable_data()
{
    using C = ModeCommand;
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<QSet<ModeCommand>>("enabled");

    QTest::newRow("text") << ViewMode::Text
                          << QSet<C>{C::ToolbarPrint, C::ToolbarFont, C::ToolbarFind, C::MnuPrint,
                                     C::MnuFontSize,  C::MnuEdit0,    C::MnuEdit1,    C::MnuEdit2,
                                     C::MnuSelect,    C::MnuSearch};
    QTest::newRow("image") << ViewMode::Image
                           << QSet<C>{C::ToolbarPrint, C::MnuPrint, C::MnuKeys0, C::MnuKeys1,
                                      C::BtnZoom0,     C::BtnZoom1, C::BtnZoom2, C::BtnZoom3,
                                      C::BtnZoom4,     C::BtnZoom5, C::BtnZoom6, C::BtnZoom7,
                                      C::BtnZoom8};
    QTest::newRow("movie") << ViewMode::Movie
                           << QSet<C>{C::BtnZoom3, C::BtnZoom4, C::BtnZoom5, C::BtnZoom6};
    QTest::newRow("launcher") << ViewMode::Launcher << QSet<C>{C::MnuEnter};
}

void TestViewModes::commandTable()
{
    QFETCH(ViewMode, mode);
    QFETCH(QSet<ModeCommand>, enabled);

    for (const ModeCommandRow &row : modeCommandTable()) {
        QVERIFY2(isCommandEnabled(row.command, mode) == enabled.contains(row.command),
                 qPrintable(QStringLiteral("command %1").arg(int(row.command))));
    }
    QCOMPARE(takesZoomOutOfTabOrder(mode), mode == ViewMode::Movie);
}

void TestViewModes::viewVisibility_data()
{
    constexpr ViewState S = ViewState::Shown;
    constexpr ViewState H = ViewState::Hidden;
    constexpr ViewState L = ViewState::LeftAsIs;
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<bool>("htmlFile");
    QTest::addColumn<bool>("htmlMode");
    QTest::addColumn<QList<ViewState>>("states"); // Text1, Web, Picture2, Movie, Launcher
    QTest::addColumn<bool>("clears");
    QTest::addColumn<bool>("releases");

    QTest::newRow("text") << ViewMode::Text << false << true << QList{S, H, H, H, H} << false
                          << true;
    QTest::newRow("html in browser")
        << ViewMode::Text << true << true << QList{L, S, H, H, H} << false << true;
    QTest::newRow("html as source")
        << ViewMode::Text << true << false << QList{S, L, H, H, H} << false << true;
    QTest::newRow("image") << ViewMode::Image << false << true << QList{H, H, S, H, H} << true
                           << false;
    QTest::newRow("movie") << ViewMode::Movie << false << true << QList{H, H, H, S, H} << true
                           << true;
    QTest::newRow("launcher") << ViewMode::Launcher << false << true << QList{H, H, H, H, S} << true
                              << true;
}

void TestViewModes::viewVisibility()
{
    QFETCH(ViewMode, mode);
    QFETCH(bool, htmlFile);
    QFETCH(bool, htmlMode);
    QFETCH(QList<ViewState>, states);
    QFETCH(bool, clears);
    QFETCH(bool, releases);

    const ViewVisibility views = glintbox::viewVisibility(mode, htmlFile, htmlMode);
    QCOMPARE((QList{views.text1, views.webBrowser1, views.picture2, views.activeMovie1,
                    views.picLaunchWindow}),
             states);
    QCOMPARE(views.clearsText1, clears);
    QCOMPARE(views.releasesImage2, releases);
}

void TestViewModes::sizeLevel_data()
{
    QTest::addColumn<double>("fileSize");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("level");

    const double max = 20480000;
    QTest::newRow("empty") << 0.0 << max << 0;
    QTest::newRow("small") << 1000.0 << max << 0;
    QTest::newRow("half") << max / 2 << max << 5;
    QTest::newRow("quarter: 2.5 to even") << max / 4 << max << 2;
    QTest::newRow("three quarters: 7.5 to even") << max * 3 / 4 << max << 8;
    QTest::newRow("0.5 to even") << 5.0 << 100.0 << 0;
    QTest::newRow("1.5 to even") << 15.0 << 100.0 << 2;
    QTest::newRow("at maximum") << 524288.0 << 524288.0 << 10;
    QTest::newRow("one and a half") << max * 1.5 << max << 10;
    QTest::newRow("beyond 16 bits") << 3276.75 * 1000 << 1000.0 << 10;
    QTest::newRow("huge ratio") << 1e300 << 1e-300 << 10;
    QTest::newRow("maximum 0") << 1.0 << 0.0 << 10;
    QTest::newRow("empty, maximum 0") << 0.0 << 0.0 << 0;
    QTest::newRow("negative maximum") << 10.0 << -5120.0 << 0;
}

void TestViewModes::sizeLevel()
{
    QFETCH(double, fileSize);
    QFETCH(double, maximum);
    QFETCH(int, level);
    QCOMPARE(glintbox::sizeLevel(fileSize, maximum), level);
}

void TestViewModes::aboveMaximumIsStrict()
{
    QVERIFY(!isAboveMaximum(524288, 524288));
    QVERIFY(isAboveMaximum(524289, 524288));
    QVERIFY(!isAboveMaximum(0, 0));
    QVERIFY(isAboveMaximum(1, 0));
}

void TestViewModes::seventeenIconTicks()
{
    int frame = 0;
    QList<int> shown;
    for (int tick = 0; tick < 17; ++tick) {
        frame = nextIconFrame(frame);
        shown.append(frame);
    }
    QCOMPARE(shown, (QList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1}));
}

void TestViewModes::iconFramesAreDistinctPictures()
{
    QImage previous;
    for (int i = 0; i < IconFrameCount; ++i) {
        const QIcon icon = iconFrame(i);
        QVERIFY2(!icon.isNull(), qPrintable(QString::number(i)));
        const QImage image = icon.pixmap(32, 32).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(qAlpha(image.pixel(12, 20)) == 255); // the box's front face
        QVERIFY2(image != previous, "each frame must differ from the one before");
        previous = image;
    }
}

QTEST_MAIN(TestViewModes)
#include "tst_viewmodes.moc"
