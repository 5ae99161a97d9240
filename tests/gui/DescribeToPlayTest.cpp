// From MP3 folders to a playing album, as a new user goes: real MP3 files made with lame, their
// description files written by mp3tunestead-describe, the program showing the tree, the songs
// with their true lengths and the totals, and mpv playing every track through Play.
#include "tests/gui/CatalogueBuilder.h"
#include "tests/gui/MpvPlayer.h"
#include "tests/support/LameSongs.h"
#include "tests/support/PlayerRecord.h"

#if !defined(_WIN32) && defined(TUNESTEAD_DESCRIBE_TOOL)

#include <cmath>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// One album of four songs: CBR, VBR, mono at 22.05 kHz, and a name the format cannot hold.
const std::string AlbumTag = "--tl '\xC3\x89t\xC3\xA9 \xC3\xA0 Paris' ";
const std::vector<TLameSong> Songs = {
    {"01 cbr.mp3", 44100, 114660, "-b 128 --add-id3v2 " + AlbumTag + "--tt 'Caf\xC3\xA9 au lait'"},
    {"02 vbr.mp3", 44100, 74970,
     "-V 2 --id3v2-utf16 " + AlbumTag + "--tt '\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C'"},
    {"03 mono.mp3", 44100, 101430,
     "--resample 22.05 -m m --add-id3v2 " + AlbumTag +
         "--tt '\xC3\x91"
         "and\xC3\xBA'"},
    {"a long song nam.mp3", 44100, 44100, "-b 128 " + AlbumTag},
};
const std::vector<std::string> Titles = {"Caf\xC3\xA9 au lait",
                                         "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C",
                                         "\xC3\x91"
                                         "and\xC3\xBA"};

int RunDescribe(const std::string& arguments) {
    const std::string command = "'" TUNESTEAD_DESCRIBE_TOOL "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The seconds of a length text such as 2'05".
int LengthSeconds(const std::string& text) {
    const auto apostrophe = text.find('\'');
    return std::stoi(text.substr(0, apostrophe)) * 60 + std::stoi(text.substr(apostrophe + 1, 2));
}

} // namespace

TEST_F(TCatalogueGuiTest, MP3FoldersDescribedShowTheirTrueLengthsAndPlayInMpv) {
    if (!LameAvailable())
        GTEST_SKIP() << "lame is not installed (scripts/deps.sh installs it)";
    const fs::path album = Files.Path() / "music/Chanson/PARIS";
    fs::create_directories(album);
    for (const auto& song : Songs)
        MakeLameSong(album, song);

    // The name of 19 characters cannot be described: the tool says so with its exit code.
    ASSERT_EQ(RunDescribe("--in-place --encoding utf-8 '" + Dir("music") + "'"), 1);
    const auto player = Files.Write("player/play-with-mpv", MpvPlayerScript);
    fs::permissions(player, fs::perms::owner_all);
    StartOn({Dir("music")}, false, player.string());
    FirstReading();
    EXPECT_TRUE(Boxes.empty()) << BoxTexts().front();
    EXPECT_EQ(TreeText(), "Chanson{\xC3\x89t\xC3\xA9 \xC3\xA0 Paris}");
    EXPECT_EQ(MainFrm->AlbumBar->PanelText(0), "1 album(s)");

    Click(Node(0, 0));
    const TListView* list = MainFrm->ItemsLst;
    ASSERT_EQ(list->RowCount(), 3);
    int total = 0;
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(list->Caption(row), "0" + std::to_string(row + 1) + ". " + Titles[row]);
        const int shown = LengthSeconds(list->SubItem(row, 0));
        EXPECT_LE(std::abs(shown - Songs[row].Seconds()), 1.0) << list->SubItem(row, 0);
        EXPECT_EQ(list->SubItem(row, 1), Dir("music/Chanson/PARIS") + Songs[row].Name);
        total += shown;
    }
    const auto twoDigits = [](int value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    const std::string totalText = std::to_string(total / 60) + ":" + twoDigits(total % 60);
    EXPECT_EQ(BarText(MainFrm->SongBar), "3 song(s) | " + totalText + " total play time");
    EXPECT_EQ(MainFrm->AlbumBar->PanelText(1),
              "0:" + twoDigits(total / 60) + ":" + twoDigits(total % 60) + " total play time");

    if (!OnPath("mpv"))
        GTEST_SKIP() << "mpv is not installed (scripts/deps.sh installs it)";
    TPlayerRecord record(Files.Path() / "mpv.fifo", "TUNESTEAD_MPV_LOG");
    ASSERT_TRUE(record.Arm());
    QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
    const std::string output = record.Read(60000);
    EXPECT_NE(output.find("exit code 0\n"), std::string::npos) << output;
    std::size_t last = 0;
    for (int row = 0; row < 3; ++row) {
        const std::string playing = "Playing: " + Dir("music/Chanson/PARIS") + Songs[row].Name;
        const auto at = output.find(playing);
        EXPECT_NE(at, std::string::npos) << playing << "\n" << output;
        EXPECT_GE(at, last) << "out of order: " << Songs[row].Name;
        if (at != std::string::npos)
            last = at;
    }
    EXPECT_TRUE(Boxes.empty());
}

#endif
