// From a music folder as taggers and stores lay it out to a playing album, as a new user goes:
// real MP3 files of every kind made with lame below long names, discs in subfolders, a deeper
// branch and a loose song; mp3tunestead-describe run with its defaults; the program reading the
// catalogue root the tool printed, with every song's true length; mpv playing a disc and the
// loose song; and the music folder unchanged to the byte and the second all along.
#include "tests/gui/CatalogueBuilder.h"
#include "tests/gui/MpvPlayer.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/LameSongs.h"
#include "tests/support/PlayerRecord.h"

#if !defined(_WIN32) && defined(TUNESTEAD_DESCRIBE_TOOL)

#include <cmath>
#include <map>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct TMusicSong {
    std::string Folder;
    TLameSong Song;
};

const std::vector<TMusicSong> MusicSongs = {
    {"Pink Floyd/Wish You Were Here (1975)",
     {"01 - Shine On You Crazy Diamond.mp3", 44100, 44100 * 30,
      "-b 128 --tl 'Wish You Were Here' --ti cover.jpg"}},
    {"Pink Floyd/The Wall (1979)/CD1",
     {"01 - In the Flesh.mp3", 44100, 44100 * 4, "-V 2 -t --tl 'The Wall'"}},
    {"Pink Floyd/The Wall (1979)/CD2",
     {"01 - Hey You (Live).mp3", 44100, 44100 * 2, "--freeformat -b 200 --tl 'The Wall'"}},
    {"Rock/Queen/A Night at the Opera",
     {"01 - Bohemian Rhapsody.mp3", 8000, 8000 * 5, "--resample 8 -b 16 -m m"}},
    {"Rock/Queen/A Night at the Opera",
     {"02 - Love of My Life.mp3", 32000, 32000 * 3,
      "--id3v1-only --tt 'Love of My Life' --tl 'A Night at the Opera'"}},
    {"Caf\xC3\xA9/\xC3\x89t\xC3\xA9",
     {"01 - Zo\xC3\xAB et la m\xC3\xA9lodie.mp3", 22050, 22050 * 3,
      "--tt 'Zo\xC3\xAB' --tl '\xC3\x89t\xC3\xA9'"}},
    {"", {"Loose Song of the Collection.mp3", 48000, 48000 * 2, "--tt '\xE6\x9D\xB1\xE4\xBA\xAC'"}},
};
// A download cut short after its header frame: the header still gives the whole song's length.
const TMusicSong CutSong = {"Pink Floyd/Wish You Were Here (1975)",
                            {"02 - Welcome to the Machine.mp3", 44100, 44100 * 8, "-V 2"}};

struct TToolRun {
    int ExitCode = -1;
    std::string Out;
};

// The seconds of a length text such as 2'05"; -1 (and a failure) for any other text.
int LengthSeconds(const std::string& text) {
    const auto apostrophe = text.find('\'');
    if (apostrophe == std::string::npos || apostrophe == 0) {
        ADD_FAILURE() << "no length: " << text;
        return -1;
    }
    return std::stoi(text.substr(0, apostrophe)) * 60 + std::stoi(text.substr(apostrophe + 1, 2));
}

class TMusicCatalogueTest : public TCatalogueGuiTest {
protected:
    TToolRun Describe(const std::string& options = "") const {
        const auto out = Files.Path() / "tool-out.txt";
        const std::string command = "XDG_DATA_HOME='" + (Files.Path() / "data").string() +
                                    "' '" TUNESTEAD_DESCRIBE_TOOL "' " + options + " '" +
                                    Music().string() + "' >'" + out.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TTempDir::Read(out)};
    }
    fs::path Music() const { return Files.Path() / "Music"; }

    void MakeMusic() const {
        fs::create_directories(Music());
        std::string cover = "\xFF\xD8\xFF\xE0";
        cover.resize(1024 * 1024, '\x5A');
        const auto coverFile = Files.Write("cover.jpg", cover);
        for (auto song : MusicSongs) {
            const auto at = song.Song.LameOptions.find("cover.jpg");
            if (at != std::string::npos)
                song.Song.LameOptions.replace(at, 9, "'" + coverFile.string() + "'");
            fs::create_directories(Music() / song.Folder);
            MakeLameSong(Music() / song.Folder, song.Song);
        }
        const auto cut = MakeLameSong(Music() / CutSong.Folder, CutSong.Song);
        fs::resize_file(cut, fs::file_size(cut) / 5);
    }

    // Checks the songs of the album node: lengths within a second of the truth.
    void ExpectAlbum(const TTreeNode* node, const std::vector<const TMusicSong*>& songs) {
        SCOPED_TRACE(node->Text);
        Click(node);
        const TListView* list = MainFrm->ItemsLst;
        ASSERT_EQ(list->RowCount(), static_cast<int>(songs.size()));
        int total = 0;
        for (std::size_t row = 0; row < songs.size(); ++row) {
            const int shown = LengthSeconds(list->SubItem(static_cast<int>(row), 0));
            if (songs[row] == &CutSong)
                EXPECT_LE(shown, CutSong.Song.Seconds() / 3) << list->SubItem(row, 0);
            else
                EXPECT_LE(std::abs(shown - songs[row]->Song.Seconds()), 1.0)
                    << songs[row]->Song.Name << ": " << list->SubItem(static_cast<int>(row), 0);
            total += shown;
        }
        EXPECT_EQ(BarText(MainFrm->SongBar), std::to_string(songs.size()) + " song(s) | " +
                                                 std::to_string(total / 60) + ":" +
                                                 (total % 60 < 10 ? "0" : "") +
                                                 std::to_string(total % 60) + " total play time");
    }

    // Plays the album node with mpv and returns mpv's output.
    std::string Play(const TTreeNode* node) {
        Click(node);
        TPlayerRecord record(Files.Path() / "mpv.fifo", "TUNESTEAD_MPV_LOG");
        EXPECT_TRUE(record.Arm());
        QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
        return record.Read(60000);
    }
};

} // namespace

TEST_F(TMusicCatalogueTest, AMusicFolderAsItIsIsDescribedBesideItAndPlays) {
    if (!LameAvailable())
        GTEST_SKIP() << "lame is not installed (scripts/deps.sh installs it)";
    MakeMusic();
    const auto before = Snapshot(Music());

    const auto first = Describe();
    const auto rootAt = first.Out.find("Catalogue root: ");
    ASSERT_NE(rootAt, std::string::npos) << first.Out;
    const std::string root =
        first.Out.substr(rootAt + 16, first.Out.find('\n', rootAt) - rootAt - 16);
    EXPECT_EQ(root, (Files.Path() / "data/mp3tunestead/catalogues/Music").string());
    EXPECT_EQ(Snapshot(Music()), before);

    const auto player = Files.Write("player/play-with-mpv", MpvPlayerScript);
    fs::permissions(player, fs::perms::owner_all);
    StartOn({root + "/"}, false, player.string());
    FirstReading();
    EXPECT_TRUE(Boxes.empty()) << BoxTexts().front();
    EXPECT_EQ(TreeText(), "Music{Music}; Caf\xE9{\xC9t\xE9}; "
                          "Pink Floyd{The Wall (CD 1)|The Wall (CD 2)|Wish You Were Here}; "
                          "Rock{Queen - A Night at the Opera}");
    EXPECT_EQ(MainFrm->AlbumBar->PanelText(0), "6 album(s)");
    ExpectAlbum(Node(0, 0), {&MusicSongs[6]});
    ExpectAlbum(Node(1, 0), {&MusicSongs[5]});
    ExpectAlbum(Node(2, 0), {&MusicSongs[1]});
    ExpectAlbum(Node(2, 1), {&MusicSongs[2]});
    ExpectAlbum(Node(2, 2), {&MusicSongs[0], &CutSong});
    ExpectAlbum(Node(3, 0), {&MusicSongs[3], &MusicSongs[4]});

    if (OnPath("mpv")) {
        for (const TTreeNode* node : {Node(2, 0), Node(0, 0)}) {
            const std::string output = Play(node);
            EXPECT_NE(output.find("exit code 0\n"), std::string::npos) << output;
            EXPECT_NE(output.find("Playing: " + root), std::string::npos) << output;
        }
    }
    EXPECT_TRUE(Boxes.empty());

    // A re-run, an edited description kept through a re-run, and --prune: the music folder
    // stays as it was.
    const auto again = Describe();
    EXPECT_NE(again.Out.find(" 0 file(s) changed"), std::string::npos) << again.Out;
    const fs::path albumFile = fs::path(root) / "Pink Floyd/The Wall 1979 CD1/descript.ion";
    std::string text = TTempDir::Read(albumFile);
    text.replace(text.find("01 - In the Flesh"), 17, "The opening song ");
    Files.Write(fs::relative(albumFile, Files.Path()).string(), text);
    Describe();
    EXPECT_EQ(TTempDir::Read(albumFile), text);
    Describe("--prune");
    EXPECT_EQ(TTempDir::Read(albumFile), text);
    EXPECT_EQ(Snapshot(Music()), before);
}

#endif
