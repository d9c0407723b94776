#include "../shell/ShellFixture.h"
#include "core/Colours.h"
#include "shell/MainMenus.h"
#include "shell/lists/FileList.h"
#include "shell/settings/SettingsConversions.h"
#include "shell/toolbar/MainToolbar.h"
#include "textops/CommonDialog.h"
#include "textops/FontColourDialog.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

using namespace glintbox;

namespace {

constexpr quint32 Red = rgbColourValue(255, 0, 0);
constexpr quint32 Blue = rgbColourValue(0, 0, 255);

// One file of each view mode, in list order.
const QStringList KindFiles = {"a.txt", "b.bmp", "c.avi", "d.exe"};

frmGlintbox &openWithKinds(ShellFixture &f)
{
    f.makeFile("a.txt", "some text");
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.save(f.path("b.bmp"));
    f.makeFile("c.avi", "not really a movie");
    f.makeFile("d.exe", "MZ");
    QDir::setCurrent(f.dir.path());
    return f.load();
}

void clickToolbarButton(frmGlintbox &w, const char *key)
{
    QAction *button = w.toolbar().buttons().value(QString::fromLatin1(key));
    QVERIFY(button);
    QWidget *widget = w.controls().Toolbar1->widgetForAction(button);
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Runs `act` on the modal dialog once `open` has opened it. Whatever `act`
// does or fails to do, the dialog is closed afterwards, so a failing check
// never leaves the test waiting on a dialog.
template<typename Dialog>
void whileOpen(const std::function<void()> &open, const std::function<void(Dialog &)> &act)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        QPointer<Dialog> dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        act(*dialog);
        acted = true;
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    open();
    QVERIFY(acted);
}

// The colour the viewport paints away from its picture.
QColor viewportColour(frmGlintbox &w)
{
    ImageViewport &viewport = *w.viewer().Picture2;
    const QImage image = viewport.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void modeFollowsTheFirstFlagSet_data();
    void modeFollowsTheFirstFlagSet();
    void saveModeStartsInTheFileListFolder();
    void fontChosenAppliesNowAndToTheNextText();
    void cancelledFontChangesNothing();
    void backgroundColourGoesToTheModesView_data();
    void backgroundColourGoesToTheModesView();
    void cancelledColourChangesNothing();
    void backgroundColourLeavesTheTextColour();
    void pictureColourSurvivesARestart();
    void qtColourDialog();
    void qtFontDialog_data();
    void qtFontDialog();
    void qtFontDialogKeepsOtherColoursAndCancels();
    void qtSaveDialogAsksBeforeOverwriting();
    void qtPrinterDialogCancel();
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
    QDir::setCurrent(f.dir.path());
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

void TestDialogs::fontChosenAppliesNowAndToTheNextText()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f);
    FontChoice chosen;
    chosen.name = QStringLiteral("DejaVu Serif");
    chosen.size = 14;
    chosen.italic = true;
    chosen.underline = true;
    chosen.colour = Red;
    f.dialogs.queueFont(chosen);
    clickToolbarButton(w, "Font");
    QCOMPARE(f.dialogs.records().size(), 1);
    QCOMPARE(f.dialogs.records().first().font.name, QStringLiteral("Tahoma"));
    QVERIFY(f.prompts.records().isEmpty());
    RichTextBox &text = *w.viewer().Text1;
    QCOMPARE(text.textFont().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(text.textColour(), Red);

    // A picture between keeps nothing of it; the next text opens in the font.
    w.controls().File1->setListIndex(1);
    w.controls().File1->setListIndex(0);
    QCOMPARE(text.textFont().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(text.textFont().pointSizeF(), 14.0);
    QVERIFY(text.textFont().italic() && text.textFont().underline());
    QVERIFY(!text.textFont().bold());
    QCOMPARE(text.textColour(), Red);

    // Shut-down keeps the choice for the next run.
    f.closeAndReload();
    QCOMPARE(f.store->read(SettingKey::FontFace), QStringLiteral("DejaVu Serif"));
    QCOMPARE(f.store->read(SettingKey::FontItalic), QStringLiteral("True"));
    QCOMPARE(f.store->read(SettingKey::FontColour), settingtext::fromColour(Red));
}

void TestDialogs::cancelledFontChangesNothing()
{
    ShellFixture f;
    f.makeFile("a.rtf", R"({\rtf1{\fonttbl{\f0 DejaVu Serif;}{\f1 DejaVu Sans Mono;}})"
                        R"(\f0\fs40 Big \f1\fs16\b small bold\par})");
    QDir::setCurrent(f.dir.path());
    frmGlintbox &w = f.load();
    RichTextBox &text = *w.viewer().Text1;
    QVERIFY(text.isRichText());
    const QString before = text.document()->toHtml();
    const FontChoice font = w.state().font;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.dialogs.records().size(), 1);
    QCOMPARE(f.dialogs.records().first().kind, ScriptedDialogs::Kind::Font);
    // The shown document keeps its own fonts.
    QCOMPARE(text.document()->toHtml(), before);
    QCOMPARE(w.state().font.name, font.name);
    QCOMPARE(w.state().font.size, font.size);
    QCOMPARE(w.state().font.colour, font.colour);
}

void TestDialogs::backgroundColourGoesToTheModesView_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("text") << 0;
    QTest::newRow("image") << 1;
    QTest::newRow("movie refused") << 2;
    QTest::newRow("launcher") << 3;
}

void TestDialogs::backgroundColourGoesToTheModesView()
{
    QFETCH(int, kind);
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f);
    w.controls().File1->setListIndex(kind);
    const GlintboxState before = w.state();
    f.dialogs.queueColour(QColor(Qt::red));
    clickToolbarButton(w, "Colour");

    const GlintboxState &after = w.state();
    if (kind == 2) {
        QVERIFY(f.dialogs.records().isEmpty());
        QCOMPARE(
            f.prompts.texts(),
            QStringList{"Sorry, but you cannot change the background colour whilst in Movie mode"});
        QCOMPARE(f.prompts.captions(), QStringList{"Glintbox - Background Colour"});
        QCOMPARE(f.prompts.records().first().icon, PromptIcon::Information);
    } else {
        QCOMPARE(f.dialogs.records().size(), 1);
        QVERIFY(f.prompts.records().isEmpty());
    }
    QCOMPARE(after.textColour, kind == 0 ? Red : before.textColour);
    QCOMPARE(after.pictureColour, kind == 1 ? Red : before.pictureColour);
    QCOMPARE(after.launchColour, kind == 3 ? Red : before.launchColour);
    if (kind == 0)
        QCOMPARE(w.viewer().Text1->backgroundColour(), Red);
    if (kind == 1)
        QCOMPARE(viewportColour(w), QColor(Qt::red));
    if (kind == 3)
        QCOMPARE(w.viewer().picLaunchWindow->palette().color(QPalette::Window), QColor(Qt::red));
    // Another mode's view keeps its own colour.
    if (kind == 1) {
        w.controls().File1->setListIndex(0);
        QCOMPARE(w.viewer().Text1->backgroundColour(), before.textColour);
    }
}

void TestDialogs::cancelledColourChangesNothing()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f);
    w.controls().File1->setListIndex(1);
    const QColor shown = viewportColour(w);
    w.controls().menus->item(MenuCommand::mnuBackColour, 0)->trigger();
    QCOMPARE(f.dialogs.records().size(), 1);
    // The dialog opened on the viewport's own colour.
    QCOMPARE(f.dialogs.records().first().colour, QColor(0x80, 0x80, 0x80));
    QCOMPARE(w.state().pictureColour, 0x808080u);
    QCOMPARE(viewportColour(w), shown);
    QVERIFY(f.prompts.records().isEmpty());
}

void TestDialogs::backgroundColourLeavesTheTextColour()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f);
    w.controls().File1->setListIndex(1);
    f.dialogs.queueColour(QColor(Qt::blue));
    w.controls().menus->item(MenuCommand::mnuBackColour, 0)->trigger();
    QCOMPARE(w.state().pictureColour, Blue);
    // The font dialog opens on the text's own colour, and a cancel keeps it.
    w.controls().menus->item(MenuCommand::mnuFontSize)->trigger();
    QCOMPARE(f.dialogs.records().last().font.colour, 0u);
    w.controls().File1->setListIndex(0);
    QCOMPARE(w.viewer().Text1->textColour(), 0u);
    f.closeAndReload();
    QCOMPARE(f.store->read(SettingKey::FontColour), QStringLiteral("0"));
}

void TestDialogs::pictureColourSurvivesARestart()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f);
    w.controls().File1->setListIndex(1);
    f.dialogs.queueColour(QColor(Qt::red));
    w.controls().menus->item(MenuCommand::mnuBackColour, 0)->trigger();
    f.closeAndReload();

    frmGlintbox &again = f.load();
    QCOMPARE(again.state().pictureColour, Red);
    QCOMPARE(again.state().textColour, SystemWindowBackground);
    again.controls().File1->setListIndex(1);
    QCOMPARE(viewportColour(again), QColor(Qt::red));
}

void TestDialogs::qtColourDialog()
{
    QtCommonDialogs dialogs;
    std::optional<QColor> chosen;
    whileOpen<QColorDialog>([&] { chosen = dialogs.chooseColour(QColor(Qt::green)); },
                            [](QColorDialog &dialog) {
                                QCOMPARE(dialog.currentColor(), QColor(Qt::green));
                                // The HTML field is the line edit outside the spin boxes.
                                QLineEdit *html = nullptr;
                                for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
                                    if (!qobject_cast<QAbstractSpinBox *>(edit->parent()))
                                        html = edit;
                                }
                                QVERIFY(html);
                                html->selectAll();
                                QTest::keyClicks(html, "#ff0000");
                                QTest::keyClick(html, Qt::Key_Return);
                            });
    QCOMPARE(chosen, std::optional<QColor>(QColor(Qt::red)));

    whileOpen<QColorDialog>([&] { chosen = dialogs.chooseColour(QColor(Qt::green)); },
                            [](QColorDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QVERIFY(!chosen);
}

void TestDialogs::qtFontDialog_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("regular") << "DejaVu Sans" << false << false;
    QTest::newRow("bold") << "DejaVu Serif" << true << false;
    QTest::newRow("italic") << "DejaVu Sans Mono" << false << true;
}

void TestDialogs::qtFontDialog()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QtCommonDialogs dialogs;
    FontChoice initial;
    initial.name = family;
    initial.size = 12;
    initial.bold = bold;
    initial.italic = italic;
    std::optional<FontChoice> chosen;
    whileOpen<FontColourDialog>(
        [&] { chosen = dialogs.chooseFont(initial); },
        [](FontColourDialog &dialog) {
            QCOMPARE(dialog.colourBox()->currentText(), QStringLiteral("Black"));
            QCheckBox *underline = nullptr;
            for (QCheckBox *box : dialog.fontChooser()->findChildren<QCheckBox *>()) {
                if (box->text().remove(u'&') == u"Underline")
                    underline = box;
            }
            QVERIFY(underline);
            underline->setFocus();
            QTest::keyClick(underline, Qt::Key_Space);
            dialog.colourBox()->setFocus();
            QTest::keyClicks(dialog.colourBox(), "Red");
            QTest::keyClick(dialog.colourBox(), Qt::Key_Return);
        });
    // OK keeps what was not changed.
    QVERIFY(chosen);
    QCOMPARE(chosen->name, family);
    QCOMPARE(chosen->size, 12.0f);
    QCOMPARE(chosen->bold, bold);
    QCOMPARE(chosen->italic, italic);
    QVERIFY(chosen->underline);
    QVERIFY(!chosen->strikethrough);
    QCOMPARE(chosen->colour, Red);
}

void TestDialogs::qtFontDialogKeepsOtherColoursAndCancels()
{
    QtCommonDialogs dialogs;
    FontChoice initial;
    initial.colour = rgbColourValue(1, 2, 3);
    std::optional<FontChoice> chosen;
    whileOpen<FontColourDialog>(
        [&] { chosen = dialogs.chooseFont(initial); },
        [](FontColourDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
    QVERIFY(chosen);
    QCOMPARE(chosen->colour, rgbColourValue(1, 2, 3));
    whileOpen<FontColourDialog>([&] { chosen = dialogs.chooseFont(initial); },
                                [](FontColourDialog &dialog) {
                                    // Escape where the font is picked closes the whole dialog.
                                    auto *family = dialog.fontChooser()->findChild<QLineEdit *>();
                                    family->setFocus();
                                    QTest::keyClick(family, Qt::Key_Escape);
                                    QVERIFY(!dialog.isVisible());
                                });
    QVERIFY(!chosen);
}

void TestDialogs::qtSaveDialogAsksBeforeOverwriting()
{
    QTemporaryDir dir;
    QFile existing(dir.filePath("old.txt"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtCommonDialogs dialogs;
    const SaveDialogRequest request{dir.path(), saveDialogFilters()};
    std::optional<QString> chosen;

    whileOpen<QFileDialog>([&] { chosen = dialogs.chooseSaveFile(request); },
                           [](QFileDialog &dialog) {
                               QCOMPARE(dialog.selectedNameFilter(),
                                        QStringLiteral("Text Files (*.txt)"));
                               QLineEdit *name = dialog.findChild<QLineEdit *>("fileNameEdit");
                               QVERIFY(name);
                               QTest::keyClicks(name, "new.txt");
                               QTest::keyClick(name, Qt::Key_Return);
                           });
    QCOMPARE(chosen, std::optional<QString>(dir.filePath("new.txt")));

    // An existing name asks first; No keeps the dialog open, so Escape then cancels.
    bool asked = false;
    whileOpen<QFileDialog>([&] { chosen = dialogs.chooseSaveFile(request); },
                           [&](QFileDialog &dialog) {
                               QLineEdit *name = dialog.findChild<QLineEdit *>("fileNameEdit");
                               QTest::keyClicks(name, "old.txt");
                               QTimer::singleShot(0, [&] {
                                   auto *question = qobject_cast<QMessageBox *>(
                                       QApplication::activeModalWidget());
                                   QVERIFY(question);
                                   asked = true;
                                   question->button(QMessageBox::No)->click();
                               });
                               QTest::keyClick(name, Qt::Key_Return);
                               QTRY_VERIFY(asked);
                               QTest::keyClick(&dialog, Qt::Key_Escape);
                           });
    QVERIFY(asked);
    QVERIFY(!chosen);
}

void TestDialogs::qtPrinterDialogCancel()
{
    QtCommonDialogs dialogs;
    QPrinter printer;
    printer.setCopyCount(2);
    bool accepted = true;
    whileOpen<QPrintDialog>([&] { accepted = dialogs.choosePrinter(printer); },
                            [](QPrintDialog &dialog) {
                                QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintSelection));
                                QTest::keyClick(&dialog, Qt::Key_Escape);
                            });
    QVERIFY(!accepted);
    QCOMPARE(printer.copyCount(), 2);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
