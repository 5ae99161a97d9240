// The main window's play commands: a song alone, or the whole song list in the play mode
// through the temporary playlist; and the start of the player.
#include "app/Main.h"

#include "platform/Launch.h"
#include "playback/PlayerMessages.h"
#include "playback/Playlist.h"
#include "playback/TempPlaylist.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"
#include "toolkit/Text.h"

void TMainFrm::PlayBtnClick() {
    if (ItemsLst->Selected() >= 0) {
        ItemsLstDblClick();
        return;
    }
    PlaylistFrm->BuildFileList(ItemsLst, PlaylistFrm->FileList);
    const std::string playlist = Playback::WriteTempPlaylist(PlaylistFrm->FileListOrder());
    ExecPlayer(PrefsFrm->PlayerNameEdt->Text(), playlist);
}

void TMainFrm::ItemsLstDblClick() {
    const int selected = ItemsLst->Selected();
    if (selected < 0) {
        MessageDlg("You must select a song first.", mtWarning, mbCancel);
        return;
    }
    ExecPlayer(PrefsFrm->PlayerNameEdt->Text(), ItemsLst->SubItem(selected, 1));
}

void TMainFrm::TreeLstDblClick() {
    if (PlayBtn->isEnabled())
        PlayBtnClick();
}

void TMainFrm::Button2Click() {
    PlaylistFrm->SetLeft(Left() + 519);
    PlaylistFrm->SetTop(Top());
    PlaylistFrm->Show();
}

void TMainFrm::ReplayPopClick() {
    if (PlayedFromPlaylist)
        PlaylistFrm->PlayBtnClick();
    else
        PlayBtnClick();
}

bool TMainFrm::StartPlayer(const std::string& player, const std::string& parameter) {
    if (player.empty()) {
        MessageDlg(Playback::NoPlayerMessage(), mtError, mbOK);
        return false;
    }
    const auto result = platform::ShellOpen(reinterpret_cast<void*>(winId()), player, parameter);
    if (!result.Started)
        MessageDlg(Playback::PlayerNotStartedMessage(player, result.Reason), mtError, mbOK);
    return result.Started;
}

void TMainFrm::ExecPlayer(const std::string& player, const std::string& parameter) {
    // A player that did not start leaves the window where the user can see the box.
    if (!StartPlayer(player, parameter))
        return;
    PlayedFromPlaylist = false;
    if (PrefsFrm->TrayMinChk->isChecked())
        Application()->Minimize();
}
