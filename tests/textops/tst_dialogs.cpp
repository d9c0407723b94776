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

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
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

// Ticks the Underline box, then confirms.
void underlineAndConfirm(FontColourDialog &dialog)
{
    for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
        if (box->text().remove(u'&') == u"Underline") {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
        }
    }
    QTest::keyClick(&dialog, Qt::Key_Return);
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
        f.dialogs.queueFont(FontChoice{
            .name = QStringLiteral("DejaVu Serif"), .size = 14, .italic = true, .colour = Red});
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
        QVERIFY(f.activate());
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
        const QString refused =
            "Sorry, but you cannot change the background colour whilst in Movie mode";
        QCOMPARE(f.prompts.texts(), kind == 2 ? QStringList{refused} : QStringList());
        const GlintboxState chosen = w.state();
        QCOMPARE(chosen.textColour, kind == 0 ? Red : before.textColour);
        QCOMPARE(chosen.pictureColour, kind == 1 ? Red : before.pictureColour);
        QCOMPARE(chosen.launchColour, kind == 3 ? Red : before.launchColour);
        if (kind == 0)
            QCOMPARE(w.viewer().Text1->backgroundColour(), Red);
        if (kind == 3)
            QCOMPARE(w.viewer().picLaunchWindow->palette().color(QPalette::Window),
                     QColor(Qt::red));
        // The viewport paints the colour around its picture.
        const QImage viewport = w.viewer().Picture2->grab().toImage();
        QCOMPARE(viewport.pixelColor(viewport.width() / 2, viewport.height() / 2) == Qt::red,
                 kind == 1);
    }

    void qtColourDialog()
    {
        QtCommonDialogs dialogs;
        auto answer = [&](Qt::Key key) {
            std::optional<QColor> chosen;
            whileOpen<QColorDialog>([&] { chosen = dialogs.chooseColour(QColor(Qt::green)); },
                                    [key](QColorDialog &dialog) { QTest::keyClick(&dialog, key); });
            return chosen;
        };
        QCOMPARE(answer(Qt::Key_Return), std::optional<QColor>(QColor(Qt::green)));
        QVERIFY(!answer(Qt::Key_Escape));
    }

    void qtFontDialog()
    {
        QtCommonDialogs dialogs;
        std::optional<FontChoice> chosen;
        // Families whose first listed style is an oblique one.
        const FontChoice serifBold{
            .name = QStringLiteral("DejaVu Serif"), .size = 12, .bold = true};
        const FontChoice monoItalic{.name = QStringLiteral("DejaVu Sans Mono"),
                                    .size = 12,
                                    .italic = true,
                                    .colour = rgbColourValue(1, 2, 3)};
        for (FontChoice initial : {serifBold, monoItalic}) {
            whileOpen<FontColourDialog>([&] { chosen = dialogs.chooseFont(initial); },
                                        underlineAndConfirm);
            // OK keeps all that was not changed.
            QVERIFY(chosen);
            initial.underline = true;
            QCOMPARE(std::tie(chosen->name, chosen->size, chosen->bold, chosen->italic,
                              chosen->underline, chosen->strikethrough, chosen->colour),
                     std::tie(initial.name, initial.size, initial.bold, initial.italic,
                              initial.underline, initial.strikethrough, initial.colour));
        }
        whileOpen<FontColourDialog>([&] { chosen = dialogs.chooseFont(FontChoice()); },
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
                auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
                QTest::keyClicks(name, "old.txt");
                answer(QMessageBox::Yes);
                QTest::keyClick(name, Qt::Key_Return);
            });
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().contains(QStringLiteral("old.txt")));
        QCOMPARE(chosen, std::optional<QString>(dir.filePath("old.txt")));
    }
};

GLINTBOX_VIEWING_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
