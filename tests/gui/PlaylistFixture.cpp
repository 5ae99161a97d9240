#include "tests/gui/PlaylistFixture.h"

#include "app/Main.h"
#include "app/Status.h"
#include "playback/Playlist.h"
#include "settings/preferences.h"
#include "tests/catalogue/CatalogueLines.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

namespace fs = std::filesystem;
using CatalogueTest::P;
using CatalogueTest::TimedSong;

namespace {
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// The fields of the fake player's records: "<kind> <length>\n<bytes>\n" each.
std::vector<std::string> RecordedArguments(const std::string& record) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    while (at < record.size()) {
        const auto blank = record.find(' ', at);
        const auto newline = record.find('\n', blank);
        if (blank == std::string::npos || newline == std::string::npos)
            break;
        const std::string kind = record.substr(at, blank - at);
        const auto length = std::stoul(record.substr(blank + 1, newline - blank - 1));
        if (kind == "arg")
            arguments.push_back(record.substr(newline + 1, length));
        at = newline + 1 + length + 1;
    }
    return arguments;
}
} // namespace

std::optional<std::vector<std::string>> TPlaylistTest::PlayerArguments() {
    const std::string record = Player->Read();
    Player->Arm();
    if (record.empty())
        return std::nullopt;
    return RecordedArguments(record);
}

void TPlaylistTest::SetUp() {
    TGuiTest::SetUp();
    Files.Write("mp3/descript.ion", Lines({"JAZZ  Jazz", "POP  Pop"}));
    Files.Write("mp3/JAZZ/descript.ion", Lines({"TRIO  Trio Sessions", "SOLO  Solo Piece",
                                                "UNKN  Unknown Lengths", "GONE  Lost Tapes"}));
    Files.Write("mp3/JAZZ/TRIO/descript.ion", Lines({TimedSong("TRIOAB01.MP3", "Morning", 187),
                                                     TimedSong("TRIOAB02.MP3", "Noon", 240),
                                                     TimedSong("TRIOAB03.MP3", "Night", 59)}));
    Files.Write("mp3/JAZZ/SOLO/descript.ion", Lines({TimedSong("SOLOXY01.MP3", "Alone", 150)}));
    Files.Write("mp3/JAZZ/UNKN/descript.ion",
                Lines({"MYST01.MP3  First mystery", "MYST02.MP3  Second mystery"}));
    fs::create_directories(Catalogue() / "JAZZ" / "GONE");
    Files.Write("mp3/POP/descript.ion", Lines({"HOUR  Nearly An Hour", "TICK  One Second"}));
    Files.Write("mp3/POP/HOUR/descript.ion",
                Lines({TimedSong("HOURAA01.MP3", "Half", 1800),
                       TimedSong("HOURAA02.MP3", "Other half", 1799)}));
    Files.Write("mp3/POP/TICK/descript.ion", Lines({TimedSong("TICKAA01.MP3", "Tick", 1)}));

    StoreString(Settings::PlayerName.Name, std::string(TUNESTEAD_HELPER_DIR) + "/fake_player");
    StoreString(Settings::RootPaths.Name(1), Catalogue().string() + P("/"));
    StoreBool(Settings::MinimizeTray.Name, false);
    Player.emplace(Files.Path() / "player.fifo", "TUNESTEAD_FAKE_PLAYER_LOG");
    ASSERT_TRUE(Player->Arm());
    SetFileDialogHook([this](TFileDialog& dialog) {
        DialogsShown.push_back(dialog.Kind == TFileDialog::fdOpen ? "open" : "save");
        if (!ChosenFile)
            return false;
        dialog.FileName = *ChosenFile;
        dialog.FilterIndex = ChosenFilter;
        return true;
    });
    ASSERT_TRUE(Start());
    MainFrm->InitTmrTimer();
    StatusFrm->ShowedTmrTimer();
    ASSERT_EQ(MainFrm->TreeLst->TopCount(), 2);
    MainFrm->Button2Click();
    Boxes.clear();
}

void TPlaylistTest::TearDown() {
    SetFileDialogHook(nullptr);
    Player.reset();
    TGuiTest::TearDown();
}

std::string TPlaylistTest::SongPath(const std::string& relative) const {
    return (Catalogue() / P(relative)).string();
}

TTreeNode* TPlaylistTest::Node(const std::string& textStart) const {
    for (int top = 0; top < MainFrm->TreeLst->TopCount(); ++top) {
        TTreeNode* category = MainFrm->TreeLst->Top(top);
        if (category->Text.starts_with(textStart))
            return category;
        for (const auto& album : category->Children)
            if (album->Text.starts_with(textStart))
                return album.get();
    }
    ADD_FAILURE() << "no node " << textStart;
    return nullptr;
}

void TPlaylistTest::ClickNode(TTreeNode* node) {
    MainFrm->TreeLst->Select(node);
    MainFrm->TreeLstClick();
}

void TPlaylistTest::DropNode(TTreeNode* node) {
    // The press that starts the drag selects the node; the click never comes.
    MainFrm->TreeLst->Select(node);
    PlaylistFrm->SelectLstDragDrop(MainFrm->TreeLst);
}

void TPlaylistTest::DropSong(TTreeNode* album, int row) {
    ClickNode(album);
    MainFrm->ItemsLst->SetSelected(row);
    PlaylistFrm->SelectLstDragDrop(MainFrm->ItemsLst);
}

std::vector<Playback::TPlaylistEntry> TPlaylistTest::Entries() const {
    return ListEntries(PlaylistFrm->SelectLst);
}

std::vector<std::string> TPlaylistTest::Captions() const {
    std::vector<std::string> captions;
    for (const auto& entry : Entries())
        captions.push_back(entry.Caption);
    return captions;
}

std::string TPlaylistTest::Panel(int index) const {
    return PlaylistFrm->PlaylistBar->PanelText(index);
}
