#pragma once

#include "HelpFiles.h"

#include <QWidget>
#include <array>

class QFrame;
class QTabWidget;

namespace glintbox {

class FileSystem;
class Prompts;
class RichTextBox;
class WebBrowserView;

// The Help window: one tab per help file, the text files in fixed-width text
// views and the web pages in browsers that never go to the network. Each
// selection of a tab reads its file anew from the help folder.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    // helpFolder: the folder that holds the help files (the program's own).
    frmHelp(const QString &helpFolder, Prompts &prompts, FileSystem &fs, QWidget *parent = nullptr);
    ~frmHelp() override;

    void Form_Load();
    void ShowHelpTab();
    void Form_Resize();

    QTabWidget *TabStrip1() const { return m_TabStrip1; }
    // Frame1 to Frame4 by tab index from 0.
    QFrame *frame(int tabIndex) const { return m_pages[tabIndex].frame; }
    RichTextBox *RichTextBox1() const { return m_pages[0].text; }
    WebBrowserView *WebBrowser1() const { return m_pages[1].web; }
    RichTextBox *RichTextBox2() const { return m_pages[2].text; }
    WebBrowserView *WebBrowser2() const { return m_pages[3].web; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // A tab's frame and the one view it holds.
    struct Page {
        QFrame *frame = nullptr;
        RichTextBox *text = nullptr;
        WebBrowserView *web = nullptr;
        QWidget *content() const;
    };

    void showTextFile(RichTextBox &box, const QString &path);

    QString m_helpFolder;
    Prompts &m_prompts;
    FileSystem &m_fs;
    QTabWidget *m_TabStrip1;
    std::array<Page, HelpTabs.size()> m_pages;
};

} // namespace glintbox
