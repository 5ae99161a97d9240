// The main window's song list: the songs of the selected album with their lengths and totals.
#include "app/Main.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/PlayTimeText.h"
#include "catalogue/SongList.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "settings/preferences.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Text.h"
#include "toolkit/TreeView.h"

namespace {
Catalogue::TDisplayFormat SelectedDisplayFormat() {
    if (PrefsFrm->HourRdb->isChecked())
        return Catalogue::dfHours;
    if (PrefsFrm->MinRdb->isChecked())
        return Catalogue::dfMinutes;
    if (PrefsFrm->MixRdb->isChecked())
        return Catalogue::dfMixed;
    return Catalogue::dfNone;
}
} // namespace

void TMainFrm::TreeLstClick() {
    const TTreeNode* node = TreeLst->Selected();
    const std::optional<std::string> albumPath =
        node != nullptr ? node->Data : std::optional<std::string>();
    ItemsLst->Clear();
    if (albumPath) {
        FillSongList(*albumPath, "", ItemsLst, SongBar);
    } else {
        PlayBtn->setEnabled(false);
        ReplayPop->setEnabled(false);
        SongBar->SetPanelText(0, "");
        SongBar->SetPanelText(1, "");
    }
}

void TMainFrm::TreeLstKeyUp(int) {
    TreeLstClick();
}

// Play and "Re&play" act on the main song list, so only a listing into ItemsLst changes them:
// the detail window's and the playlist's listings leave them as the tree's selection set them.
void TMainFrm::FillSongList(const std::string& albumDir, const std::string& prefix, TListView* list,
                            TStatusBar* bar) {
    TPendingRows listed(*list);
    Catalogue::TSongListEvents events;
    events.OnSyntaxError = [&listed](const std::string& message) {
        listed.Show();
        MessageDlg(message, mtError, mbOK);
    };
    // The row is in the list, with its length and path, before a syntax-error box about its
    // description shows; the caption follows.
    events.OnAppend = [this, &listed](const Catalogue::TSongRow& song) {
        listed.Add("", {song.LengthText, song.Path});
        CurrentDescPath = song.Path;
    };
    events.OnRow = [&listed](const Catalogue::TSongRow& song) {
        listed.SetLastCaption(song.Caption);
    };
    const auto listing =
        listed.ShowAfter([&] { return Catalogue::ListSongs(albumDir, prefix, events); });
    if (!listing.Opened) {
        CurrentDescPath = listing.DescPath;
        const TTreeNode* node = TreeLst->Selected();
        if (node == nullptr || node->Text.find("syntax error") == std::string::npos)
            MessageDlg(Catalogue::DescFileNotReadMessage(CurrentDescPath, listing.Result),
                       mtInformation, mbOK);
        // Nothing of the previous album may stay shown: clear as a category click does.
        bar->SetPanelText(0, "");
        bar->SetPanelText(1, "");
        if (list == ItemsLst) {
            PlayBtn->setEnabled(false);
            ReplayPop->setEnabled(false);
        }
        return;
    }
    if (PrefsFrm->MixRdb->isChecked())
        Settings::Write(*MP3PlayerReg, Settings::DispAlbumTime, 3);
    const int threshold = StrToInt(PrefsFrm->MixValEdt->Text());
    Settings::Write(*MP3PlayerReg, Settings::MixVal, threshold);
    bar->SetPanelText(0, Catalogue::SongCountText(static_cast<std::int64_t>(listing.Rows.size())));
    bar->SetPanelText(
        1, Catalogue::SongListTotalText(listing.Total, SelectedDisplayFormat(), threshold));
    if (list == ItemsLst) {
        PlayBtn->setEnabled(true);
        ReplayPop->setEnabled(true);
    }
}
