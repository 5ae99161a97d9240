// The main window's catalogue reading: the description-line parsers and the album tree.
#include "app/Main.h"

#include "app/Status.h"
#include "catalogue/CatalogueWalk.h"
#include "catalogue/DescLine.h"
#include "catalogue/SongList.h"
#include "platform/ErrorMode.h"
#include "settings/preferences.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

std::string TMainFrm::ExtractDir(const std::string& line) const {
    return std::string(Catalogue::ExtractDir(line));
}

std::string TMainFrm::ExtractDesc(const std::string& line, const std::string& descPath) {
    return Catalogue::ExtractDesc(line, descPath, [this](const std::string& message) {
        TreeLst->Flush();
        MessageDlg(message, mtError, mbOK);
    });
}

void TMainFrm::ExtractTime(const std::string& line, int& minutes, int& seconds) const {
    const auto time = Catalogue::ExtractTime(line);
    minutes = time.Minutes;
    seconds = time.Seconds;
}

void TMainFrm::CalcAlbumPlaytime(const std::string& albumDir, int& minutes, int& seconds) {
    const auto time = Catalogue::CalcAlbumPlaytime(albumDir);
    minutes = static_cast<int>(time.Minutes);
    seconds = static_cast<int>(time.Seconds);
}

std::string TMainFrm::dec2str(int value, int width, char pad) {
    return Catalogue::dec2str(value, width, pad);
}

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
