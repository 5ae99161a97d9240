// The main window's catalogue reading: the album tree of every root.
#include "app/Main.h"

#include "app/Status.h"
#include "catalogue/CatalogueWalk.h"
#include "platform/ErrorMode.h"
#include "settings/preferences.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

void TMainFrm::InitAlbumTree() {
    StatusFrm->Show();
}

void TMainFrm::InitAlbumTree2() {
    if (ClearTree) {
        TreeLst->Clear();
        ItemsLst->Clear();
        ClearTree = false;
        TreeLst->SetSortByText(false);
    }
    PlayBtn->setEnabled(false);
    ReplayPop->setEnabled(false);
    SongBar->SetPanelText(0, "");
    SongBar->SetPanelText(1, "");

    std::vector<std::string> roots;
    for (int row = 0; row < PrefsFrm->MP3PathLst->RowCount(); ++row)
        roots.push_back(PrefsFrm->MP3PathLst->Caption(row));

    // A drive without a medium in the root list is skipped without a system dialog.
    platform::FailCriticalErrorsSilently();

    TTreeNode* category = nullptr;
    Catalogue::TCatalogueWalkEvents events;
    const auto showError = [this](const std::string& message) {
        TreeLst->Flush();
        MessageDlg(message, mtError, mbOK);
    };
    events.OnSyntaxError = showError;
    events.OnCategoryFileMissing = showError;
    events.OnCategory = [this, &category](std::string_view text) {
        category = TreeLst->AddTop(std::string(text));
    };
    events.OnAlbum = [this, &category](std::string_view text, std::string_view path,
                                       const Catalogue::TDuration&) {
        CurrentDescPath.assign(path);
        TreeLst->AddChild(category, std::string(text), CurrentDescPath);
    };
    events.OnRootDone = [this](const Catalogue::TCatalogueTotals& totals) {
        AlbumBar->SetPanelText(0, totals.AlbumCountText());
        AlbumBar->SetPanelText(1, totals.TotalText());
        TreeLst->Flush();
    };
    Catalogue::WalkCatalogue(roots, events);
    TreeLst->Flush();
    if (PrefsFrm->SortAlbumsChk->isChecked())
        TreeLst->SetSortByText(true);
}
