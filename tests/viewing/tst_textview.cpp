#include "Corpus.h"
#include "core/Colours.h"
#include "core/FileSystem.h"
#include "core/TextDecoding.h"
#include "formats/text/TextRead.h"
#include "viewing/text/ChunkedTextFeeder.h"
#include "viewing/text/DisplayLines.h"
#include "viewing/text/RichTextBox.h"

#include <QAbstractScrollArea>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace glintbox;

namespace {

// Lines of 80 characters, long enough to be loaded in pieces.
QString longText(int lines = 5000)
{
    QString text;
    text.reserve(lines * 81);
    for (int i = 0; i < lines; ++i)
        text += QString::number(i).leftJustified(79, u'.') + u'\n';
    return text;
}

QByteArray withMarkerBeforeEnd(int size, int distanceFromEnd)
{
    QByteArray bytes(size, 'a');
    bytes[size - distanceFromEnd] = EndOfFileMarker;
    return bytes;
}

std::unique_ptr<QTextDocument> boldDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(QStringLiteral("<p><b>Bold</b> and <i>italic</i> text</p>"));
    return document;
}

} // namespace

class TestTextView : public QObject {
    Q_OBJECT

private slots:
    void shortening();
    void pieceEnd();

    void richTextThenPlainText();
    void loadingInPiecesEndsWholeOrEmpty();
    void focusAndWindowShortcutsSurviveTheEdit();
    void keyCodes();
    void plainLineNumbersMatchLayout();
    void systemBackgroundFollowsThePalette();
    void longLinesComeBackWhole_data();
    void longLinesComeBackWhole();
    void editingAcrossDisplayBreaks();
};

void TestTextView::shortening()
{
    const auto read = [](const QByteArray &bytes, qint64 fileSize) {
        const TextReadResult result = shortenForRead(bytes, fileSize);
        return std::pair(result.text, result.shortenCount);
    };
    using Read = std::pair<QString, int>;
    QCOMPARE(read("a\r\nb", 4), Read("a\r\nb", 0));
    QCOMPARE(read({}, 0), Read("", 0));
    QCOMPARE(read(withMarkerBeforeEnd(100, 5), 100), Read(QString(95, u'a'), 5));
    QCOMPARE(read(withMarkerBeforeEnd(400, 199), 400), Read(QString(201, u'a'), 199));
    QCOMPARE(read(withMarkerBeforeEnd(400, 200), 400), Read("", 200));
    QCOMPARE(read(withMarkerBeforeEnd(1000, 300), 1000), Read("", 200));
    QCOMPARE(read("\032abc", 4), Read("", 4));
    QCOMPARE(read(QByteArray(90, 'a'), 100), Read(QString(90, u'a'), 10));  // file shrank
    QCOMPARE(read(QByteArray(120, 'a'), 100), Read(QString(100, u'a'), 0)); // file grew
    const QString utf8 = QStringLiteral("h\u00e9llo w\u00f6rld \u20ac \U0001F600");
    QCOMPARE(read(utf8.toUtf8(), utf8.toUtf8().size()), Read(utf8, 0));
    QCOMPARE(read("caf\xe9 \x80 \x93q\x94 \x9f", 12),
             Read(QStringLiteral("caf\u00e9 \u20ac \u201cq\u201d \u0178"), 0));
    QCOMPARE(read("\357\273\277abc", 6), Read("abc", 0)); // byte-order mark dropped
}

void TestTextView::pieceEnd()
{
    QCOMPARE(ChunkedTextFeeder::pieceEnd("ab\ncd\nefgh", 0, 8), 6); // after the last line break
    QCOMPARE(ChunkedTextFeeder::pieceEnd("ab\ncd", 0, 10), 5);
    QCOMPARE(ChunkedTextFeeder::pieceEnd("abcdefgh", 2, 4), 6);
    QCOMPARE(ChunkedTextFeeder::pieceEnd("abc\r\nd", 0, 4), 3); // not between CR and LF
    QCOMPARE(ChunkedTextFeeder::pieceEnd(QStringLiteral("ab\U0001F600cd"), 0, 3), 2);
}

void TestTextView::richTextThenPlainText()
{
    RichTextBox box;
    box.resize(300, 200);
    box.show();
    auto document = boldDocument();
    QTextCursor end(document.get());
    end.movePosition(QTextCursor::End);
    end.insertText(u'\n' + QStringLiteral("word ").repeated(200));
    box.setDocument(std::move(document));
    QVERIFY(box.isRichText());
    QVERIFY(box.text().startsWith(QStringLiteral("Bold and italic text\nword ")));
    QCOMPARE(box.find(QStringLiteral("ITALIC"), 0), 9);
    // Line numbers count the wrapped lines, or none when wrapping is off.
    const int last = int(box.text().size()) - 1;
    QVERIFY(box.lineFromChar(last) > 5);
    box.setRightMargin(RichTextBox::NoWrapMargin);
    QCOMPARE(box.lineFromChar(last), 1);
    // The font reaches every run of a formatted text.
    box.setTextFont(QFont(QStringLiteral("DejaVu Sans Mono"), 20));
    QTextCursor cursor(const_cast<QTextDocument *>(box.document()));
    for (int position : {1, 7, 12, last}) {
        cursor.setPosition(position);
        QCOMPARE(cursor.charFormat().font().pointSize(), 20);
    }

    // Plain text after it keeps none of its formats.
    box.setText(QStringLiteral("Bold and italic text"));
    QVERIFY(!box.isRichText());
    QVERIFY(!box.document()->toHtml().contains(QStringLiteral("font-weight:700")));
}

void TestTextView::loadingInPiecesEndsWholeOrEmpty()
{
    RichTextBox box;
    box.show();
    QSignalSpy edited(&box, &RichTextBox::editedByUser);
    QSignalSpy finished(&box, &RichTextBox::loadingFinished);
    const QString text = longText();
    box.setText(text);
    QVERIFY(box.isLoading());
    QVERIFY(finished.wait());
    // Asking for the text during a load finishes it first.
    box.setText(text);
    QVERIFY(box.isLoading());
    QCOMPARE(box.text(), text);
    QCOMPARE(finished.count(), 2);
    // Loading is no edit; typing during a load lands before the whole text.
    box.setText(text);
    QCOMPARE(edited.count(), 0);
    QTest::keyClick(box.focusProxy(), Qt::Key_X);
    QVERIFY(!box.isLoading());
    QCOMPARE(box.text(), u'x' + text);
    QCOMPARE(edited.count(), 1);

    // A new text or a cancel ends a load for good.
    box.setText(text);
    box.setText(QStringLiteral("other file"));
    QCoreApplication::processEvents();
    QCOMPARE(box.text(), QStringLiteral("other file"));
    box.setText(text);
    QCoreApplication::processEvents();
    const int finishedBefore = finished.count();
    box.cancelLoading();
    QCoreApplication::processEvents();
    QVERIFY(box.text().isEmpty());
    QCOMPARE(finished.count(), finishedBefore);
    // A text awaited from a reader that came out short has no feed, yet ends the wait.
    box.awaitText([] {});
    box.setText(QStringLiteral("short"));
    QCOMPARE(finished.count(), finishedBefore + 1);
}

void TestTextView::focusAndWindowShortcutsSurviveTheEdit()
{
    QWidget window;
    auto *box = new RichTextBox(&window);
    QAction toggle(&window);
    toggle.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    window.addAction(&toggle);
    QSignalSpy triggered(&toggle, &QAction::triggered);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setText(QStringLiteral("abc"));
    box->setFocus();
    QSignalSpy got(box, &RichTextBox::gotFocus);
    QSignalSpy lost(box, &RichTextBox::lostFocus);
    // Switching between the plain and the formatted edit keeps the focus.
    box->setDocument(boldDocument());
    QVERIFY(box->focusProxy()->hasFocus());
    box->setText(QStringLiteral("abc"));
    QVERIFY(box->focusProxy()->hasFocus());
    QCOMPARE(got.count() + lost.count(), 0);

    QTest::keyClick(box->focusProxy(), Qt::Key_X);
    QCOMPARE(box->text(), QStringLiteral("xabc"));
    // Without the pass-through the edit takes Ctrl+Z as undo.
    QTest::keyClick(box->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(triggered.count(), 0);
    QCOMPARE(box->text(), QStringLiteral("abc"));

    box->setWindowShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QTest::keyClick(box->focusProxy(), Qt::Key_X);
    QTest::keyClick(box->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(box->text(), QStringLiteral("xabc"));
}

void TestTextView::keyCodes()
{
    RichTextBox box;
    box.setText(QStringLiteral("text"));
    QSignalSpy pressed(&box, &RichTextBox::keyPressed);
    const auto code = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        pressed.clear();
        QTest::keyClick(box.focusProxy(), key, modifiers);
        return pressed.isEmpty() ? 0 : pressed.first().first().toInt();
    };
    QCOMPARE(code(Qt::Key_A), int('a'));
    QCOMPARE(code(Qt::Key_Backspace), 8);
    QCOMPARE(code(Qt::Key_V, Qt::ControlModifier), 22);
    QCOMPARE(code(Qt::Key_Delete), 0);
}

void TestTextView::plainLineNumbersMatchLayout()
{
    // Line numbers of the plain view are counted without laying out every line
    // through the view; they must agree with the view's own layout.
    RichTextBox box;
    box.resize(320, 200);
    box.show();
    // Just wider than the view: the case a too-hopeful quick measure misses.
    const int viewWidth =
        qobject_cast<QAbstractScrollArea *>(box.focusProxy())->viewport()->width();
    QString justTooWide;
    while (QFontMetricsF(box.textFont()).horizontalAdvance(justTooWide) < viewWidth * 1.05)
        justTooWide += QStringLiteral("ab ");
    const QStringList lines = {
        QString(),
        QStringLiteral("words that wrap ").repeated(12),
        QStringLiteral("\tcolumns\tafter\ttabs\t").repeated(6),
        QStringLiteral("\u00e9te\u0301 caf\u00e9 ").repeated(20),
        QStringLiteral("\u4e2d\u6587\u6587\u672c").repeated(40),
        QStringLiteral("\u0627\u0644\u0639\u0631\u0628\u064a\u0629 ").repeated(25),
        justTooWide,
    };
    box.setText(lines.join(u'\n'));
    const QTextDocument *document = box.document();
    int expected = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QCOMPARE(box.lineFromChar(block.position()), expected);
        document->documentLayout()->blockBoundingRect(block);
        expected += block.layout()->lineCount();
    }
}

void TestTextView::systemBackgroundFollowsThePalette()
{
    // Set before the desktop's palette changes, it follows the change.
    const QPalette original = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
    RichTextBox box;
    box.setBackgroundColour(SystemWindowBackground);
    QPalette changed = original;
    changed.setColor(QPalette::Base, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    QTRY_COMPARE(box.focusProxy()->palette().color(QPalette::Base), QColor(10, 20, 30));
}

void TestTextView::longLinesComeBackWhole_data()
{
    QTest::addColumn<QString>("text");
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::newRow("every character kept")
        << QStringLiteral("no\u00a0break\ttab\nline\u2028sep \u20ac\U0001F600");
    QTest::newRow("no place to break") << QString(5000, u'x');
    QTest::newRow("words") << QStringLiteral("word ").repeated(3000);
    QTest::newRow("minified script")
        << QStringLiteral("{\"key\":[1,2,3],\"on\":true},").repeated(3000);
    QTest::newRow("fed in pieces") << QStringLiteral("abc;").repeated(100000);
    QTest::newRow("among short lines")
        << QStringLiteral("short\n") + QString(5000, u'z') + QStringLiteral("\nend\n");
    QTest::newRow("exactly at the limit, then one over")
        << QString(MaxDisplayLineLength, u'a') + u'\n' + QString(MaxDisplayLineLength + 1, u'b');
    QTest::newRow("CR LF about the limit") << QString(MaxDisplayLineLength - 1, u'a') +
                                                  QStringLiteral("\r\n") + QString(3000, u'b') +
                                                  QStringLiteral("\r\n");
    QTest::newRow("surrogate pairs") << emoji.repeated(1500);
    QTest::newRow("odd start, surrogate pairs") << u'x' + emoji.repeated(1500);
    QTest::newRow("blanks only") << QString(3000, u' ');
    // Real files shown as text (web pages and rich text with their modes off).
    FileSystem &fs = FileSystem::local();
    for (const QString &path : corpusFiles(QStringLiteral("html")) + corpusFiles("rtf"))
        QTest::newRow(qPrintable(QFileInfo(path).fileName()))
            << readFileAsText(fs, path, fs.status(path).size).text;
}

void TestTextView::longLinesComeBackWhole()
{
    // However a long line is broken for the screen, the text is the file's.
    QFETCH(QString, text);
    RichTextBox box;
    box.resize(400, 300);
    box.show();
    box.setText(text);
    QString expected = text;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QCOMPARE(box.text(), expected);
    // No block is long enough to stall its layout, and none splits a character.
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.text().size() <= MaxDisplayLineLength);
        QVERIFY(block.text().isEmpty() || !block.text().back().isHighSurrogate());
    }
}

void TestTextView::editingAcrossDisplayBreaks()
{
    RichTextBox box;
    box.resize(400, 300);
    box.setRightMargin(RichTextBox::NoWrapMargin);
    box.show();
    QWidget *edit = box.focusProxy();
    const QString line = QString(1000, u'x') + QStringLiteral("needle") + QString(2000, u'y');
    box.setText(line);

    // Positions and searches count the text's characters, not the screen's breaks.
    QCOMPARE(box.find(QStringLiteral("NEEDLE"), 0), 1000);
    QCOMPARE(box.selectionLength(), 6);
    QCOMPARE(box.lineFromChar(2500), 2);

    // A copy across a display break carries the text as it is.
    box.setSelectionStart(1000);
    box.setSelectionLength(1500);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), line.mid(1000, 1500));
    box.setSelectionStart(2500);

    // Enter typed into the long line is a line break of the text.
    box.setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QString expected = line;
    expected.insert(2500, u'\n');
    QCOMPARE(box.text(), expected);

    // Backspace at the start of a display line deletes the character before
    // it, as in the unbroken line (Home goes to the start of the second one).
    box.setSelectionStart(1200);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Backspace);
    expected.remove(MaxDisplayLineLength - 1, 1);
    QCOMPARE(box.text(), expected);
}

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
