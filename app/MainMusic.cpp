// The main window's adding and refreshing of MP3 folders: a folder picked by the user is
// described into a catalogue of its own on a thread of its own, its root joins the roots, and
// the album tree is read again.
#include "app/DescribeFrm.h"
#include "app/DescribeSummary.h"
#include "app/Main.h"
#include "app/Status.h"
#include "describing/CataloguePlace.h"
#include "describing/MusicCatalogue.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/FileDialog.h"

namespace {
const char* const NoDataFolderText =
    "No per-user data folder is known, so the catalogue of the MP3 folder has no place.";
const char* const BusyText = "MP3 folders are being described. Wait until that is done.";
const char* const NoMusicFoldersText =
    "No MP3 folder has been added yet. Add one with \"Add MP3 folder\".";
} // namespace

void TMainFrm::AddMP3Folder1Click() {
    AddMusicFolder(this);
}

void TMainFrm::RefreshMP3Folders1Click() {
    if (DescribeFrm != nullptr) {
        MessageDlg(BusyText, mtInformation, mbOK);
        return;
    }
    if (PrefsFrm->MusicFolders.empty()) {
        MessageDlg(NoMusicFoldersText, mtInformation, mbOK);
        return;
    }
    DescribeMusic(this, "Refresh MP3 folders", PrefsFrm->MusicFolders);
}

bool TMainFrm::AddMusicFolder(TForm* owner) {
    if (DescribeFrm != nullptr) {
        MessageDlg(BusyText, mtInformation, mbOK);
        return false;
    }
    TFileDialog dialog;
    dialog.Kind = TFileDialog::fdFolder;
    if (!PrefsFrm->MusicFolders.empty())
        dialog.InitialDir = PrefsFrm->MusicFolders.back().Music;
    if (!dialog.Execute(owner))
        return false;
    const std::string music = Catalogue::MusicFolderPath(dialog.FileName);
    std::string catalogue;
    // A folder added before keeps its catalogue.
    for (const auto& folder : PrefsFrm->MusicFolders)
        if (folder.Music == music)
            catalogue = folder.Catalogue;
    if (catalogue.empty())
        catalogue = Catalogue::DefaultCataloguePlace(music);
    if (catalogue.empty()) {
        MessageDlg(NoDataFolderText, mtError, mbOK);
        return false;
    }
    DescribeMusic(owner, "Add MP3 folder", {{music, catalogue}});
    return true;
}

void TMainFrm::DescribeMusic(TForm* owner, const std::string& caption,
                             std::vector<Catalogue::TMusicFolder> folders) {
    // Over the window the command came from, which may be a modal one: a window of its own
    // takes input while that one runs.
    DescribeFrm = new TDescribeFrm(owner, caption);
    AddMP3Folder1->setEnabled(false);
    RefreshMP3Folders1->setEnabled(false);
    DescribeFrm->Start(std::move(folders),
                       [this, owner](const Catalogue::TDescribeOutcome& outcome) {
                           DescribeFrm->deleteLater();
                           DescribeFrm = nullptr;
                           AddMP3Folder1->setEnabled(true);
                           RefreshMP3Folders1->setEnabled(true);
                           DescribingEnded(owner, outcome);
                       });
}

void TMainFrm::DescribingEnded(TForm* owner, const Catalogue::TDescribeOutcome& outcome) {
    for (const auto& folder : outcome.Described)
        PrefsFrm->AddDescribedFolder(folder);
    TDescribeSummaryFrm summary(owner->isVisible() ? owner : this, outcome);
    summary.ShowModal();
    // The start reads the tree once the preferences of a first run are done.
    if (!outcome.Described.empty() && StatusFrm != nullptr && !FirstRun)
        StatusFrm->Show();
}
