#include "../shell/ShellFixture.h"
#include "core/lists/FileList.h"
#include "textops/search/TextSearch.h"
#include "viewing/display/ViewerControls.h"
#include "viewing/text/RichTextBox.h"

#include <QTest>

using namespace glintbox;

namespace {

QString found(const QString &word, int line)
{
    return QStringLiteral("The word '%1' was found on line %2\n\nWould you like to search for "
                          "another instance?")
        .arg(word)
        .arg(line);
}

QString noMore(const QString &word)
{
    return QStringLiteral("No further instances of '%1' could be found").arg(word);
}

frmGlintbox &openOn(ShellFixture &f, const QString &name, const QByteArray &content)
{
    f.makeFile(name, content);
    frmGlintbox &w = f.loadActive();
    f.prompts.clear();
    return w;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void instanceAfterInstance_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("selected");
        // Each find is answered Yes until the last message.
        QTest::newRow("ignores case") << QByteArray("Hello world") << "WORLD"
                                      << QStringList{found("WORLD", 0), noMore("WORLD")} << 6;
        QTest::newRow("inside words, no wrap-round")
            << QByteArray("ababab") << "ab"
            << QStringList{found("ab", 0), found("ab", 0), found("ab", 0), noMore("ab")} << 4;
        QTest::newRow("line numbers from 0")
            << QByteArray("one\r\ntwo\rthree two") << "two"
            << QStringList{found("two", 1), found("two", 2), noMore("two")} << 14;
        QTest::newRow("nowhere")
            << QByteArray("Hello world") << "xyz"
            << QStringList{"The word 'xyz' could not be found in this document"} << 0;
    }

    void instanceAfterInstance()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, word);
        ShellFixture f;
        frmGlintbox &w = openOn(f, "a.txt", text);
        f.prompts.queueInput(word);
        f.clickToolbarButton("Find");
        QTEST(f.prompts.texts().mid(1), "messages");
        QTEST(w.viewer().Text1->selectionStart(), "selected");
        // Nothing typed the next time: the box answers with the word it offers.
        f.prompts.clear();
        QTest::keyClick(w.controls().File1, Qt::Key_F, Qt::ControlModifier);
        QTEST(f.prompts.texts().mid(1), "messages");
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("empty text")
            << QByteArray()
            << QStringList{"Sorry, Glintbox could not find anything to search for!"};
        QTest::newRow("cancelled") << QByteArray("text")
                                   << QStringList{"Please enter the word or part of word you wish "
                                                  "to find (the search is case insensitive)?"};
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        ShellFixture f;
        frmGlintbox &w = openOn(f, "a.txt", content);
        f.prompts.queueInput(std::nullopt);
        f.clickToolbarButton("Find");
        QTEST(f.prompts.texts(), "messages");
        QCOMPARE(w.textSearch().searchWord(), QString());
    }

    // A search started while a big text is still read searches all of it.
    void searchWhileABigTextIsRead()
    {
        ShellFixture f;
        QSemaphore gate;
        f.holdNextReadOf("a.txt", gate);
        frmGlintbox &w = openOn(f, "a.txt", ShellFixture::bigText() + "needle\n");
        QVERIFY(w.viewer().Text1->isLoading());
        f.prompts.queueInput(QStringLiteral("needle"));
        gate.release();
        f.clickToolbarButton("Find");
        QCOMPARE(f.prompts.texts().mid(1), (QStringList{found("needle", 60000), noMore("needle")}));
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
