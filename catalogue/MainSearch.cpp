// The main window's album search and the opening of a found album's detail window.
#include "app/Main.h"

#include "catalogue/AlbumSearch.h"
#include "catalogue/Detail.h"
#include "settings/preferences.h"
#include "toolkit/ListView.h"
#include "toolkit/Text.h"

void TMainFrm::Button1Click() {
    SearchAlbum();
}

void TMainFrm::SearchAlbum() {
    SearchResLst->Clear();
    TPendingRows found(*SearchResLst);
    Catalogue::TSearchEvents events;
    events.OnSyntaxError = [&found](const std::string& message) {
        found.Show();
        MessageDlg(message, mtError, mbOK);
    };
    events.OnBaseFileMissing = [this](const std::string& message) {
        // While the first-run dialog is pending there is no search base to speak of yet.
        if (!FirstRun)
            MessageDlg(message, mtError, mbCancel);
    };
    events.OnCategoryFileMissing = [&found](const std::string& message) {
        found.Show();
        MessageDlg(message, mtError, mbCancel);
    };
    events.OnResult = [this, &found](const Catalogue::TSearchResult& result) {
        found.Add(result.Album, {result.Category, result.CdNumber, result.Path});
        CurrentDescPath = result.Path;
    };
    found.ShowAfter([&] {
        return Catalogue::SearchAlbums(PrefsFrm->SearchBaseEdt->Text(), SearchEdt->Text(), events,
                                       OtherSpelling(SearchEdt->text()));
    });
}

void TMainFrm::SearchResLstDblClick() {
    const int selected = SearchResLst->Selected();
    if (selected < 0) {
        MessageDlg("You must select an album to see the detail window.", mtWarning, mbCancel);
        return;
    }
    DetailFrm->DetailResLst->Clear();
    FillSongList(SearchResLst->SubItem(selected, 2), "", DetailFrm->DetailResLst,
                 DetailFrm->DetailBar);
    DetailFrm->SetTop(Top() - 7);
    DetailFrm->SetLeft(Left() + 97);
    DetailFrm->ShowModal();
}
