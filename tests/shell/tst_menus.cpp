#include "ShellFixture.h"
#include "core/lists/FileList.h"
#include "shell/MainMenus.h"
#include "shell/ViewerKeys.h"
#include "shell/toolbar/MainToolbar.h"
#include "shell/toolbar/ToolbarIcons.h"
#include "viewing/text/RichTextBox.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <stdexcept>

using namespace glintbox;

namespace {

// One file of each view mode, in list order.
const QStringList KindFiles = {"a.txt", "b.bmp", "c.avi", "d.exe"};

QStringList modeCommands()
{
    return {"mnuPrint", "mnuFontSize", "mnuEdit0", "mnuEdit1", "mnuEdit2", "mnuSelect", "mnuSearch",
            "mnuEnter", "mnuKeys0",    "mnuKeys1", "Print",    "Font",     "Find"};
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void menuTree_data();
    void menuTree();
    void enabledStatesFollowTheShownFile_data();
    void enabledStatesFollowTheShownFile();
    void toolbarButtonsInOrder();
    void iconsFollowThePalette();
    void toolbarDispatch_data();
    void toolbarDispatch();
    void layoutButtonsWriteTheSettingFirst();
    void viewerKeys_data();
    void viewerKeys();
    void zoomMenuItemsAndLaunchItem();
    void fileListStillReceivesTheKey();
    void shortcutsActInTheTextBox();
    void itemsRunTheirCommands();
    void everyCommandIsWiredOrNotYetBuilt();
    void wiringMistakesAreProgrammingErrors();

private:
    // A loaded window over a folder holding one file of each kind; `kind`
    // (0..3) is selected. Records the viewer key actions.
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

void TestMenus::menuTree_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shortcuts");
    // "-" stands for a separator.
    QTest::newRow("File")
        << "&File" << QStringList{"Create &New File", "-", "&Delete File", "-", "Font &Options",
                                  "&Print File",      "-", "E&xit"}
        << QStringList{"Ctrl+N", "", "Del", "", "Ctrl+O", "Ctrl+P", "", "Ctrl+Q"};
    QTest::newRow("Edit") << "&Edit" << QStringList{"Cu&t",        "&Copy", "&Paste",      "-",
                                                    "Select &All", "-",     "&Search Text"}
                          << QStringList{"Ctrl+X", "Ctrl+C", "Ctrl+V", "", "Ctrl+A", "", "Ctrl+F"};
    QTest::newRow("View") << "&View" << QStringList{"Controls on the &Top",
                                                    "Controls at the Si&de",
                                                    "-",
                                                    "Zoom In  <&+>",
                                                    "Zoom Out <&->",
                                                    "-",
                                                    "&Refresh Files and Folders"}
                          << QStringList{"Ctrl+T", "Ctrl+D", "", "", "", "", "Ctrl+R"};
    QTest::newRow("Options") << "&Options"
                             << QStringList{"F&ind File",
                                            "-",
                                            "&Launch Application  <Enter>",
                                            "-",
                                            "File Fi&ltering",
                                            "&Maximum File Size",
                                            "-",
                                            "Web Brow&ser ACTIVE",
                                            "-",
                                            "&Word Wrap Off",
                                            "-",
                                            "&Background Colours"}
                             << QStringList{"Ctrl+I", "",       "", "",       "Ctrl+L", "Ctrl+M",
                                            "",       "Ctrl+S", "", "Ctrl+Z", "",       "Ctrl+B"};
    QTest::newRow("Help") << "&Help"
                          << QStringList{"&Help", "-", "&Bug Busters", "-", "About &Glintbox"}
                          << QStringList{"F1", "", "Ctrl+G", "", "Ctrl+E"};
}

void TestMenus::menuTree()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shortcuts);
    ShellFixture f;
    frmGlintbox &w = f.open();
    const QList<QAction *> menus = w.menuBar()->actions();
    QStringList titles;
    for (QAction *m : menus)
        titles.append(m->text());
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Options", "&Help"}));
    QMenu *found = nullptr;
    for (QAction *m : menus) {
        if (m->text() == menu)
            found = m->menu();
    }
    QVERIFY(found);
    QStringList gotCaptions;
    QStringList gotShortcuts;
    for (QAction *item : found->actions()) {
        gotCaptions.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        gotShortcuts.append(item->shortcut().toString(QKeySequence::PortableText));
        if (!item->shortcut().isEmpty())
            QCOMPARE(item->shortcutContext(), Qt::WindowShortcut);
    }
    QCOMPARE(gotCaptions, captions);
    QCOMPARE(gotShortcuts, shortcuts);
}

void TestMenus::enabledStatesFollowTheShownFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("text") << 0 << QStringList{"mnuPrint", "mnuFontSize", "mnuEdit0",  "mnuEdit1",
                                              "mnuEdit2", "mnuSelect",   "mnuSearch", "Print",
                                              "Font",     "Find"};
    QTest::newRow("image") << 1 << QStringList{"mnuPrint", "mnuKeys0", "mnuKeys1", "Print"};
    QTest::newRow("movie") << 2 << QStringList{};
    QTest::newRow("launcher") << 3 << QStringList{"mnuEnter"};
}

void TestMenus::enabledStatesFollowTheShownFile()
{
    QFETCH(int, kind);
    QFETCH(QStringList, enabled);
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, kind);
    QCOMPARE(w.controls().File1->fileName(), KindFiles[kind]);
    for (const QString &name : modeCommands()) {
        // Menu items and toolbar buttons by their object names.
        auto *action = w.findChild<QAction *>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->isEnabled(), enabled.contains(name));
    }
    // The rest stays enabled whatever is shown.
    for (const char *name :
         {"mnuNewFile", "mnuDeleteFile", "mnuExit", "mnuFindFile", "mnuFilter", "mnuControl0",
          "mnuRefresh", "mnuBackColour0", "mnuHelp", "mnuWordWrap"})
        QVERIFY2(w.findChild<QAction *>(name)->isEnabled(), name);
}

void TestMenus::toolbarButtonsInOrder()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    QStringList keys;
    QStringList tips;
    for (QAction *action : w.controls().Toolbar1->actions()) {
        if (action->isSeparator()) {
            keys.append(QStringLiteral("-"));
            continue;
        }
        if (!action->data().isValid())
            break; // the zoom controls follow the buttons
        keys.append(action->data().toString());
        tips.append(action->toolTip());
        QVERIFY(!action->icon().isNull());
        QVERIFY(action->text().isEmpty());
    }
    QCOMPARE(keys,
             QStringList({"New",      "Delete",  "-",      "Print",   "Font",   "-",    "Find",
                          "FindFile", "-",       "Colour", "-",       "Filter", "Max",  "-",
                          "SideView", "TopView", "-",      "Refresh", "-",      "Help", "-"}));
    QCOMPARE(tips, QStringList({"Create New File", "Delete File", "Print File", "Font Options",
                                "Search Text", "Find File", "Background Colours", "File Filtering",
                                "Maximum File Size", "Controls at the Side", "Controls on the Top",
                                "Refresh Files and Folders", "Help"}));
    // The zoom controls stay in the toolbar, after the buttons.
    QCOMPARE(w.viewer().Zoom->parentWidget(), w.controls().Toolbar1);
}

void TestMenus::iconsFollowThePalette()
{
    // The outline of the "Filter" funnel runs through (8, 2) at 16 pixels.
    QPalette light;
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Base, Qt::white);
    QPalette dark;
    dark.setColor(QPalette::WindowText, QColor(0xeeeeee));
    dark.setColor(QPalette::Base, QColor(0x202020));
    for (const char *name : {"new", "delete", "print", "font", "find", "findfile", "colour",
                             "filter", "max", "sideview", "topview", "refresh", "help"})
        QVERIFY2(!toolbarIcon(QString::fromLatin1(name), light).isNull(), name);
    const QImage onLight = toolbarIcon("filter", light).pixmap(16, 16).toImage();
    const QImage onDark = toolbarIcon("filter", dark).pixmap(16, 16).toImage();
    QVERIFY(qGray(onLight.pixel(8, 2)) < 80);
    QVERIFY(qGray(onDark.pixel(8, 2)) > 170);
}

void TestMenus::toolbarDispatch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("ran"); // handler name and index, or "" for nothing
    QTest::newRow("New") << "New"
                         << "mnuNewFile -1";
    QTest::newRow("Delete") << "Delete"
                            << "mnuDeleteFile -1";
    QTest::newRow("Print") << "Print"
                           << "mnuPrint -1";
    QTest::newRow("Font") << "Font"
                          << "mnuFontSize -1";
    QTest::newRow("Find") << "Find"
                          << "mnuSearch -1";
    QTest::newRow("FindFile") << "FindFile"
                              << "mnuFindFile -1";
    QTest::newRow("Colour") << "Colour"
                            << "mnuBackColour 0";
    QTest::newRow("Filter") << "Filter"
                            << "mnuFilter -1";
    QTest::newRow("Max") << "Max"
                         << "mnuFileSize -1";
    QTest::newRow("SideView") << "SideView"
                              << "mnuControl 1";
    QTest::newRow("TopView") << "TopView"
                             << "mnuControl 0";
    QTest::newRow("Refresh") << "Refresh"
                             << "mnuRefresh -1";
    QTest::newRow("Help") << "Help"
                          << "mnuHelp -1";
    QTest::newRow("unknown key") << "Zoom"
                                 << "";
    QTest::newRow("keys are case-sensitive") << "help"
                                             << "";
    QTest::newRow("empty key") << ""
                               << "";
}

void TestMenus::toolbarDispatch()
{
    QFETCH(QString, key);
    QFETCH(QString, ran);
    ShellFixture f;
    frmGlintbox &w = f.open();
    QStringList calls;
    MainMenus &menus = *w.controls().menus;
    for (int i = 0; i < MenuCommandCount; ++i) {
        const auto command = MenuCommand(i);
        const QString name = menuItemName(command);
        if (menus.items().isArray(command))
            menus.wire(command, [&calls, name](int index) {
                calls.append(name + u' ' + QString::number(index));
            });
        else
            menus.wire(command, [&calls, name] { calls.append(name + QStringLiteral(" -1")); });
    }
    if (QAction *button = w.toolbar().buttons().value(key))
        button->trigger();
    else
        w.toolbar().Toolbar1_ButtonClick(key);
    QCOMPARE(calls, ran.isEmpty() ? QStringList() : QStringList{ran});
    QVERIFY(f.prompts.records().isEmpty());
}

void TestMenus::layoutButtonsWriteTheSettingFirst()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    QString seen;
    w.controls().menus->wire(MenuCommand::mnuControl, [&](int index) {
        seen = w.state().controlsPosition;
        w.mnuControl_Click(index);
    });
    w.state().controlsPosition = QStringLiteral("Top");
    w.toolbar().buttons().value("SideView")->trigger();
    QCOMPARE(seen, QStringLiteral("Side"));
    QVERIFY(w.controls().menus->item(MenuCommand::mnuControl, 1)->isChecked());
    QVERIFY(!w.controls().menus->item(MenuCommand::mnuControl, 0)->isChecked());
    // "TopView" while on top stores "Top" again and keeps one check mark.
    w.toolbar().buttons().value("TopView")->trigger();
    w.toolbar().buttons().value("TopView")->trigger();
    QCOMPARE(seen, QStringLiteral("Top"));
    QVERIFY(w.controls().menus->item(MenuCommand::mnuControl, 0)->isChecked());
    QVERIFY(!w.controls().menus->item(MenuCommand::mnuControl, 1)->isChecked());
}

void TestMenus::viewerKeys_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("caption"); // the refusal shown, or ""
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<int>("launches");
    const QString zoom = QStringLiteral("Glintbox - Zoom");
    const QString launcher = QStringLiteral("Glintbox - Application Launcher");
    QTest::newRow("+ in text") << 0 << '+' << zoom << 0 << 0;
    QTest::newRow("= in text") << 0 << '=' << zoom << 0 << 0;
    QTest::newRow("_ in launcher") << 3 << '_' << zoom << 0 << 0;
    QTest::newRow("+ in image") << 1 << '+' << "" << 1 << 0;
    QTest::newRow("= in image") << 1 << '=' << "" << 1 << 0;
    QTest::newRow("- in image") << 1 << '-' << "" << 1 << 0;
    QTest::newRow("_ in image") << 1 << '_' << "" << 1 << 0;
    QTest::newRow("= in movie") << 2 << '=' << "" << 1 << 0;
    QTest::newRow("Enter in text") << 0 << '\r' << launcher << 0 << 0;
    QTest::newRow("Enter in image") << 1 << '\r' << launcher << 0 << 0;
    QTest::newRow("Enter in movie") << 2 << '\r' << launcher << 0 << 0;
    QTest::newRow("Enter in launcher") << 3 << '\r' << "" << 0 << 1;
    QTest::newRow("other key in launcher") << 3 << 'x' << "" << 0 << 0;
}

void TestMenus::viewerKeys()
{
    QFETCH(int, kind);
    QFETCH(char, key);
    QFETCH(QString, caption);
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
        if (r.caption == u"Glintbox - Zoom" || r.caption == u"Glintbox - Application Launcher") {
            refusals.append(r.caption);
            QCOMPARE(r.icon, PromptIcon::Information);
            QCOMPARE(r.buttons, PromptButtons::Ok);
            QCOMPARE(r.text, r.caption == u"Glintbox - Zoom"
                                 ? QStringLiteral("Sorry, Glintbox must be in Image or Movie mode")
                                 : QStringLiteral("Sorry, Glintbox must be in Application "
                                                  "Launcher mode to use the 'Enter' key"));
        }
    }
    QCOMPARE(refusals, caption.isEmpty() ? QStringList() : QStringList{caption});
    QCOMPARE(m_zoomSteps.size(), zoomSteps);
    if (zoomSteps)
        QCOMPARE(m_zoomSteps.first(), int(key));
    QCOMPARE(m_launches, launches);
}

void TestMenus::zoomMenuItemsAndLaunchItem()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, 1);
    MainMenus &menus = *w.controls().menus;
    menus.item(MenuCommand::mnuKeys, 0)->trigger();
    menus.item(MenuCommand::mnuKeys, 1)->trigger();
    w.viewerKeys().mnuKeys_Click(2);
    QCOMPARE(m_zoomSteps, QList<int>({'+', '-'}));
    w.controls().File1->setListIndex(3);
    menus.item(MenuCommand::mnuEnter)->trigger();
    QCOMPARE(m_launches, 1);
}

void TestMenus::fileListStillReceivesTheKey()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, 0);
    // 'd' reaches the viewer keys (which ignore it) and still moves the list.
    QTest::keyClick(w.controls().File1, Qt::Key_D);
    QCOMPARE(w.controls().File1->fileName(), QStringLiteral("d.exe"));
    QCOMPARE(m_zoomSteps.size(), 0);
}

void TestMenus::shortcutsActInTheTextBox()
{
    ShellFixture f;
    frmGlintbox &w = openWithKinds(f, 0);
    int deletes = 0;
    w.controls().menus->wire(MenuCommand::mnuDeleteFile, [&] { ++deletes; });
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    RichTextBox *text = w.viewer().Text1;
    text->setFocus();
    QWidget *edit = QApplication::focusWidget();
    QVERIFY(edit && text->isAncestorOf(edit));
    QAction *wordWrap = w.controls().menus->item(MenuCommand::mnuWordWrap);
    const bool before = wordWrap->isChecked();
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wordWrap->isChecked(), !before);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wordWrap->isChecked(), before);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(deletes, 1);
    QCOMPARE(text->text(), QStringLiteral("some text"));
}

void TestMenus::itemsRunTheirCommands()
{
    QMenuBar bar;
    ScriptedPrompts prompts;
    MainMenus menus(&bar, prompts);
    QList<int> edits;
    menus.wire(MenuCommand::mnuEdit, [&](int index) { edits.append(index); });
    menus.item(MenuCommand::mnuEdit, 2)->trigger();
    menus.item(MenuCommand::mnuEdit, 0)->trigger();
    QCOMPARE(edits, QList<int>({2, 0}));
    // An item whose command is not built yet does nothing.
    menus.item(MenuCommand::mnuNewFile)->trigger();
    QCOMPARE(edits.size(), 2);
    QVERIFY(prompts.records().isEmpty());
    // A run-time error ends the command with the shared report; the item stays usable.
    menus.wire(MenuCommand::mnuPrint, [] { throw RunTimeError(DiskFull); });
    menus.item(MenuCommand::mnuPrint)->trigger();
    menus.item(MenuCommand::mnuPrint)->trigger();
    QCOMPARE(prompts.captions(), QStringList({"Glintbox - Error 61", "Glintbox - Error 61"}));
}

void TestMenus::everyCommandIsWiredOrNotYetBuilt()
{
    ShellFixture f;
    frmGlintbox &w = f.open();
    const MainMenus &menus = *w.controls().menus;
    for (int i = 0; i < MenuCommandCount; ++i) {
        const auto command = MenuCommand(i);
        const bool notYetBuilt = std::ranges::count(CommandsNotYetBuilt, command) > 0;
        QVERIFY2(menus.isWired(command) != notYetBuilt, qPrintable(menuItemName(command)));
        // Every command stands in the menu bar.
        QVERIFY(menus.item(command, menus.items().isArray(command) ? 0 : -1));
    }
}

void TestMenus::wiringMistakesAreProgrammingErrors()
{
    QMenuBar bar;
    ScriptedPrompts prompts;
    MainMenus menus(&bar, prompts);
    // The handler's kind must match the item: an array's handler takes the index.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, menus.wire(MenuCommand::mnuEdit, [] {}));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, menus.wire(MenuCommand::mnuPrint, [](int) {}));
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             menus.wire(MenuCommand::mnuBackColour, [] {})); // one item, index 0
    // Items the menus do not have.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, menus.item(MenuCommand::mnuEdit, 3));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, menus.item(MenuCommand::mnuEdit));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, menus.item(MenuCommand::mnuPrint, 0));
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
