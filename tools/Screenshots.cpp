// Draws each window of the program, filled from the catalogue of the stored settings, and
// saves it as a PNG: the main window's two pages, the preferences' two pages, the playlist,
// the album detail, the About box, the reading window, and the windows of adding an MP3
// folder (its progress and its summary, with texts such a run shows). Windows are drawn offscreen
// at the screen's pixel ratio, so QT_SCALE_FACTOR=2 gives pictures at twice the scale, with the
// fonts drawn at that scale as well (the window frame belongs to the desktop and is left out).
// Usage: tunestead_screenshots OUTPUT_FOLDER NAME_SUFFIX [NAME_PREFIX]
#include "app/About.h"
#include "app/DescribeFrm.h"
#include "app/DescribeSummary.h"
#include "app/Main.h"
#include "app/PrintTree.h"
#include "app/Startup.h"
#include "app/Status.h"
#include "catalogue/Detail.h"
#include "playback/Playlist.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"
#include "toolkit/TreeView.h"

#include <iostream>
#include <sstream>

namespace {
std::string Folder;
std::string Prefix;
std::string Suffix;

bool Save(QWidget* window, const char* name) {
    const QString file = QString::fromStdString(Folder + "/" + Prefix + name + Suffix + ".png");
    if (window->grab().save(file))
        return true;
    std::cerr << "tunestead_screenshots: cannot write " << file.toStdString() << '\n';
    return false;
}

// The album the pictures show: the second category's third album, or the nearest there is.
const TTreeNode* ShownAlbum() {
    const TTreeView* tree = MainFrm->TreeLst;
    for (int top = std::min(1, tree->TopCount() - 1); top >= 0; --top) {
        const auto& albums = tree->Top(top)->Children;
        if (!albums.empty())
            return albums[std::min<std::size_t>(2, albums.size() - 1)].get();
    }
    return nullptr;
}

bool SaveAll() {
    MainFrm->show();
    MainFrm->FormActivate();
    std::ostringstream tree;
    PrintAlbumTree(tree);
    const TTreeNode* album = ShownAlbum();
    if (album == nullptr) {
        std::cerr << "tunestead_screenshots: the catalogue holds no album\n";
        return false;
    }
    MainFrm->TreeLst->Select(album);
    MainFrm->TreeLstClick();
    bool saved = Save(MainFrm, "main-player");

    MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    MainFrm->SearchEdt->SetText("e");
    MainFrm->Button1Click();
    saved = Save(MainFrm, "main-search") && saved;
    saved = Save(StatusFrm, "reading") && saved;

    PlaylistFrm->show();
    PlaylistFrm->SelectLstDragDrop(MainFrm->TreeLst);
    saved = Save(PlaylistFrm, "playlist") && saved;

    DetailFrm->show();
    MainFrm->FillSongList(*album->Data, "", DetailFrm->DetailResLst, DetailFrm->DetailBar);
    saved = Save(DetailFrm, "detail") && saved;

    AboutFrm->show();
    AboutFrm->FormActivate();
    saved = Save(AboutFrm, "about") && saved;

    PrefsFrm->show();
    PrefsFrm->PageControl1->setCurrentWidget(PrefsFrm->TabSheet1);
    saved = Save(PrefsFrm, "preferences-files") && saved;
    PrefsFrm->PageControl1->setCurrentWidget(PrefsFrm->TabSheet2);
    saved = Save(PrefsFrm, "preferences-customize") && saved;

    TDescribeFrm progress(MainFrm, "Add MP3 folder");
    Catalogue::TDescribeProgress state;
    state.MusicTotal = 1;
    state.Music = "/home/user/Music";
    state.FoldersDone = 12;
    state.FoldersTotal = 30;
    state.Songs = 140;
    state.Folder = "/home/user/Music/Pink Floyd/The Wall (1979)/CD1";
    progress.ShowProgress(state);
    progress.show();
    saved = Save(&progress, "add-folder-progress") && saved;
    Catalogue::TDescribeOutcome outcome;
    outcome.Songs = 352;
    outcome.Albums = 30;
    outcome.SongsRead = 352;
    outcome.Details = {
        "/home/user/Music/Pink Floyd/The Wall (1979)/CD1/05 - Another Brick in the "
        "Wall, Part 2.mp3: description cut at column 50: \"Another Brick in the "
        "Wall, Part 2 (2011 Remastered Version)\"",
        "/home/user/Music/Loose/voice memo.mp3: cannot read song: no MPEG audio found"};
    TDescribeSummaryFrm summary(MainFrm, outcome);
    summary.show();
    saved = Save(&summary, "add-folder-summary") && saved;
    return saved;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "Usage: tunestead_screenshots OUTPUT_FOLDER NAME_SUFFIX [NAME_PREFIX]\n";
        return 2;
    }
    Folder = argv[1];
    Suffix = argv[2];
    Prefix = argc == 4 ? argv[3] : "";
    TApplication application(argc, argv);
    SetUpApplication(application);
    // The catalogue's own boxes (the demo's deliberate errors) are reported, not shown.
    SetMessageBoxHook([](const TMessageBox& box) {
        std::cerr << box.Caption << ": " << box.Text << '\n';
        return (box.Buttons & mbOK) ? mrOk : mrCancel;
    });
    TForm::SetModalHook([](TForm& form) { form.SetModalResult(mrCancel); });
    if (!CreateForms())
        return 1;
    bool saved = false;
    try {
        saved = SaveAll();
    } catch (const std::exception& error) {
        std::cerr << "tunestead_screenshots: " << error.what() << '\n';
    }
    DestroyForms();
    return saved ? 0 : 1;
}
