#pragma once

#include "DirDiver.h"
#include "FoundFilesModel.h"

#include <QDialog>
#include <QElapsedTimer>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QTreeView;

namespace glintbox {

class DriveList;
class FindFileHost;
class FolderList;
class PreviewPicture;

// The controls of the Find File window, by the names its handlers know them
// by. The window owns them.
struct FindFileControls {
    QLabel *lblCriteria = nullptr;
    QComboBox *InputCriteria = nullptr;
    DriveList *Drive1 = nullptr;
    FolderList *Dir2 = nullptr;
    QPushButton *ButtonSearch = nullptr;
    QPushButton *ButtonStop = nullptr;
    QPushButton *ButtonClose = nullptr;
    QPushButton *ButtonView = nullptr;
    QLabel *Label2 = nullptr; // "SEARCHING"
    QLabel *Label3 = nullptr; // "SEARCH COMPLETED"
    QLabel *Label4 = nullptr; // "SEARCH HALTED"
    QLabel *LabelCount = nullptr;
    QTimer *Timer1 = nullptr;
    QTreeView *ListResults = nullptr;
    QLabel *LabelSelectedName = nullptr;
    QLabel *LabelSelectedPath = nullptr;
    QLabel *Label1 = nullptr; // "Image Preview"
    QFrame *Picture1 = nullptr;
    PreviewPicture *ImagePreview = nullptr;
};

// The Find File window: walks a folder tree for names matching a pattern,
// lists what it finds, previews pictures and hands a found file to the main
// window. A walk runs inside Find Now and yields at every folder; Find Now
// waits while it runs, and closing the window stops it first.
class frmFindFile : public QDialog {
    Q_OBJECT
public:
    explicit frmFindFile(FindFileHost &host);

    // The main window's Find File command: the window opens modally on the
    // main window's drive and folder, with the pattern "*.*".
    static void mnuFindFile_Click(FindFileHost &host);

    const FindFileControls &controls() const { return m_c; }
    const FoundFilesModel &results() const { return m_results; }
    bool isSearchRunning() const { return m_searchRunning; }

    void ButtonSearch_Click();
    void ButtonStop_Click();
    void ButtonClose_Click();
    void ButtonView_Click();
    void Timer1_Timer();
    void Drive1_Change();
    void Dir2_Change();
    void ListResults_ItemClick(int row);
    void PreviewImage(const QString &fullPath);
    void InputCriteria_GotFocus();
    void InputCriteria_KeyPress(int keyAscii);

public slots:
    // Escape and the close box close as Close does.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void layOutControls();
    void connectHandlers();
    void Form_Load();
    void trapped(const std::function<void()> &handler);
    void clearPreview();
    void clearResults();
    void yieldToEvents();
    void finishSearch();
    double twipsPerPixel() const;

    FindFileHost &m_host;
    FindFileControls m_c;
    FoundFilesModel m_results;
    DirDiver m_diver;
    QElapsedTimer m_sinceResultsShown;
    // The clicked result, as the file system names it.
    QString m_selectedName;
    QString m_selectedFolder;
    bool m_searchRunning = false;
    bool m_halted = false;
    bool m_closeWhenWalkEnds = false;
};

} // namespace glintbox
