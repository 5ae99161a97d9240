// Playlists exchanged with other players through the playlist window: M3U8 and text PLS saved
// and opened again, playlists of other players opened, and playlist files that are no files.
#include "tests/gui/PlaylistFixture.h"

#include "playback/Playlist.h"
#include "playback/PlaylistFile.h"
#include "tests/support/TempDir.h"
#include "toolkit/ListView.h"

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using Playback::TPlaylistEntry;

namespace {

// The songs of the list made real, so that opening the list finds every file.
void CreateSongFiles(const std::vector<TPlaylistEntry>& entries) {
    for (const auto& entry : entries)
        if (!entry.Path.empty())
            std::ofstream(entry.Path) << "mp3";
}

} // namespace

TEST_F(TPlaylistTest, M3u8AndTextPlsGiveTheSameSongsBack) {
    DropSong(Node("Trio Sessions"), 0);
    DropSong(Node("Unknown Lengths"), 1);
    DropSong(Node("Nearly An Hour"), 1);
    const auto saved = Entries();
    ASSERT_EQ(saved.size(), 3u);
    CreateSongFiles(saved);
    const std::string songs = Panel(0);
    const std::string time = Panel(1);

    const struct {
        int Filter;
        const char* Written;
        std::string Start;
    } cases[] = {
        {2, "mine.m3u8", "#EXTM3U\n#EXTINF:187,Morning\n" + saved[0].Path + "\n#EXTINF:-1,"},
        {3, "mine.pls", "[playlist]\nFile1=" + saved[0].Path + "\nTitle1=Morning\nLength1=187\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Written);
        // A name typed without extension gets the chosen type's.
        ChosenFilter = c.Filter;
        ChosenFile = (Files.Path() / "mine").string();
        PlaylistFrm->SaveBtn->click();
        const auto written = Files.Path() / c.Written;
        ASSERT_TRUE(std::filesystem::exists(written));
        EXPECT_EQ(TTempDir::Read(written).substr(0, c.Start.size()), c.Start);

        PlaylistFrm->ClearBtn->click();
        ChosenFilter = 1;
        ChosenFile = written.string();
        PlaylistFrm->OpenBtn->click();
        EXPECT_EQ(Entries(), saved);
        EXPECT_EQ(Panel(0), songs);
        EXPECT_EQ(Panel(1), time);
        EXPECT_TRUE(Boxes.empty());
    }
}

TEST_F(TPlaylistTest, AlbumsAreExportedAsTheirSongsAndNothingIsCut) {
    DropNode(Node("Trio Sessions"));
    const std::string longPath = (Files.Path() / (std::string(140, 'p') + ".mp3")).string();
    PlaylistFrm->SelectLst->AddRow(std::string(45, 'n'), {"1'00\"", longPath});
    const auto list = Entries();
    ASSERT_EQ(list.size(), 5u);
    CreateSongFiles(list);
    const auto file = Files.Path() / "album.m3u8";
    ChosenFilter = 2;
    ChosenFile = file.string();
    PlaylistFrm->SaveBtn->click();
    // No warning: a text playlist holds every caption and path whole.
    EXPECT_TRUE(Boxes.empty());

    PlaylistFrm->ClearBtn->click();
    PlaylistFrm->OpenBtn->click();
    std::vector<TPlaylistEntry> expected;
    for (std::size_t i = 1; i < 4; ++i)
        expected.push_back({list[i].Caption.substr(5), list[i].LengthText, list[i].Path});
    expected.push_back(list[4]);
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(expected[0].Caption, "01. Morning");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, APlaylistOfAnotherPlayerKeepsItsMissingFilesAndSkipsStreams) {
    DropSong(Node("Solo Piece"), 0);
    Files.Write("lists/Music/one.mp3", "mp3");
    const auto file =
        Files.Write("lists/radio.m3u",
                    "#EXTM3U\r\n#EXTINF:65,Caf\xE9 One\r\nMusic\\one.mp3\r\n#EXTINF:10,Gone\r\n"
                    "Music/gone.mp3\r\n#EXTINF:-1,Radio\r\nhttp://radio.example/live\r\n");
    ChosenFile = file.string();
    PlaylistFrm->OpenBtn->click();
    const auto folder = Files.Path() / "lists" / "Music";
#ifdef _WIN32
    // Texts go to Windows in its code page.
    const std::string cafe = "Caf\xE9 One";
#else
    const std::string cafe = "Caf\xC3\xA9 One";
#endif
    EXPECT_EQ(Entries(), (std::vector<TPlaylistEntry>{
                             {cafe, "1'05\"", (folder / "one.mp3").string()},
                             {"Gone", "0'10\"", (folder / "gone.mp3").string()},
                         }));
    EXPECT_EQ(Panel(0), "2 song(s)");
    EXPECT_EQ(Panel(1), "1:15 total play time");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_EQ(Boxes[0].Icon, miInformation);
    EXPECT_EQ(Boxes[0].Text,
              "1 file(s) of the playlist were not found. They are kept in the list.\r"
              "1 stream(s) (http:// and other addresses) were left out: the playlist holds only "
              "files.");
}

TEST_F(TPlaylistTest, ADeviceOrAPipeIsNeitherOpenedNorReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << "devices and pipes in the file system are made with POSIX calls";
#else
    DropSong(Node("Solo Piece"), 0);
    const auto before = Entries();
    const auto device = Files.Path() / "null.PLS";
    std::filesystem::create_symlink("/dev/null", device);
    ChosenFile = device.string();
    PlaylistFrm->OpenBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "\"" + device.string() + "\" is not a regular file.");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Entries(), before);

    // Saving over a pipe is refused before the question whether to replace it.
    const auto pipe = Files.Path() / "x.PLS";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ChosenFile = pipe.string();
    Answers = {mrYes};
    PlaylistFrm->SaveBtn->click();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, "\"" + pipe.string() + "\" is not a regular file.");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(Entries(), before);
#endif
}

TEST_F(TPlaylistTest, APlaylistNamedAtStartOpensInTheShownEditor) {
    DropSong(Node("Solo Piece"), 0);
    const auto list = Entries();
    CreateSongFiles(list);
    const auto file = Files.Path() / "named.m3u8";
    ChosenFilter = 2;
    ChosenFile = file.string();
    PlaylistFrm->SaveBtn->click();
    PlaylistFrm->ClearBtn->click();
    PlaylistFrm->CloseBtnClick();
    ASSERT_FALSE(PlaylistFrm->isVisible());

    OpenNamedPlaylist(file.string());
    EXPECT_TRUE(PlaylistFrm->isVisible());
    EXPECT_EQ(Entries(), list);
    EXPECT_TRUE(Boxes.empty());

    OpenNamedPlaylist((Files.Path() / "none.m3u").string());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "File not found.");
    EXPECT_EQ(Entries(), list);
}
