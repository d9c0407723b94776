#include "../shell/ShellFixture.h"
#include "../viewing/ViewingTestMain.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "core/lists/FileList.h"
#include "textops/CommonDialog.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrinter>
#include <QSignalSpy>

using namespace glintbox;

namespace {

// A printed PDF file read back: its pages' text and pictures.
struct PrintedPdf {
    QPdfDocument document;

    explicit PrintedPdf(const QString &path) { document.load(path); }
    QString text(int page = 0) { return document.getAllText(page).text(); }
    // The page drawn on white paper at the given resolution.
    QImage image(double dpi, int page = 0)
    {
        const QImage drawn =
            document.render(page, (document.pagePointSize(page) * dpi / 72).toSize());
        QImage paper(drawn.size(), QImage::Format_RGB32);
        paper.fill(Qt::white);
        QPainter(&paper).drawImage(0, 0, drawn);
        return paper;
    }
};

// The bounds of the pixels close to a colour.
QRect areaOf(const QImage &image, const QColor &colour)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) < 40 &&
                qAbs(pixel.green() - colour.green()) < 40 &&
                qAbs(pixel.blue() - colour.blue()) < 40)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// A folder with a picture, a text, a formatted text, a web page, a movie
// and a program, shown in the main window.
frmGlintbox &openFolder(ShellFixture &f)
{
    filledImage(96, 48, Qt::red).save(f.path("a.bmp"));
    f.makeFile("b.txt", "Secret words of another file");
    f.makeFile("c.rtf", R"({\rtf1{\colortbl;\red0\green0\blue255;})"
                        R"(\cf1\b\fs48 Formatted words\par})");
    f.makeFile("d.html", "<html><body><h1 style='color:#00c000'>Page words</h1></body></html>");
    f.makeFile("e.avi", "not really a movie");
    f.makeFile("f.exe", "MZ");
    return f.load();
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:

    void pictureCopiesAreJobsOfTheirOwn()
    {
        ShellFixture f;
        frmGlintbox &w = openFolder(f);
        QTemporaryDir out;
        QVERIFY(writeFile(out.filePath("picture (2).pdf"), "kept"));
        f.clickToolbarButton("Print"); // cancelled: nothing printed
        f.dialogs.queuePrinter(ScriptedDialogs::PrinterAnswer{out.filePath("picture.pdf"), 3, {}});
        f.clickToolbarButton("Print");
        QVERIFY(f.prompts.records().isEmpty());
        // A file of that name already there is not overwritten.
        QCOMPARE(
            QDir(out.path()).entryList(QDir::Files),
            QStringList({"picture (2).pdf", "picture (3).pdf", "picture (4).pdf", "picture.pdf"}));
        QCOMPARE(readFile(out.filePath("picture (2).pdf")), QByteArray("kept"));
        for (const char *name : {"picture.pdf", "picture (3).pdf", "picture (4).pdf"}) {
            PrintedPdf pdf(out.filePath(QString::fromLatin1(name)));
            QCOMPARE(pdf.document.pageCount(), 1);
            QCOMPARE(pdf.text().trimmed(), f.path("a.bmp"));
            // The picture at its own size: 96 x 48 pixels of a 96 DPI screen are
            // one inch by half an inch on paper.
            const double dpi = 150;
            const QImage page = pdf.image(dpi);
            const QRect picture = areaOf(page, Qt::red);
            QVERIFY(qAbs(picture.width() - dpi) <= 3);
            QVERIFY(qAbs(picture.height() - dpi / 2) <= 3);
        }
        // The next printer dialog opens on the copies chosen.
        QCOMPARE(w.commonDialog().printer().copyCount(), 3);
    }

    void textPrintsWithItsFormatting()
    {
        ShellFixture f;
        frmGlintbox &w = openFolder(f);
        w.controls().File1->setListIndex(2);
        RichTextBox &text = *w.viewer().Text1;
        text.setSelectionStart(3);
        text.setSelectionLength(4);
        QTemporaryDir out;
        f.dialogs.queuePrinter(ScriptedDialogs::PrinterAnswer{out.filePath("text.pdf"), 1, {}});
        QVERIFY(f.activate());
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(f.prompts.records().isEmpty());

        PrintedPdf pdf(out.filePath("text.pdf"));
        // All of the text, not the part that was selected, in its own colour.
        // The box's own page layout numbers the page.
        QVERIFY(pdf.text().startsWith(QStringLiteral("Formatted words")));
        QVERIFY(areaOf(pdf.image(72), Qt::blue).width() > 72);
        QCOMPARE(text.text(), QStringLiteral("Formatted words"));
    }

    void webPagePrintsAsTheBrowserShowsIt()
    {
        ShellFixture f;
        frmGlintbox &w = openFolder(f);
        w.controls().File1->setListIndex(1);
        QCOMPARE(w.viewer().Text1->text(), QStringLiteral("Secret words of another file"));
        w.controls().File1->setListIndex(3);
        QTRY_VERIFY(w.viewer().WebBrowser1->hasEngine());
        QSignalSpy ready(w.viewer().WebBrowser1, &WebBrowserView::pageReady);
        QVERIFY(ready.wait(60000));
        QTemporaryDir out;
        f.dialogs.queuePrinter(ScriptedDialogs::PrinterAnswer{out.filePath("page.pdf"), 2, {}});
        f.clickToolbarButton("Print");
        QVERIFY(f.prompts.records().isEmpty());

        for (const char *name : {"page.pdf", "page (2).pdf"}) {
            PrintedPdf pdf(out.filePath(QString::fromLatin1(name)));
            QVERIFY(pdf.text().contains(QStringLiteral("Page words")));
            QVERIFY(!pdf.text().contains(QStringLiteral("Secret")));
            QVERIFY(areaOf(pdf.image(72), QColor(0, 0xc0, 0)).isValid());
        }
    }

    void printerFailuresHaveTheirOwnMessages_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("message"); // its beginning
        QTest::newRow("picture to a missing folder")
            << 0 << QString() << "Error 482 'Printer Error'";
        QTest::newRow("text to no such printer") << 1 << "Glintbox no such printer"
                                                 << "Error 484 'Printer driver unavailable'";
    }

    void printerFailuresHaveTheirOwnMessages()
    {
        QFETCH(int, file);
        QFETCH(QString, printer);
        QFETCH(QString, message);
        ShellFixture f;
        frmGlintbox &w = openFolder(f);
        w.controls().File1->setListIndex(file);
        f.prompts.clear();
        f.dialogs.queuePrinter(
            ScriptedDialogs::PrinterAnswer{f.path("missing/folder/out.pdf"), 2, printer});
        f.clickToolbarButton("Print");
        // One critical message, and the second copy is not tried.
        QCOMPARE(f.prompts.records().size(), 1);
        QVERIFY2(f.prompts.texts().first().startsWith(message),
                 qPrintable(f.prompts.texts().first()));
        QCOMPARE(f.prompts.records().first().icon, PromptIcon::Critical);
    }
};

GLINTBOX_VIEWING_TEST_MAIN(TestPrint)
#include "tst_print.moc"
