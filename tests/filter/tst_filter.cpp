#include "ScriptedPrompts.h"
#include "core/RunTimeError.h"
#include "filter/FileFilter.h"
#include "filter/FilterHost.h"
#include "filter/FilterRules.h"
#include "filter/FilterState.h"
#include "filter/frmFileFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace glintbox;

namespace {

const QString TextGroup =
    "*.bat;*.sys;*.txt;*.htm;*.html;*.ini;*.inf;*.rtf;*.log;*.frm;*.bas;*.vbp;*.lst;*.nfo";
const QString ImageGroup = "*.cur;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.bmp;*.jif;*.dib";
const QString MultimediaGroup = "*.avi;*.mpg;*.mpe;*.mov;*.wav;*.mid;*.qt;*.rmi";
const QString ApplicationsGroup = "*.exe;*.com";
const QString AllKnown =
    "*.cur;*.gif;*.jpg;*.bat;*.sys;*.txt;*.wmf;*.emf;*.ico;*.bmp;*.htm;*.html;*.ini;*.inf;*.rtf;"
    "*.avi;*.mpg;*.mpe;*.mov;*.wav;*.log;*.jif;*.mid;*.qt;*.rmi;*.frm;*.bas;*.vbp;*.lst;*.dib;"
    "*.exe;*.com;*.nfo";

FilterModel modelOf(const QStringList &keys)
{
    FilterModel model;
    for (const QString &key : keys)
        model.setOn(filterEntryIndex(key), true);
    return model;
}

QStringList onKeys(const FilterModel &model)
{
    QStringList keys;
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        if (model.isOn(entry))
            keys.append(filterKey(entry));
    }
    return keys;
}

std::array<int, FilterEntryCount> storedOf(const QStringList &keys)
{
    return modelOf(keys).values();
}

// A main window stand-in: a folder of names filtered by the pattern, and a
// log of every call the filter makes.
class FakeHost : public FilterHost {
public:
    QStringList folder;
    QStringList log;
    QString pattern;
    std::optional<int> failWith;

    void setFileListPattern(const QString &newPattern) override
    {
        log.append("pattern " + newPattern);
        if (failWith)
            throw RunTimeError(*failWith);
        pattern = newPattern;
    }
    void emptyViewer() override { log.append("empty"); }
    int fileListCount() const override
    {
        int count = 0;
        for (const QString &name : folder) {
            const QStringList wildcards = pattern.split(';');
            for (const QString &wildcard : wildcards) {
                const QRegularExpression re(
                    QRegularExpression::wildcardToRegularExpression(wildcard),
                    QRegularExpression::CaseInsensitiveOption);
                if (re.match(name).hasMatch()) {
                    ++count;
                    break;
                }
            }
        }
        return count;
    }
    void setFileCountLabel(int count) override { log.append("Label2 " + QString::number(count)); }
    void showFirstFileOrClear() override { log.append("showFirstFileOrClear"); }
    Prompts &prompts() override { return m_prompts; }
    QWidget *dialogParent() override { return nullptr; }

    ScriptedPrompts m_prompts;
};

// Runs `act` on the modal filter dialog as soon as mnuFilter_Click shows it.
void whenDialogOpens(const std::function<void(frmFileFilter &)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<frmFileFilter *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
    });
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private slots:
    void pattern_data();
    void pattern();
    void checkRules_data();
    void checkRules();
    void untickingChangesNothingElse();
    void restoreAtStartup_data();
    void restoreAtStartup();
    void everyWayOutApplies_data();
    void everyWayOutApplies();
    void folderWithoutMatchesClears();
    void reopeningWithoutChangesRebuilds();
    void failingConfirmKeepsDialogOpen();
    void dialogShowsEveryBoxUncut();
};

void TestFilter::pattern_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("BMP and TXT") << QStringList{"BMP", "TXT"} << "*.ZZZ;*.txt;*.bmp";
    QTest::newRow("Text group and BMP") << QStringList{"TEXT", "BMP"} << TextGroup + ";*.bmp";
    QTest::newRow("nothing") << QStringList{} << AllKnown;
    QTest::newRow("ALL") << QStringList{"ALL"} << AllKnown;
    QTest::newRow("ANY") << QStringList{"ANY"} << "*.*";
    QTest::newRow("only RTF") << QStringList{"RTF"} << "*.ZZZ;*.rtf";
    QTest::newRow("only HTM") << QStringList{"HTM"} << "*.ZZZ;*.htm;*.html";
    QTest::newRow("only MPE") << QStringList{"MPE"} << "*.ZZZ;*.mpe";
    QTest::newRow("RTF before INF")
        << QStringList{"INF", "RTF", "INI"} << "*.ZZZ;*.ini;*.rtf;*.inf";
    QTest::newRow("all four groups")
        << QStringList{"APPL", "MULT", "IMAG", "TEXT"}
        << QStringList{TextGroup, ImageGroup, MultimediaGroup, ApplicationsGroup}.join(';');
    QTest::newRow("Image group and Applications")
        << QStringList{"IMAG", "APPL"}
        << "*.cur;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.bmp;*.jif;*.dib;*.exe;*.com";
    QTest::newRow("Image group and TXT") << QStringList{"IMAG", "TXT"} << ImageGroup + ";*.txt";
    QTest::newRow("every type, no group")
        << QStringList{"TXT", "HTM", "BMP", "WMF", "ICO", "INI", "INF", "RTF", "CUR", "GIF", "JPG",
                       "BAT", "SYS", "EMF", "LOG", "JIF", "AVI", "MPG", "MPE", "MOV", "WAV", "MID",
                       "QT",  "RMI", "FRM", "BAS", "VBP", "LST", "DIB", "EXE", "COM", "NFO"}
        << "*.ZZZ;*.txt;*.htm;*.html;*.bmp;*.wmf;*.ico;*.ini;*.rtf;*.inf;*.cur;*.gif;*.jpg;*.bat;"
           "*.sys;*.emf;*.log;*.jif;*.avi;*.mpg;*.mpe;*.mov;*.wav;*.mid;*.qt;*.rmi;*.frm;*.bas;"
           "*.vbp;*.lst;*.dib;*.exe;*.com;*.nfo";
}

void TestFilter::pattern()
{
    QFETCH(QStringList, ticked);
    QFETCH(QString, pattern);
    QCOMPARE(buildFileListPattern(modelOf(ticked)), pattern);
}

void TestFilter::checkRules_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("tick");
    QTest::addColumn<QStringList>("after");

    const QStringList mixed{"TXT", "BMP", "MULT", "APPL", "NFO"};
    QTest::newRow("ALL over a mixed set") << mixed << "ALL" << QStringList{"ALL"};
    QTest::newRow("ANY over a mixed set") << mixed << "ANY" << QStringList{"ANY"};
    QTest::newRow("ALL over ANY") << QStringList{"ANY"} << "ALL" << QStringList{"ALL"};
    QTest::newRow("type over ALL") << QStringList{"ALL"} << "TXT" << QStringList{"TXT"};
    QTest::newRow("type over ANY") << QStringList{"ANY"} << "COM" << QStringList{"COM"};
    QTest::newRow("group over ALL") << QStringList{"ALL"} << "MULT" << QStringList{"MULT"};
    QTest::newRow("Text group over TXT and BMP")
        << QStringList{"TXT", "BMP"} << "TEXT" << QStringList{"TEXT", "BMP"};
    QTest::newRow("JPG over the Image group")
        << QStringList{"IMAG", "TXT"} << "JPG" << QStringList{"TXT", "JPG"};
    QTest::newRow("JIF over the Image group") << QStringList{"IMAG"} << "JIF" << QStringList{"JIF"};
    QTest::newRow("Image group over its types only")
        << QStringList{"JPG", "DIB", "TXT", "MULT"} << "IMAG" << QStringList{"IMAG", "MULT", "TXT"};
    QTest::newRow("groups combine")
        << QStringList{"TEXT", "APPL"} << "IMAG" << QStringList{"TEXT", "IMAG", "APPL"};
}

void TestFilter::checkRules()
{
    QFETCH(QStringList, before);
    QFETCH(QString, tick);
    QFETCH(QStringList, after);

    FakeHost host;
    FilterState state;
    frmFileFilter dialog(host, state);
    for (const QString &key : std::as_const(before))
        dialog.box(key)->setChecked(true);
    QCOMPARE(onKeys(dialog.boxStates()).size(), before.size());

    dialog.box(tick)->setChecked(true);
    QCOMPARE(onKeys(dialog.boxStates()), onKeys(modelOf(after)));
}

void TestFilter::untickingChangesNothingElse()
{
    FakeHost host;
    FilterState state;
    frmFileFilter dialog(host, state);
    const QStringList ticked{"TEXT", "IMAG", "AVI", "EXE"};
    for (const QString &key : ticked) {
        dialog.box(key)->setChecked(true);
    }
    for (const QString &key : ticked) {
        dialog.box(key)->setChecked(false);
        QStringList remaining = ticked.mid(ticked.indexOf(key) + 1);
        QCOMPARE(onKeys(dialog.boxStates()), onKeys(modelOf(remaining)));
    }
}

void TestFilter::restoreAtStartup_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("model");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("first run") << QStringList{"ALL"} << QStringList{"ALL"} << AllKnown;
    QTest::newRow("ALL and TXT by hand")
        << QStringList{"ALL", "TXT"} << QStringList{"TXT"} << "*.ZZZ;*.txt";
    QTest::newRow("ANY and ALL by hand")
        << QStringList{"ALL", "ANY"} << QStringList{"ANY"} << "*.*";
    QTest::newRow("group and its own type")
        << QStringList{"IMAG", "JPG", "TXT"} << QStringList{"TXT", "JPG"} << "*.ZZZ;*.txt;*.jpg";
    QTest::newRow("every entry off") << QStringList{} << QStringList{} << AllKnown;
}

void TestFilter::restoreAtStartup()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, model);
    QFETCH(QString, pattern);

    FakeHost host;
    host.folder = {"readme.txt", "photo.jpg"};
    FileFilter filter(host);
    filter.restoreAtStartup(storedOf(stored));

    QCOMPARE(onKeys(filter.model()), model);
    for (const QString &key : std::as_const(model))
        QCOMPARE(filter.model().value(key), 1);
    QCOMPARE(host.pattern, pattern);
    QVERIFY(!filter.closingFlag());
    QVERIFY(host.m_prompts.records().isEmpty());
}

void TestFilter::everyWayOutApplies_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("OK") << "ok";
}

void TestFilter::everyWayOutApplies()
{
    QFETCH(QString, way);

    FakeHost host;
    host.folder = {"a.txt", "b.bmp", "c.bmp"};
    FileFilter filter(host);
    filter.restoreAtStartup(storedOf({"ALL"}));
    host.log.clear();

    whenDialogOpens([way](frmFileFilter &dialog) {
        dialog.box(u"BMP")->setChecked(true);
        if (way == "close")
            dialog.close();
        else if (way == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (way == "enter")
            QTest::keyClick(&dialog, Qt::Key_Return);
        else
            dialog.okButton()->click();
    });
    filter.mnuFilter_Click();

    QCOMPARE(onKeys(filter.model()), QStringList{"BMP"});
    const QStringList expected{"pattern *.ZZZ;*.bmp", "empty", "Label2 2", "showFirstFileOrClear"};
    QCOMPARE(host.log, expected);
    QVERIFY(!filter.closingFlag());
    QVERIFY(host.m_prompts.records().isEmpty());
}

void TestFilter::folderWithoutMatchesClears()
{
    FakeHost host;
    host.folder = {"notes.txt", "data.csv"};
    FileFilter filter(host);
    filter.restoreAtStartup(storedOf({"ALL"}));
    host.log.clear();

    whenDialogOpens([](frmFileFilter &dialog) {
        dialog.box(u"APPL")->setChecked(true);
        dialog.btnOK_Click();
    });
    filter.mnuFilter_Click();

    const QStringList expected{"pattern *.exe;*.com", "empty", "Label2 0", "showFirstFileOrClear"};
    QCOMPARE(host.log, expected);
}

void TestFilter::reopeningWithoutChangesRebuilds()
{
    FakeHost host;
    host.folder = {"a.txt", "b.gif", "c.wav"};
    FileFilter filter(host);
    filter.restoreAtStartup(storedOf({"IMAG", "TXT"}));
    const QString firstPattern = host.pattern;
    host.log.clear();

    QStringList ticksShown;
    whenDialogOpens([&ticksShown](frmFileFilter &dialog) {
        ticksShown = onKeys(dialog.boxStates());
        dialog.close();
    });
    filter.mnuFilter_Click();

    QCOMPARE(ticksShown, (QStringList{"IMAG", "TXT"}));
    const QStringList expected{"pattern " + firstPattern, "empty", "Label2 2",
                               "showFirstFileOrClear"};
    QCOMPARE(host.log, expected);
    QCOMPARE(onKeys(filter.model()), (QStringList{"IMAG", "TXT"}));
}

void TestFilter::failingConfirmKeepsDialogOpen()
{
    FakeHost host;
    FilterState state;
    state.model = modelOf({"ALL"});
    frmFileFilter dialog(host, state);
    dialog.show();
    dialog.box(u"TXT")->setChecked(true);

    host.failWith = PathNotFound;
    dialog.btnOK_Click();
    QCOMPARE(host.m_prompts.captions(), QStringList{"Glintbox - Error 76"});
    QCOMPARE(host.m_prompts.records().first().icon, PromptIcon::Critical);
    QVERIFY(dialog.isVisible());
    QCOMPARE(onKeys(state.model), QStringList{"ALL"});
    QVERIFY(!state.closingFlag);

    // Closing confirms once more and closes whatever the outcome.
    dialog.close();
    QCOMPARE(host.m_prompts.records().size(), 2);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!state.closingFlag);

    // A later close request that succeeds applies the ticks.
    host.failWith.reset();
    dialog.show();
    dialog.close();
    QCOMPARE(onKeys(state.model), QStringList{"TXT"});
    QCOMPARE(host.m_prompts.records().size(), 2);
}

void TestFilter::dialogShowsEveryBoxUncut()
{
    FakeHost host;
    FilterState state;
    frmFileFilter dialog(host, state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), "Glintbox - File Filtering");
    QVERIFY(dialog.okButton()->isDefault());
    QCOMPARE(dialog.okButton()->text(), "&OK");
    QCOMPARE(dialog.box(u"ANY")->text(), "ALL Files");
    QCOMPARE(dialog.box(u"MPE")->text(), "*.mpeg");
    QCOMPARE(dialog.findChild<QCheckBox *>("chkDIB"), dialog.box(u"DIB"));

    const QRect inside = dialog.rect();
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        QCheckBox *box = dialog.box(entry);
        const QRect area(box->mapTo(&dialog, QPoint(0, 0)), box->size());
        QVERIFY2(box->isVisible() && inside.contains(area), qPrintable(box->objectName()));
        QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->objectName()));
    }
    // ANY above ALL above the Text panel's heading, all above OK; OK centred.
    QVERIFY(dialog.box(u"ANY")->y() < dialog.box(u"ALL")->y());
    QVERIFY(dialog.box(u"ALL")->mapTo(&dialog, QPoint()).y() <
            dialog.box(u"TEXT")->mapTo(&dialog, QPoint()).y());
    QVERIFY(dialog.box(u"RMI")->mapTo(&dialog, QPoint()).y() < dialog.okButton()->y());
    QVERIFY(qAbs(dialog.okButton()->geometry().center().x() - inside.center().x()) <= 1);

    const QString shot = qEnvironmentVariable("GLINTBOX_FILTER_SCREENSHOT");
    if (!shot.isEmpty())
        QVERIFY(dialog.grab().save(shot));
}

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
