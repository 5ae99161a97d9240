// A whole album played by a real player (mpv, without sound output) through the program's
// own launch path: Play writes PL_TEMP.M3U and starts the player with it.
#include "tests/gui/CatalogueBuilder.h"
#include "tests/gui/MpvPlayer.h"
#include "tests/support/PlayerRecord.h"

#ifndef _WIN32

#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "playback/Playlist.h"
#include "toolkit/FileDialog.h"
#include "tools/SilentMp3.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

TEST_F(TCatalogueGuiTest, RealPlayerPlaysEveryTrackOfTheDemoAlbum) {
    if (!OnPath("mpv"))
        GTEST_SKIP() << "mpv is not installed (scripts/deps.sh installs it)";
    // The demo's "The Blue Hour", its song files short silent MP3s as the demo tool makes them.
    const std::string songLines = TTempDir::Read(fs::path(TUNESTEAD_SOURCE_DIR) /
                                                 "demo/catalogue/JAZZ/BLUE_HOUR/descript.ion");
    std::vector<std::string> songs;
    Catalogue::TDescLines lines(songLines);
    for (std::string_view line; lines.NextLine(line);)
        songs.emplace_back(Catalogue::ExtractDir(line));
    ASSERT_EQ(songs.size(), 4u);
    const TMp3Format format;
    for (const auto& song : songs)
        Files.Write("music/CAT/ALBUM/" + song, SilentMp3(format, Mp3FrameCount(format, 300)));
    Desc("music", Lines({"CAT  Jazz"}));
    Desc("music/CAT", Lines({"ALBUM  The Blue Hour"}));
    Desc("music/CAT/ALBUM", songLines);
    const auto player = Files.Write("player/play-with-mpv", MpvPlayerScript);
    fs::permissions(player, fs::perms::owner_all);

    TPlayerRecord record(Files.Path() / "mpv.fifo", "TUNESTEAD_MPV_LOG");
    StartOn({Dir("music")}, false, player.string());
    FirstReading();
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 4);
    ASSERT_TRUE(record.Arm());
    QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
    const std::string output = record.Read(60000);

    EXPECT_NE(output.find("exit code 0\n"), std::string::npos) << output;
    std::size_t last = 0;
    for (const auto& song : songs) {
        const std::string playing = "Playing: " + Dir("music/CAT/ALBUM") + song;
        const auto at = output.find(playing);
        EXPECT_NE(at, std::string::npos) << playing << "\n" << output;
        EXPECT_GE(at, last) << "out of order: " << song;
        if (at != std::string::npos)
            last = at;
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TCatalogueGuiTest, RealPlayerPlaysExportedPlaylistsInTheirOrder) {
    if (!OnPath("mpv"))
        GTEST_SKIP() << "mpv is not installed (scripts/deps.sh installs it)";
    const TMp3Format format;
    std::vector<std::string> songs;
    std::string songLines;
    for (const char* name : {"ONE.MP3", "TWO.MP3", "THREE.MP3"}) {
        songs.emplace_back(name);
        Files.Write("music/CAT/ALBUM/" + songs.back(),
                    SilentMp3(format, Mp3FrameCount(format, 300)));
        songLines += TimedSong(name, name, 1) + "\r\n";
    }
    Desc("music", Lines({"CAT  Jazz"}));
    Desc("music/CAT", Lines({"ALBUM  Three Songs"}));
    Desc("music/CAT/ALBUM", songLines);
    const auto player = Files.Write("player/play-with-mpv", MpvPlayerScript);
    fs::permissions(player, fs::perms::owner_all);
    StartOn({Dir("music")}, false, player.string());
    FirstReading();
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 3);
    // The songs dropped into the editor last first, so that the list's order is its own.
    for (int row = 2; row >= 0; --row) {
        MainFrm->ItemsLst->SetSelected(row);
        PlaylistFrm->SelectLstDragDrop(MainFrm->ItemsLst);
    }

    for (const auto& [filter, name] : {std::pair{2, "list.m3u8"}, std::pair{3, "list.pls"}}) {
        SCOPED_TRACE(name);
        const std::string file = (Files.Path() / name).string();
        SetFileDialogHook([&](TFileDialog& dialog) {
            dialog.FileName = file;
            dialog.FilterIndex = filter;
            return true;
        });
        PlaylistFrm->SaveBtn->click();
        SetFileDialogHook(nullptr);
        ASSERT_TRUE(fs::exists(file));

        TPlayerRecord record(Files.Path() / "mpv.fifo", "TUNESTEAD_MPV_LOG");
        ASSERT_TRUE(record.Arm());
        ASSERT_TRUE(MainFrm->StartPlayer(player.string(), file));
        const std::string output = record.Read(60000);
        EXPECT_NE(output.find("exit code 0\n"), std::string::npos) << output;
        std::size_t last = 0;
        for (auto song = songs.rbegin(); song != songs.rend(); ++song) {
            const std::string playing = "Playing: " + Dir("music/CAT/ALBUM") + *song;
            const auto at = output.find(playing);
            EXPECT_NE(at, std::string::npos) << playing << "\n" << output;
            EXPECT_GE(at, last) << "out of order: " << *song;
            if (at != std::string::npos)
                last = at;
        }
    }
    EXPECT_TRUE(Boxes.empty());
}

#endif
