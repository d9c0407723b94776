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
#include <optional>

using namespace glintbox;

namespace {

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

// A main window stand-in: a folder of names filtered by the pattern, and a
// log of every call the filter makes.
class FakeHost : public FilterHost {
public:
    QStringList folder{"a.txt", "b.bmp", "c.bmp", "d.gif", "e.csv"};
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

// Fixed up at startup to model, or kept as stored when model is empty.
void restoreRow(const char *row, const QStringList &stored, const QString &pattern,
                const QStringList &model = {})
{
    QTest::newRow(row) << stored << pattern << model;
}

enum class WayOut { CloseBox, Escape, Enter, Ok };

void addWayOut(const char *row, const QStringList &stored, const QString &tick, WayOut way,
               const QString &pattern, int count)
{
    QTest::newRow(row) << stored << tick << way << pattern << count;
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private slots:
    void checkRules_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("tick"); // "-" unticks
        QTest::addColumn<QStringList>("after");
        const QStringList mixed{"TXT", "BMP", "MULT", "APPL", "NFO"};
        const QStringList four{"TEXT", "IMAG", "AVI", "EXE"};
        QTest::newRow("ALL over a mixed set") << mixed << "ALL" << QStringList{"ALL"};
        QTest::newRow("Text group over TXT and BMP")
            << QStringList{"TXT", "BMP"} << "TEXT" << QStringList{"TEXT", "BMP"};
        QTest::newRow("JPG over the Image group")
            << QStringList{"IMAG", "TXT"} << "JPG" << QStringList{"TXT", "JPG"};
        QTest::newRow("Image group over its types only")
            << QStringList{"JPG", "DIB", "TXT", "MULT"} << "IMAG"
            << QStringList{"IMAG", "MULT", "TXT"};
        QTest::newRow("untick a group") << four << "-TEXT" << QStringList{"IMAG", "AVI", "EXE"};
    }

    void checkRules()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, tick);
        QFETCH(QStringList, after);
        FakeHost host;
        FilterState state;
        frmFileFilter dialog(host, state);
        for (const QString &key : std::as_const(before))
            dialog.box(key)->setChecked(true);
        dialog.box(tick.startsWith(u'-') ? tick.mid(1) : tick)->setChecked(!tick.startsWith(u'-'));
        QCOMPARE(onKeys(dialog.boxStates()), onKeys(modelOf(after)));
    }

    void restoreAtStartup_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("model"); // empty: as stored
        const QString textGroup =
            "*.bat;*.sys;*.txt;*.htm;*.html;*.ini;*.inf;*.rtf;*.log;*.frm;*.bas;*.vbp;*.lst;*.nfo";
        restoreRow("Text group and BMP", {"TEXT", "BMP"}, textGroup + ";*.bmp");
        restoreRow("every entry off", {}, AllKnown);
        restoreRow("ALL and TXT by hand", {"ALL", "TXT"}, "*.ZZZ;*.txt", {"TXT"});
        restoreRow("ANY and ALL by hand", {"ALL", "ANY"}, "*.*", {"ANY"});
        restoreRow("group and its own type", {"IMAG", "JPG", "TXT"}, "*.ZZZ;*.txt;*.jpg",
                   {"TXT", "JPG"});
    }

    void restoreAtStartup()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, model);
        FakeHost host;
        FileFilter filter(host);
        filter.restoreAtStartup(modelOf(stored).values());
        QCOMPARE(onKeys(filter.model()), onKeys(modelOf(model.isEmpty() ? stored : model)));
        QTEST(host.pattern, "pattern");
        QVERIFY(host.m_prompts.records().isEmpty());
    }

    void everyWayOutApplies_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("tick"); // "" ticks nothing
        QTest::addColumn<WayOut>("way");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("count");
        const QStringList all{"ALL"};
        addWayOut("close box", all, "BMP", WayOut::CloseBox, "*.ZZZ;*.bmp", 2);
        addWayOut("Escape", all, "BMP", WayOut::Escape, "*.ZZZ;*.bmp", 2);
        addWayOut("Enter", all, "BMP", WayOut::Enter, "*.ZZZ;*.bmp", 2);
        addWayOut("OK", all, "BMP", WayOut::Ok, "*.ZZZ;*.bmp", 2);
        // Reopened and closed without a change, the list is still rebuilt.
        addWayOut("no change", {"IMAG", "TXT"}, "", WayOut::CloseBox, ImageGroup + ";*.txt", 4);
    }

    void everyWayOutApplies()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, tick);
        QFETCH(WayOut, way);
        QFETCH(QString, pattern);
        QFETCH(int, count);
        FakeHost host;
        FileFilter filter(host);
        filter.restoreAtStartup(modelOf(stored).values());
        host.log.clear();
        QStringList ticksShown;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmFileFilter *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            ticksShown = onKeys(dialog->boxStates());
            if (!tick.isEmpty())
                QTest::mouseClick(dialog->box(tick), Qt::LeftButton);
            if (way == WayOut::CloseBox)
                dialog->close();
            else if (way == WayOut::Ok)
                QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
            else
                QTest::keyClick(dialog, way == WayOut::Escape ? Qt::Key_Escape : Qt::Key_Return);
        });
        filter.mnuFilter_Click();
        QCOMPARE(ticksShown, stored);
        QCOMPARE(onKeys(filter.model()), tick.isEmpty() ? stored : QStringList{tick});
        QCOMPARE(host.log,
                 QStringList({"pattern " + pattern, "empty", "Label2 " + QString::number(count),
                              "showFirstFileOrClear"}));
        QVERIFY(!filter.closingFlag());
        QVERIFY(host.m_prompts.records().isEmpty());
    }

    void failingConfirmKeepsDialogOpen()
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
        QVERIFY(dialog.isVisible());
        QCOMPARE(onKeys(state.model), QStringList{"ALL"});
        // Closing confirms once more and closes whatever the outcome.
        dialog.close();
        QCOMPARE(host.m_prompts.records().size(), 2);
        QVERIFY(!dialog.isVisible() && !state.closingFlag);
    }
};

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
