#include "ScriptedPrompts.h"
#include "core/RunTimeError.h"
#include "filter/FileFilter.h"
#include "filter/FilterHost.h"
#include "filter/FilterRules.h"
#include "filter/FilterState.h"
#include "filter/frmFileFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

using namespace glintbox;

namespace {

const QString TextGroup =
    "*.bat;*.sys;*.txt;*.htm;*.html;*.ini;*.inf;*.rtf;*.log;*.frm;*.bas;*.vbp;*.lst;*.nfo";
const QString ImageGroup = "*.cur;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.bmp;*.jif;*.dib";
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
        return int(std::ranges::count_if(
            folder, [this](const QString &name) { return QDir::match(pattern.split(';'), name); }));
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
    void restoreAtStartup_data();
    void restoreAtStartup();
    void everyWayOutApplies_data();
    void everyWayOutApplies();
    void failingConfirmKeepsDialogOpen();
    void dialogShowsEveryBoxUncut();
};

void TestFilter::pattern_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("BMP and TXT") << QStringList{"BMP", "TXT"} << "*.ZZZ;*.txt;*.bmp";
    QTest::newRow("Text group and BMP") << QStringList{"TEXT", "BMP"} << TextGroup + ";*.bmp";
    QTest::newRow("ALL") << QStringList{"ALL"} << AllKnown;
    QTest::newRow("ANY") << QStringList{"ANY"} << "*.*";
    QTest::newRow("only HTM") << QStringList{"HTM"} << "*.ZZZ;*.htm;*.html";
    QTest::newRow("RTF before INF")
        << QStringList{"INF", "RTF", "INI"} << "*.ZZZ;*.ini;*.rtf;*.inf";
    QTest::newRow("all four groups")
        << QStringList{"APPL", "MULT", "IMAG", "TEXT"}
        << TextGroup + ';' + ImageGroup +
               ";*.avi;*.mpg;*.mpe;*.mov;*.wav;*.mid;*.qt;*.rmi;*.exe;*.com";
    QTest::newRow("Image group and TXT") << QStringList{"IMAG", "TXT"} << ImageGroup + ";*.txt";
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
    QTest::newRow("type over ALL") << QStringList{"ALL"} << "TXT" << QStringList{"TXT"};
    QTest::newRow("type over ANY") << QStringList{"ANY"} << "COM" << QStringList{"COM"};
    QTest::newRow("group over ALL") << QStringList{"ALL"} << "MULT" << QStringList{"MULT"};
    QTest::newRow("Text group over TXT and BMP")
        << QStringList{"TXT", "BMP"} << "TEXT" << QStringList{"TEXT", "BMP"};
    QTest::newRow("JPG over the Image group")
        << QStringList{"IMAG", "TXT"} << "JPG" << QStringList{"TXT", "JPG"};
    QTest::newRow("Image group over its types only")
        << QStringList{"JPG", "DIB", "TXT", "MULT"} << "IMAG" << QStringList{"IMAG", "MULT", "TXT"};
    QTest::newRow("groups combine")
        << QStringList{"TEXT", "APPL"} << "IMAG" << QStringList{"TEXT", "IMAG", "APPL"};
    // "-" unticks: that changes nothing else.
    const QStringList four{"TEXT", "IMAG", "AVI", "EXE"};
    QTest::newRow("untick a group") << four << "-TEXT" << QStringList{"IMAG", "AVI", "EXE"};
    QTest::newRow("untick a type") << four << "-AVI" << QStringList{"TEXT", "IMAG", "EXE"};
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

    dialog.box(tick.startsWith(u'-') ? tick.mid(1) : tick)->setChecked(!tick.startsWith(u'-'));
    QCOMPARE(onKeys(dialog.boxStates()), onKeys(modelOf(after)));
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
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("tick"); // "" ticks nothing
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("count");
    const QStringList all{"ALL"};
    QTest::newRow("close box") << all << "BMP"
                               << "close"
                               << "*.ZZZ;*.bmp" << 2;
    QTest::newRow("Escape") << all << "BMP"
                            << "escape"
                            << "*.ZZZ;*.bmp" << 2;
    QTest::newRow("Enter") << all << "BMP"
                           << "enter"
                           << "*.ZZZ;*.bmp" << 2;
    QTest::newRow("OK") << all << "BMP"
                        << "ok"
                        << "*.ZZZ;*.bmp" << 2;
    QTest::newRow("no file matches") << all << "APPL"
                                     << "ok"
                                     << "*.exe;*.com" << 0;
    // Reopened and closed without a change, the list is still rebuilt.
    QTest::newRow("no change") << QStringList{"IMAG", "TXT"} << ""
                               << "close" << ImageGroup + ";*.txt" << 4;
}

void TestFilter::everyWayOutApplies()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, tick);
    QFETCH(QString, way);
    QFETCH(QString, pattern);
    QFETCH(int, count);
    FakeHost host;
    host.folder = {"a.txt", "b.bmp", "c.bmp", "d.gif", "e.csv"};
    FileFilter filter(host);
    filter.restoreAtStartup(storedOf(stored));
    host.log.clear();

    QStringList ticksShown;
    whenDialogOpens([&](frmFileFilter &dialog) {
        ticksShown = onKeys(dialog.boxStates());
        if (!tick.isEmpty())
            dialog.box(tick)->setChecked(true);
        if (way == "close")
            dialog.close();
        else if (way == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (way == "enter")
            QTest::keyClick(&dialog, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    filter.mnuFilter_Click();

    QCOMPARE(ticksShown, stored);
    QCOMPARE(onKeys(filter.model()), tick.isEmpty() ? stored : QStringList{tick});
    QCOMPARE(host.log, QStringList({"pattern " + pattern, "empty",
                                    "Label2 " + QString::number(count), "showFirstFileOrClear"}));
    QVERIFY(!filter.closingFlag());
    QVERIFY(host.m_prompts.records().isEmpty());
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
