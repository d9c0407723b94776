#include "ShellFixture.h"
#include "shell/ViewerKeys.h"
#include "shell/toolbar/ToolbarIcons.h"

#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>

using namespace glintbox;
using M = MenuCommand;

namespace {

// One file of each view mode, in list order.
const QStringList KindFiles = {"a.txt", "b.bmp", "c.avi", "d.exe"};
const QString ZoomRefusal =
    QStringLiteral("Glintbox - Zoom: Sorry, Glintbox must be in Image or Movie mode");
const QString EnterRefusal =
    QStringLiteral("Glintbox - Application Launcher: Sorry, Glintbox must be in Application "
                   "Launcher mode to use the 'Enter' key");

// Wires every command to a recorder of the items chosen.
using Calls = QList<std::pair<MenuCommand, int>>;
void recordEveryCommand(MainMenus &menus, Calls &calls)
{
    for (int i = 0; i < MenuCommandCount; ++i) {
        const auto command = MenuCommand(i);
        if (menus.items().isArray(command))
            menus.wire(command, [&calls, command](int index) { calls.append({command, index}); });
        else
            menus.wire(command, [&calls, command] { calls.append({command, -1}); });
    }
}

// Opens the item's menu by a click on its title in the menu bar and clicks the item.
void clickMenuItem(frmGlintbox &w, QAction *item)
{
    auto *menu = qobject_cast<QMenu *>(item->associatedObjects().value(0));
    QVERIFY(menu);
    QTest::mouseClick(w.menuBar(), Qt::LeftButton, {},
                      w.menuBar()->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void itemsRunByMouseAndShortcut_data();
    void itemsRunByMouseAndShortcut();
    void enabledStatesFollowTheShownFile_data();
    void enabledStatesFollowTheShownFile();
    void iconsFollowThePalette();
    void everyCommandIsWiredAndToolbarButtonsRunTheirItem();
    void viewerKeys_data();
    void viewerKeys();
    void shortcutsActInTheTextBox();
    void runTimeErrorLeavesTheItemUsable();

private:
    // A window over a folder holding one file of each kind; `kind` (0..3) is
    // selected. Records the viewer key actions.
    frmGlintbox &openWithKinds(ShellFixture &f, int kind);
    QList<int> m_zoomSteps;
    int m_launches = 0;
};

void TestMenus::initTestCase()
{
    // The player wants a private run-time folder.
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
}

frmGlintbox &TestMenus::openWithKinds(ShellFixture &f, int kind)
{
    f.makeOneOfEachKind();
    frmGlintbox &w = f.open();
    w.controls().File1->setPath(f.dir.path());
    m_zoomSteps.clear();
    m_launches = 0;
    w.viewerKeys().setActions(
        {[this](int key) { m_zoomSteps.append(key); }, [this] { ++m_launches; }});
    w.controls().File1->setListIndex(kind);
    f.prompts.clear();
    return w;
}

void TestMenus::itemsRunByMouseAndShortcut_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shortcut"); // pressed in the file list
    QTest::addColumn<int>("kind");         // of the file shown, which enables the item
    const auto row = [](MenuCommand command, int index, const char *keys, int kind = 0) {
        QTest::addRow("%s", qPrintable(menuItemName(command, index)))
            << int(command) << index << keys << kind;
    };
    // Shortcuts that no other test presses, and items that have none; the
    // editing keys reach the menu from outside the text box too.
    row(M::mnuExit, -1, "Ctrl+Q");
    row(M::mnuEdit, 0, "Ctrl+X");
    row(M::mnuEdit, 1, "Ctrl+C");
    row(M::mnuRefresh, -1, "Ctrl+R");
    row(M::mnuFileSize, -1, "Ctrl+M");
    row(M::mnuWebMode, -1, "Ctrl+S");
    row(M::mnuBackColour, 0, "Ctrl+B");
    row(M::mnuKeys, 0, "", 1);
    row(M::mnuKeys, 1, "", 1);
    row(M::mnuEnter, -1, "", 3);
}

void TestMenus::itemsRunByMouseAndShortcut()
{
    QFETCH(int, command);
    QFETCH(int, index);
    QFETCH(QString, shortcut);
    QFETCH(int, kind);
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, kind);
    Calls calls;
    recordEveryCommand(*w.controls().menus, calls);
    QVERIFY(f.activate());
    const Calls once{{MenuCommand(command), index}};
    clickMenuItem(w, w.controls().menus->item(MenuCommand(command), index));
    QCOMPARE(calls, once);
    if (shortcut.isEmpty())
        return;
    calls.clear();
    w.controls().File1->setFocus();
    QTest::keySequence(w.controls().File1, QKeySequence(shortcut));
    QCOMPARE(calls, once);
}

void TestMenus::enabledStatesFollowTheShownFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("enabled");
    QTest::newRow("text") << 0
                          << "mnuPrint mnuFontSize mnuEdit0 mnuEdit1 mnuEdit2 mnuSelect "
                             "mnuSearch Print Font Find";
    QTest::newRow("image") << 1 << "mnuPrint mnuKeys0 mnuKeys1 Print";
    QTest::newRow("movie") << 2 << "";
    QTest::newRow("launcher") << 3 << "mnuEnter";
}

void TestMenus::enabledStatesFollowTheShownFile()
{
    QFETCH(int, kind);
    QFETCH(QString, enabled);
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, kind);
    QCOMPARE(w.controls().File1->fileName(), KindFiles[kind]);
    // Menu items and toolbar buttons by their object names.
    for (const char *name :
         {"mnuPrint", "mnuFontSize", "mnuEdit0", "mnuEdit1", "mnuEdit2", "mnuSelect", "mnuSearch",
          "mnuEnter", "mnuKeys0", "mnuKeys1", "Print", "Font", "Find"})
        QVERIFY2(w.findChild<QAction *>(name)->isEnabled() ==
                     enabled.split(u' ').contains(QLatin1String(name)),
                 name);
    // The zoom buttons serve pictures (and movies, though this one does not play).
    for (QAbstractButton *button : w.viewer().btnZoom)
        QVERIFY(button->isEnabled() == (kind == 1) || kind == 2);
}

void TestMenus::iconsFollowThePalette()
{
    // The outline of the "Filter" funnel runs through (8, 2) at 16 pixels.
    const auto outline = [](QColor text, QColor base) {
        QPalette palette;
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Base, base);
        return qGray(toolbarIcon("filter", palette).pixmap(16, 16).toImage().pixel(8, 2));
    };
    QVERIFY(outline(Qt::black, Qt::white) < 80);
    QVERIFY(outline(QColor(0xeeeeee), QColor(0x202020)) > 170);
}

void TestMenus::everyCommandIsWiredAndToolbarButtonsRunTheirItem()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    MainMenus &menus = *w.controls().menus;
    for (int i = 0; i < MenuCommandCount; ++i)
        QVERIFY2(menus.isWired(MenuCommand(i)), qPrintable(menuItemName(MenuCommand(i))));
    Calls calls;
    recordEveryCommand(menus, calls);
    const QHash<QString, QAction *> &buttons = w.toolbar().buttons();
    QCOMPARE(buttons.size(), 13);
    for (auto button = buttons.begin(); button != buttons.end(); ++button) {
        calls.clear();
        f.clickToolbarButton(button.key().toLatin1().constData());
        QCOMPARE(calls.size(), 1);
        // The tip names the menu item the button runs.
        QCOMPARE(menus.item(calls[0].first, calls[0].second)->text().remove(u'&'),
                 button.value()->toolTip());
    }
}

void TestMenus::viewerKeys_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("refusal"); // the caption and message shown, or ""
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<int>("launches");
    QTest::newRow("+ in text") << 0 << '+' << ZoomRefusal << 0 << 0;
    QTest::newRow("= in image") << 1 << '=' << "" << 1 << 0;
    QTest::newRow("- in image") << 1 << '-' << "" << 1 << 0;
    QTest::newRow("_ in movie") << 2 << '_' << "" << 1 << 0;
    QTest::newRow("Enter in movie") << 2 << '\r' << EnterRefusal << 0 << 0;
    QTest::newRow("Enter in launcher") << 3 << '\r' << "" << 0 << 1;
    QTest::newRow("other key in text") << 0 << 'd' << "" << 0 << 0;
}

void TestMenus::viewerKeys()
{
    QFETCH(int, kind);
    QFETCH(char, key);
    QFETCH(QString, refusal);
    QFETCH(int, zoomSteps);
    QFETCH(int, launches);
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, kind);
    if (key == '\r')
        QTest::keyClick(w.controls().File1, Qt::Key_Return);
    else
        QTest::keyClick(w.controls().File1, key);
    QStringList refusals;
    for (const ScriptedPrompts::Record &r : f.prompts.records()) {
        refusals.append(r.caption + QStringLiteral(": ") + r.text);
        QCOMPARE(r.icon, PromptIcon::Information);
    }
    QCOMPARE(refusals, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(m_zoomSteps, zoomSteps ? QList<int>{int(key)} : QList<int>());
    QCOMPARE(m_launches, launches);
    // The list still receives the key: "d" selects the file of that letter.
    QCOMPARE(w.controls().File1->fileName(),
             key == 'd' ? QStringLiteral("d.exe") : KindFiles[kind]);
}

void TestMenus::shortcutsActInTheTextBox()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, 0);
    int deletes = 0;
    w.controls().menus->wire(M::mnuDeleteFile, [&] { ++deletes; });
    QVERIFY(f.activate());
    RichTextBox *text = w.viewer().Text1;
    text->setFocus();
    QWidget *edit = QApplication::focusWidget();
    QVERIFY(edit && text->isAncestorOf(edit));
    // Word wrap off twice: the check mark and the text view follow each time.
    QAction *wordWrap = w.controls().menus->item(M::mnuWordWrap);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(wordWrap->isChecked());
    QCOMPARE(text->rightMargin(), 1e9);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!wordWrap->isChecked());
    QCOMPARE(text->rightMargin(), 0.0);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(deletes, 1);
    QCOMPARE(text->text(), QStringLiteral("some text"));
}

void TestMenus::runTimeErrorLeavesTheItemUsable()
{
    QMenuBar bar;
    ScriptedPrompts prompts;
    MainMenus menus(&bar, prompts);
    // A run-time error ends the command with the shared report; the item stays usable.
    menus.wire(M::mnuPrint, [] { throw RunTimeError(DiskFull); });
    menus.item(M::mnuPrint)->trigger();
    menus.item(M::mnuPrint)->trigger();
    QCOMPARE(prompts.captions(), QStringList({"Glintbox - Error 61", "Glintbox - Error 61"}));
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
