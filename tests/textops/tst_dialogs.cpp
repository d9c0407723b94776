#include "../shell/ShellFixture.h"
#include "../viewing/ViewingTestMain.h"
#include "core/Colours.h"
#include "core/lists/FileList.h"
#include "shell/MainMenus.h"
#include "textops/CommonDialog.h"
#include "textops/FontColourDialog.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/text/RichTextBox.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

using namespace glintbox;

namespace {

constexpr quint32 Red = rgbColourValue(255, 0, 0);

// Runs `act` on the modal dialog that `open` opens. The dialog is closed
// afterwards whatever `act` did, so a failed check never leaves it waiting.
template<typename Dialog>
void whileOpen(const std::function<void()> &open, const std::function<void(Dialog &)> &act)
{
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        QPointer<Dialog> dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        act(*dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    open();
}

// The colour the viewport paints around its picture.
QColor viewportColour(frmGlintbox &w)
{
    const QImage image = w.viewer().Picture2->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void fontAppliesNowAndToTheNextText()
    {
        ShellFixture f;
        f.makeOneOfEachKind();
        frmGlintbox &w = f.load();
        FontChoice chosen;
        chosen.name = QStringLiteral("DejaVu Serif");
        chosen.size = 14;
        chosen.italic = true;
        chosen.colour = Red;
        f.dialogs.queueFont(chosen);
        f.clickToolbarButton("Font");
        QCOMPARE(f.dialogs.records().first().font.name, QStringLiteral("Tahoma"));
        RichTextBox &text = *w.viewer().Text1;
        QCOMPARE(text.textFont().family(), QStringLiteral("DejaVu Serif"));
        // A picture in between; the next text opens in the font.
        w.controls().File1->setListIndex(1);
        w.controls().File1->setListIndex(0);
        QCOMPARE(text.textFont().pointSizeF(), 14.0);
        QVERIFY(text.textFont().italic() && !text.textFont().bold());
        QCOMPARE(text.textColour(), Red);
    }

    void cancelledFontKeepsAFormattedText()
    {
        ShellFixture f;
        f.makeFile("a.rtf", R"({\rtf1{\fonttbl{\f0 DejaVu Serif;}{\f1 DejaVu Sans Mono;}})"
                            R"(\f0\fs40 Big \f1\fs16\b small bold\par})");
        frmGlintbox &w = f.load();
        const QString before = w.viewer().Text1->document()->toHtml();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs.records().size(), 1);
        QCOMPARE(w.viewer().Text1->document()->toHtml(), before);
    }

    void backgroundColourGoesToTheModesView_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("text") << 0;
        QTest::newRow("image") << 1;
        QTest::newRow("movie refused") << 2;
        QTest::newRow("launcher") << 3;
    }

    void backgroundColourGoesToTheModesView()
    {
        QFETCH(int, kind);
        ShellFixture f;
        f.makeOneOfEachKind();
        frmGlintbox &w = f.load();
        w.controls().File1->setListIndex(kind);
        const GlintboxState before = w.state();
        f.dialogs.queueColour(QColor(Qt::red));
        f.clickToolbarButton("Colour");
        QCOMPARE(f.dialogs.records().size(), kind == 2 ? 0 : 1);
        if (kind == 2)
            QCOMPARE(
                f.prompts.texts(),
                QStringList{
                    "Sorry, but you cannot change the background colour whilst in Movie mode"});
        const GlintboxState chosen = w.state();
        QCOMPARE(chosen.textColour, kind == 0 ? Red : before.textColour);
        QCOMPARE(chosen.pictureColour, kind == 1 ? Red : before.pictureColour);
        QCOMPARE(chosen.launchColour, kind == 3 ? Red : before.launchColour);
        if (kind == 0)
            QCOMPARE(w.viewer().Text1->backgroundColour(), Red);
        if (kind == 3)
            QCOMPARE(w.viewer().picLaunchWindow->palette().color(QPalette::Window),
                     QColor(Qt::red));
        if (kind == 1)
            QCOMPARE(viewportColour(w), QColor(Qt::red));
    }

    void backgroundColourLeavesTheTextColour()
    {
        ShellFixture f;
        f.makeOneOfEachKind();
        frmGlintbox &w = f.load();
        w.controls().File1->setListIndex(1);
        f.dialogs.queueColour(QColor(Qt::white));
        w.controls().menus->choose(MenuCommand::mnuBackColour);
        QCOMPARE(f.dialogs.records().first().colour, QColor(0x80, 0x80, 0x80));
        // The font dialog opens on the text's own colour, not the last colour picked.
        w.controls().menus->choose(MenuCommand::mnuFontSize);
        QCOMPARE(f.dialogs.records().last().font.colour, 0u);
        w.controls().File1->setListIndex(0);
        // No colour chosen: the desktop's text colour.
        QCOMPARE(w.viewer().Text1->textColour(), SystemWindowText);
    }

    void qtColourDialog()
    {
        QtCommonDialogs dialogs;
        std::optional<QColor> chosen;
        whileOpen<QColorDialog>([&] { chosen = dialogs.chooseColour(QColor(Qt::green)); },
                                [](QColorDialog &dialog) {
                                    QCOMPARE(dialog.currentColor(), QColor(Qt::green));
                                    // The HTML field: the line edit outside the spin boxes.
                                    for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
                                        if (qobject_cast<QAbstractSpinBox *>(edit->parent()))
                                            continue;
                                        edit->selectAll();
                                        QTest::keyClicks(edit, "#ff0000");
                                        QTest::keyClick(edit, Qt::Key_Return);
                                    }
                                });
        QCOMPARE(chosen, std::optional<QColor>(QColor(Qt::red)));
        whileOpen<QColorDialog>(
            [&] { chosen = dialogs.chooseColour(QColor(Qt::green)); },
            [](QColorDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QVERIFY(!chosen);
    }

    void qtFontDialog_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<quint32>("colour");
        // Families whose first listed style is an oblique one.
        QTest::newRow("regular") << "DejaVu Sans" << false << false << 0u;
        QTest::newRow("bold, another colour")
            << "DejaVu Serif" << true << false << rgbColourValue(1, 2, 3);
        QTest::newRow("italic") << "DejaVu Sans Mono" << false << true << 0u;
    }

    void qtFontDialog()
    {
        FontChoice initial;
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(quint32, colour);
        initial.name = family;
        initial.size = 12;
        initial.bold = bold;
        initial.italic = italic;
        initial.colour = colour;
        QtCommonDialogs dialogs;
        std::optional<FontChoice> chosen;
        whileOpen<FontColourDialog>([&] { chosen = dialogs.chooseFont(initial); },
                                    [](FontColourDialog &dialog) {
                                        for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
                                            if (box->text().remove(u'&') == u"Underline") {
                                                box->setFocus();
                                                QTest::keyClick(box, Qt::Key_Space);
                                            }
                                        }
                                        QTest::keyClick(&dialog, Qt::Key_Return);
                                    });
        // OK keeps all that was not changed.
        QVERIFY(chosen);
        initial.underline = true;
        QCOMPARE(std::tie(chosen->name, chosen->size, chosen->bold, chosen->italic,
                          chosen->underline, chosen->strikethrough, chosen->colour),
                 std::tie(initial.name, initial.size, initial.bold, initial.italic,
                          initial.underline, initial.strikethrough, initial.colour));
        whileOpen<FontColourDialog>([&] { chosen = dialogs.chooseFont(initial); },
                                    [](FontColourDialog &dialog) {
                                        dialog.colourBox()->setFocus();
                                        QTest::keyClicks(dialog.colourBox(), "Red");
                                        // Escape where the font is picked cancels it all.
                                        auto *name = dialog.fontChooser()->findChild<QLineEdit *>();
                                        name->setFocus();
                                        QTest::keyClick(name, Qt::Key_Escape);
                                        QVERIFY(!dialog.isVisible());
                                    });
        QVERIFY(!chosen);
    }

    void qtSaveDialogAsksBeforeOverwriting()
    {
        QTemporaryDir dir;
        QFile(dir.filePath("old.txt")).open(QIODevice::WriteOnly);
        QtCommonDialogs dialogs;
        std::optional<QString> chosen;
        QStringList asked;
        auto answer = [&](QMessageBox::StandardButton button) {
            QTimer::singleShot(0, [&asked, button] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                asked.append(box ? box->text() : QString());
                if (box)
                    box->button(button)->click();
            });
        };
        whileOpen<QFileDialog>(
            [&] {
                chosen = dialogs.chooseSaveFile({dir.path(), saveDialogFilters()});
            },
            [&](QFileDialog &dialog) {
                QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Text Files (*.txt)"));
                auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
                QTest::keyClicks(name, "old.txt");
                answer(QMessageBox::No); // the dialog stays open
                QTest::keyClick(name, Qt::Key_Return);
                QVERIFY(dialog.isVisible());
                answer(QMessageBox::Yes);
                QTest::keyClick(name, Qt::Key_Return);
            });
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked.first().contains(QStringLiteral("old.txt")));
        QCOMPARE(chosen, std::optional<QString>(dir.filePath("old.txt")));
    }

    void qtPrinterDialogCancel()
    {
        QtCommonDialogs dialogs;
        QPrinter printer;
        bool accepted = true;
        whileOpen<QPrintDialog>(
            [&] { accepted = dialogs.choosePrinter(printer); },
            [](QPrintDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QVERIFY(!accepted);
    }
};

GLINTBOX_VIEWING_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
