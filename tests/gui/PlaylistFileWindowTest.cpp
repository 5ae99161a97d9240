// Saving and opening playlist files through the playlist window's buttons and dialogs.
#include "tests/gui/PlaylistFixture.h"

#include "app/Main.h"
#include "playback/Playlist.h"
#include "playback/PlaylistFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteFaultScope.h"
#include "toolkit/ListView.h"
#include "toolkit/TreeView.h"

using Playback::TPlaylistEntry;

namespace {
std::vector<TPlaylistEntry> Songs(int count) {
    std::vector<TPlaylistEntry> songs;
    for (int i = 0; i < count; ++i)
        songs.push_back({"Song " + std::to_string(i), "1'0" + std::to_string(i) + "\"",
                         "/mp3/song" + std::to_string(i) + ".mp3"});
    return songs;
}
} // namespace

TEST_F(TPlaylistTest, SavedListOpensAsTheSameEntries) {
    DropNode(Node("Trio Sessions"));
    DropSong(Node("Solo Piece"), 0);
    const auto saved = Entries();
    ASSERT_EQ(saved.size(), 5u);
    const std::string file = (Files.Path() / "mine.PLS").string();

    ChosenFile = file;
    PlaylistFrm->SaveBtn->click();
    EXPECT_EQ(std::filesystem::file_size(file), 181u * 5u);
    EXPECT_EQ(Entries(), saved);
    EXPECT_EQ(PlaylistFrm->SaveDlg.InitialDir, (ProgramFolder() / "").string());
    EXPECT_EQ(PlaylistFrm->OpenDlg.InitialDir, (ProgramFolder() / "").string());
    EXPECT_EQ(PlaylistFrm->SaveDlg.DefaultExt, "PLS");
    EXPECT_EQ(PlaylistFrm->OpenDlg.Filter,
              "MP3 Playlist|*.PLS|M3U playlist (*.m3u, *.m3u8)|*.m3u;*.m3u8;*.M3U;*.M3U8|"
              "PLS playlist (*.pls, text)|*.pls|All files|*.*");
    EXPECT_EQ(PlaylistFrm->SaveDlg.Filter,
              "MP3 Playlist|*.PLS|M3U playlist (*.m3u8)|*.m3u8|PLS playlist (*.pls, text)|*.pls|"
              "All files|*.*");

    PlaylistFrm->ClearBtn->click();
    PlaylistFrm->OpenBtn->click();
    EXPECT_EQ(Entries(), saved);
    EXPECT_EQ(PlaylistFrm->SelectLst->SubItemCount(0), 0);
    EXPECT_EQ(Panel(0), "4 song(s)");
    EXPECT_EQ(Panel(1), "10:36 total play time");
    EXPECT_EQ(DialogsShown, (std::vector<std::string>{"save", "open"}));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, LongCaptionsAndPathsAreSavedCutOnlyAfterAWarning) {
    const std::string longHeader = "* " + std::string(45, 'H') + " *";
    const std::string longPath = "/" + std::string(140, 'p') + ".mp3";
    auto* list = PlaylistFrm->SelectLst;
    list->AddRow(longHeader);
    list->AddRow(std::string(41, 'n'), {"12345678901'00\"", longPath});
    list->AddRow("Fits", {"1'00\"", "/fits.mp3"});
    const auto file = Files.Path() / "cut.PLS";
    ChosenFile = file.string();

    // Once the program's own format is chosen, and before anything is written, the user learns
    // what would be cut, and No saves nothing.
    Answers = {mrNo};
    PlaylistFrm->SaveBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Icon, miWarning);
    EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbYes | mbNo));
    EXPECT_EQ(Boxes[0].Text,
              "These entries are too long for a playlist file and will be saved cut:\r" +
                  longHeader + " (name)\r" + std::string(41, 'n') +
                  " (name, length, path)\r"
                  "A song whose path is cut cannot be played from the saved list. Save anyway?");
    EXPECT_EQ(DialogsShown, std::vector<std::string>{"save"});
    EXPECT_FALSE(std::filesystem::exists(file));

    // Yes saves them cut.
    Answers = {mrYes};
    PlaylistFrm->SaveBtn->click();
    EXPECT_EQ(Boxes.size(), 2u);
    PlaylistFrm->OpenBtn->click();
    ASSERT_EQ(Entries().size(), 3u);
    EXPECT_EQ(Entries()[0].Caption, longHeader.substr(0, 40));
    EXPECT_TRUE(Playback::IsAlbumHeader(Entries()[0].Caption));
    EXPECT_EQ(Entries()[1],
              (TPlaylistEntry{std::string(40, 'n'), "1234567890", longPath.substr(0, 128)}));
    EXPECT_EQ(Panel(0), "2 song(s)");
    EXPECT_EQ(Boxes.size(), 2u);
}

TEST_F(TPlaylistTest, EmptyFileOpensAsAnEmptyList) {
    DropSong(Node("Solo Piece"), 0);
    ChosenFile = Files.Write("empty.PLS", "").string();
    PlaylistFrm->OpenBtn->click();
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 0);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, PartialRecordKeepsTheEntriesBeforeIt) {
    const std::string bytes = Playback::EncodePlaylist(Songs(2));
    ChosenFile = Files.Write("partial.PLS", bytes + bytes.substr(0, 100)).string();
    PlaylistFrm->OpenBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Read beyond end of file.");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Entries(), Songs(2));
    EXPECT_EQ(Panel(0), "2 song(s)");
    EXPECT_EQ(Panel(1), "2:01 total play time");
}

TEST_F(TPlaylistTest, DamagedLengthBytesReadTheWholeField) {
    std::string bytes = Playback::EncodePlaylist(Songs(1));
    bytes[0] = static_cast<char>(200);  // name: 40 at most
    bytes[41] = static_cast<char>(11);  // length text: 10 at most
    bytes[52] = static_cast<char>(255); // path: 128 at most
    ChosenFile = Files.Write("damaged.PLS", bytes).string();
    PlaylistFrm->OpenBtn->click();
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Entries()[0].Caption, std::string("Song 0") + std::string(34, '\0'));
    EXPECT_EQ(Entries()[0].LengthText, std::string("1'00\"") + std::string(5, '\0'));
    EXPECT_EQ(Entries()[0].Path.size(), 128u);
    EXPECT_EQ(Panel(0), "1 song(s)");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, OverwriteIsAskedAndNoKeepsTheFile) {
    DropSong(Node("Solo Piece"), 0);
    const std::string old = "old content";
    const auto file = Files.Write("exists.PLS", old);
    ChosenFile = file.string();

    Answers = {mrNo};
    PlaylistFrm->SaveBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Text, file.string() + "\ralready exist. Overwrite ?");
    EXPECT_EQ(Boxes[0].Icon, miWarning);
    EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbYes | mbNo));
    EXPECT_EQ(TTempDir::Read(file), old);

    Answers = {mrYes};
    PlaylistFrm->SaveBtn->click();
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(TTempDir::Read(file), Playback::EncodePlaylist(Entries()));
}

TEST_F(TPlaylistTest, FailedWriteLeavesTheOldFileWhole) {
    DropNode(Node("Trio Sessions"));
    const std::string old = Playback::EncodePlaylist(Songs(3));
    const auto file = Files.Write("full.PLS", old);
    ChosenFile = file.string();
    const auto fileCount = [this] {
        return std::distance(std::filesystem::directory_iterator(Files.Path()),
                             std::filesystem::directory_iterator());
    };
    const auto filesBefore = fileCount();
    {
        TWriteFaultScope diskFull(100);
        PlaylistFrm->SaveBtn->click();
    }
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[1].Text, "Disk full.");
    EXPECT_EQ(Boxes[1].Icon, miError);
    EXPECT_EQ(TTempDir::Read(file), old);
    EXPECT_EQ(fileCount(), filesBefore);
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 4);
}

TEST_F(TPlaylistTest, MissingFileOrCancelLeavesTheList) {
    DropSong(Node("Solo Piece"), 0);
    const auto before = Entries();
    ChosenFile = (Files.Path() / "missing.PLS").string();
    PlaylistFrm->OpenBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "File not found.");
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(Panel(0), "1 song(s)");

    ChosenFile.reset();
    PlaylistFrm->OpenBtn->click();
    PlaylistFrm->SaveBtn->click();
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(DialogsShown.size(), 3u);
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(TPlaylistTest, SaveOfAnEmptyListWarnsWithoutDialog) {
    ChosenFile = (Files.Path() / "never.PLS").string();
    PlaylistFrm->SaveBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Text, "You need to drag at least one song in the playlist.");
    EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbCancel));
    EXPECT_TRUE(DialogsShown.empty());
    EXPECT_FALSE(std::filesystem::exists(*ChosenFile));
}

TEST_F(TPlaylistTest, ANameTypedWithoutExtensionGetsPls) {
    DropSong(Node("Solo Piece"), 0);
    const auto saved = Entries();
    ChosenFile = (Files.Path() / "typed").string();
    PlaylistFrm->SaveBtn->click();
    EXPECT_FALSE(std::filesystem::exists(Files.Path() / "typed"));
    EXPECT_EQ(std::filesystem::file_size(Files.Path() / "typed.PLS"), 181u);

    PlaylistFrm->ClearBtn->click();
    PlaylistFrm->OpenBtn->click();
    EXPECT_EQ(Entries(), saved);
    EXPECT_TRUE(Boxes.empty());
}
