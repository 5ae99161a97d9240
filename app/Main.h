// The main window: album tree, song list, play modes and buttons on the "Player" page,
// the album search on the "Search" page, the two popup menus and the settings component.
#pragma once

#include "describing/DescribeJob.h"
#include "settings/RegAppC.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <memory>
#include <string>

class TDescribeFrm;
class TListView;
class TStatusBar;
class TTreeView;
class TTrayIcon;

class TMainFrm : public TForm {
    Q_OBJECT
public:
    TMainFrm();
    ~TMainFrm() override;

    // Controls, in the order the window places them.
    QTabWidget* PageControl1;
    QWidget* PlayTab;
    QWidget* SearchTab;
    TTreeView* TreeLst;
    TStatusBar* AlbumBar;
    TListView* ItemsLst;
    TStatusBar* SongBar;
    QGroupBox* GroupBox2;
    QRadioButton* LocalRandomRdb;
    QRadioButton* FullRandomRdb;
    QRadioButton* SequencialRdb;
    QPushButton* PlayBtn;
    QPushButton* Button2;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    TEdit* SearchEdt;
    QPushButton* Button1;
    QGroupBox* GroupBox3;
    TListView* SearchResLst;

    // Non-visual components.
    QMenu* MainPop;
    QAction* Refreshalbumtree1;
    QAction* AddMP3Folder1;
    QAction* RefreshMP3Folders1;
    QAction* Preferences1;
    QAction* About1;
    QAction* Exit1;
    QMenu* TrayPop;
    QAction* ReplayPop;
    QAction* About2;
    QAction* RestorePop;
    QAction* Quit1;
    std::unique_ptr<TRegAppUserConfig> MP3PlayerReg;
    QTimer* InitTmr;
    std::unique_ptr<TTrayIcon> TrayIcon1;

    // State shared with the other windows.
    bool FirstRun = false;
    std::string CurrentDescPath;
    bool ClearTree = false;
    bool PlayedFromPlaylist = false;

    // Window and menu handlers.
    void FormCreate();
    void FormActivate() override;
    void InitTmrTimer();
    bool FormClose() override;
    void Exit1Click();
    void About1Click();
    void Preferences1Click();
    void Refreshalbumtree1Click();
    void AddMP3Folder1Click();
    void RefreshMP3Folders1Click();
    void RestorePopClick();
    void TrayIcon1DblClick();

    // Adding MP3 folders: the user picks a folder over owner, which is described into a
    // catalogue of its own while a progress window stands; its root is then added to the roots
    // and the tree read again. False when no folder was picked or a describing already runs.
    bool AddMusicFolder(TForm* owner);
    // The window of the describing that runs, or null.
    TDescribeFrm* DescribeFrm = nullptr;

    // Catalogue reading.
    void InitAlbumTree();
    void InitAlbumTree2();

    // Song list.
    void TreeLstClick();
    void TreeLstKeyUp(int key);
    void FillSongList(const std::string& albumDir, const std::string& prefix, TListView* list,
                      TStatusBar* bar);

    // Search.
    void Button1Click();
    void SearchAlbum();
    void SearchResLstDblClick();

    // Playing.
    void PlayBtnClick();
    void ItemsLstDblClick();
    void TreeLstDblClick();
    void Button2Click();
    void ReplayPopClick();
    void ExecPlayer(const std::string& player, const std::string& parameter);
    // Starts the player with its one parameter; a player that is not set or cannot start
    // is reported in an error box naming it and the system's reason, and gives false.
    bool StartPlayer(const std::string& player, const std::string& parameter);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void CreateComponents();
    void ConnectHandlers();
    // Stores the preferences and the window's place in the settings.
    void WriteSettings();
    // Describes the music folders with a progress window over owner, then ends as
    // DescribingEnded says.
    void DescribeMusic(TForm* owner, const std::string& caption,
                       std::vector<Catalogue::TMusicFolder> folders);
    // The summary over owner; the roots of the folders described added; the tree read again.
    void DescribingEnded(TForm* owner, const Catalogue::TDescribeOutcome& outcome);
};

extern TMainFrm* MainFrm;
