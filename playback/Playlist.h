// The "Playlist" window: songs and whole albums dragged in from the main window, counted,
// timed, played, saved and opened. Its hidden FileList is the scratch list of play orders.
#pragma once

#include "playback/PlaylistEntry.h"
#include "toolkit/FileDialog.h"
#include "toolkit/Form.h"
#include "toolkit/ListView.h"

#include <QFrame>
#include <QToolButton>

#include <functional>

#include <string>
#include <vector>

class TStatusBar;

// The playlist itself: accepts every drag and tells the window what was dropped from where.
class TPlaylistView : public TListView {
    Q_OBJECT
public:
    explicit TPlaylistView(QWidget* parent);

    // Asked over every drag whether it may be dropped here.
    std::function<bool(QObject* source)> OnDragOver;

signals:
    void DragDrop(QObject* source);
    void DeleteKeyDown();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class TPlaylistFrm : public TForm {
    Q_OBJECT
public:
    explicit TPlaylistFrm(QWidget* owner);

    QFrame* Bevel1;
    QToolButton* OpenBtn;
    QToolButton* SaveBtn;
    QToolButton* ClearBtn;
    QToolButton* PlayBtn;
    QToolButton* CloseBtn;
    TPlaylistView* SelectLst;
    TListView* FileList;
    TStatusBar* PlaylistBar;
    TFileDialog OpenDlg;
    TFileDialog SaveDlg;

    void FormCreate();
    bool SelectLstDragOver(QObject* source) const;
    void SelectLstDragDrop(QObject* source);
    void SelectLstKeyDown(int key);
    void UpdateStatusBar();
    void PlayBtnClick();
    void ClearBtnClick();
    void CloseBtnClick();
    void OpenBtnClick();
    void SaveBtnClick();
    // Replaces the list with a playlist file's entries: the program's own records, or an M3U
    // or text PLS of another player, told by its content.
    void OpenPlaylistFile(const std::string& file);

    // Fills the destination with the play order of the source's songs (headers skipped),
    // in the play mode checked in the main window.
    void BuildFileList(TListView* source, TListView* destination);
    // The paths of FileList, in order.
    std::vector<std::string> FileListOrder() const;

private:
    void CreateControls();
    void ConnectHandlers();
    void Append(const Playback::TPlaylistEntry& entry);
    void ShowEntries(const std::vector<Playback::TPlaylistEntry>& entries);
};

// The rows of a list as playlist entries (caption, length text, path).
std::vector<Playback::TPlaylistEntry> ListEntries(const TListView* list);

extern TPlaylistFrm* PlaylistFrm;

// Shows the playlist editor beside the main window, as "Play&List" does, and opens the
// playlist file in it; an error goes to the error box.
void OpenNamedPlaylist(const std::string& file);
