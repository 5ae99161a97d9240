// The play commands of the main window with a fake player: what the player receives, the
// bytes of PL_TEMP.M3U, the play modes, "Re&play", minimising and the failures.
#include "tests/gui/CatalogueBuilder.h"
#include "tests/support/PlayerRecord.h"
#include "tests/support/SystemErrors.h"

#include "playback/Playlist.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {
const std::string FakePlayer = FakePlayerPath();
} // namespace

class TPlayTest : public TCatalogueGuiTest {
protected:
    void SetUp() override {
        TCatalogueGuiTest::SetUp();
        Record.emplace(Files.Path() / "player.fifo", "TUNESTEAD_FAKE_PLAYER_LOG");
    }
    void TearDown() override {
        Record.reset();
        TCatalogueGuiTest::TearDown();
    }

    // Category "Cat" with the albums given as folder name and song file names.
    void StartOnAlbums(const std::vector<std::pair<std::string, std::vector<std::string>>>& albums,
                       const std::string& player = FakePlayer) {
        std::string categoryLines;
        for (const auto& [album, songs] : albums) {
            categoryLines += album + "  " + album + "\r\n";
            std::string songLines;
            for (const auto& song : songs)
                songLines += TimedSong(song, song, 60) + "\r\n";
            Desc("music/CAT/" + album, songLines);
        }
        Desc("music", Lines({"CAT  Cat"}));
        Desc("music/CAT", categoryLines);
        StartOn({Dir("music")}, false, player);
        FirstReading();
    }

    std::string SongPath(const std::string& album, const std::string& song) const {
        return Dir("music/CAT/" + album) + song;
    }

    std::string TempPlaylist() const { return (ProgramFolder() / "PL_TEMP.M3U").string(); }

    // Presses Play with a real click and returns what the player received.
    std::string PlayAndRecord() {
        EXPECT_TRUE(Record->Arm());
        QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
        return Record->Read();
    }

    static std::string Received(const std::string& parameter) {
        return TPlayerRecord::Field("arg", parameter) +
               TPlayerRecord::Field("cwd", fs::current_path().string());
    }

    static std::string CrLf(const std::vector<std::string>& paths) {
        std::string text;
        for (const auto& path : paths)
            text += path + "\r\n";
        return text;
    }

    // The lines of PL_TEMP.M3U.
    std::vector<std::string> PlaylistLines() const {
        const std::string text = TTempDir::Read(TempPlaylist());
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();) {
            const auto end = text.find("\r\n", start);
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    std::optional<TPlayerRecord> Record;
};

TEST_F(TPlayTest, ASelectedSongAloneReachesThePlayerInEveryMode) {
    StartOnAlbums({{"ALBUM", {"ONE.MP3", "TWO.MP3", "THREE.MP3"}}});
    Files.Write("program/PL_TEMP.M3U", "earlier bytes\r\n");
    Click(Node(0, 0));
    for (QRadioButton* mode :
         {MainFrm->SequencialRdb, MainFrm->LocalRandomRdb, MainFrm->FullRandomRdb}) {
        SCOPED_TRACE(mode->text().toStdString());
        mode->setChecked(true);
        MainFrm->ItemsLst->SetSelected(1);
        EXPECT_EQ(PlayAndRecord(), Received(SongPath("ALBUM", "TWO.MP3")));
        EXPECT_EQ(TTempDir::Read(TempPlaylist()), "earlier bytes\r\n");
    }
    EXPECT_FALSE(MainFrm->PlayedFromPlaylist);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlayTest, SequentialPlayWritesEveryPathInListOrder) {
    std::vector<std::string> songs, paths;
    for (int i = 0; i < 10; ++i) {
        songs.push_back("SONG" + std::to_string(i) + ".MP3");
        paths.push_back(SongPath("TEN", songs.back()));
    }
    StartOnAlbums({{"TEN", songs}, {"EMPTY", {}}});
    Click(Node(0, 0));
    EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), CrLf(paths));

    // An album without songs still starts the player, with an empty playlist.
    Click(Node(0, 1));
    EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), "");
}

TEST_F(TPlayTest, RandomModesShuffleWithinTheirBounds) {
    std::vector<std::string> songs, albumX, otherB;
    for (int i = 1; i <= 12; ++i)
        songs.push_back("ALBUMX" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".MP3");
    for (int i = 1; i <= 5; ++i)
        songs.push_back("OTHERB0" + std::to_string(i) + ".MP3");
    for (const auto& song : songs)
        (song[0] == 'A' ? albumX : otherB).push_back(SongPath("RUNS", song));
    StartOnAlbums({{"RUNS", songs}, {"ONE", {"ONLY.MP3"}}});

    MainFrm->LocalRandomRdb->setChecked(true);
    Click(Node(0, 0));
    EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
    auto lines = PlaylistLines();
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_TRUE(std::is_permutation(lines.begin(), lines.begin() + 12, albumX.begin()));
    EXPECT_TRUE(std::is_permutation(lines.begin() + 12, lines.end(), otherB.begin()));

    MainFrm->FullRandomRdb->setChecked(true);
    Click(Node(0, 1));
    EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), CrLf({SongPath("ONE", "ONLY.MP3")}));
}

TEST_F(TPlayTest, ReplayRepeatsASongWhileSelectedThenTheNewAlbum) {
    StartOnAlbums({{"FIRST", {"A.MP3", "B.MP3"}}, {"SECOND", {"C.MP3", "D.MP3"}}});
    Click(Node(0, 0));
    MainFrm->ItemsLst->SetSelected(0);
    EXPECT_EQ(PlayAndRecord(), Received(SongPath("FIRST", "A.MP3")));

    ASSERT_TRUE(Record->Arm());
    MainFrm->ReplayPop->trigger();
    EXPECT_EQ(Record->Read(), Received(SongPath("FIRST", "A.MP3")));
    EXPECT_FALSE(fs::exists(TempPlaylist()));

    Click(Node(0, 1));
    ASSERT_TRUE(Record->Arm());
    MainFrm->ReplayPop->trigger();
    EXPECT_EQ(Record->Read(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()),
              CrLf({SongPath("SECOND", "C.MP3"), SongPath("SECOND", "D.MP3")}));
}

TEST_F(TPlayTest, PlayMinimisesOnlyWhenAskedTo) {
    StartOnAlbums({{"ALBUM", {"A.MP3"}}});
    Click(Node(0, 0));
    for (const bool minimise : {false, true}) {
        SCOPED_TRACE(minimise);
        PrefsFrm->TrayMinChk->setChecked(minimise);
        EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
        EXPECT_EQ(Application()->Minimized(), minimise);
        EXPECT_EQ(MainFrm->isMinimized(), minimise);
    }
}

TEST_F(TPlayTest, APlayerThatDoesNotStartIsReportedAndTheWindowStays) {
    StartOnAlbums({{"ALBUM", {"A.MP3"}}});
    Click(Node(0, 0));
    PrefsFrm->TrayMinChk->setChecked(true);
    const std::string missing = (Files.Path() / "no such player").string();
    const struct {
        std::string Player;
        std::string Text;
    } cases[] = {
        {"", "No MP3 player is set.\rChoose one under Preferences, on the \"Files location\" "
             "page (right-click the main window)."},
        {missing, "The MP3 player \"" + missing + "\" could not be started.\r" +
                      SystemReason(SystemFileNotFound)},
#ifndef _WIN32
        // Windows opens a folder in its file manager.
        {Files.Path().string(), "The MP3 player \"" + Files.Path().string() +
                                    "\" could not be started.\rPermission denied"},
#endif
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.Player);
        PrefsFrm->PlayerNameEdt->SetText(item.Player);
        for (const bool songSelected : {false, true}) {
            Boxes.clear();
            MainFrm->PlayedFromPlaylist = true;
            MainFrm->ItemsLst->SetSelected(songSelected ? 0 : -1);
            QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
            ASSERT_EQ(Boxes.size(), 1u);
            EXPECT_EQ(Boxes[0].Caption, "Error");
            EXPECT_EQ(Boxes[0].Icon, miError);
            EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbOK));
            EXPECT_EQ(Boxes[0].Text, item.Text);
            EXPECT_FALSE(Application()->Minimized());
            EXPECT_FALSE(MainFrm->isMinimized());
            EXPECT_TRUE(MainFrm->PlayedFromPlaylist);
        }
    }
}

TEST_F(TPlayTest, APlaylistThatCannotBeWrittenStopsThePlay) {
    StartOnAlbums({{"ALBUM", {"A.MP3", "B.MP3"}}});
    Click(Node(0, 0));
    // The program's folder refuses the file: the per-user folder takes it.
    fs::create_directory(TempPlaylist());
#ifdef _WIN32
    const std::string fallback = (Files.Path() / "data" / "MP3 Tunestead" / "PL_TEMP.M3U").string();
#else
    const std::string fallback = (Files.Path() / "data/mp3tunestead/PL_TEMP.M3U").string();
#endif
    EXPECT_EQ(PlayAndRecord(), Received(fallback));
    EXPECT_EQ(TTempDir::Read(fallback),
              CrLf({SongPath("ALBUM", "A.MP3"), SongPath("ALBUM", "B.MP3")}));

    // Both refuse it: the error box names the file error and no player starts.
    fs::remove(fallback);
    fs::create_directory(fallback);
    MainFrm->PlayedFromPlaylist = true;
    ASSERT_TRUE(Record->Arm());
    QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Boxes[0].Text, "File access denied.");
    EXPECT_TRUE(MainFrm->PlayedFromPlaylist);
    // The next player's record is the first one: the failed play started none.
    MainFrm->ItemsLst->SetSelected(1);
    QTest::mouseClick(MainFrm->PlayBtn, Qt::LeftButton);
    EXPECT_EQ(Record->Read(), Received(SongPath("ALBUM", "B.MP3")));
}

TEST_F(TPlayTest, PathsReachThePlayerAsOneUnchangedArgument) {
#ifdef _WIN32
    // Windows forbids quotes, tabs and line feeds in names; its own specials are % ^ & ! ( ).
    const std::string odd = "a b 'x' ;&^%PATH%! (y) $(touch PWNED)";
    const std::string player = (Files.Path() / "player a b 'x' (y)" / "fake player.exe").string();
    const std::vector<std::string> songs = {"a b.mp3", "p%PATH%.mp3", "s;c $(x).mp3", "a&b^c!.mp3",
                                            "(x) y.mp3"};
#else
    const std::string odd = "a b \"q\" 'x' ;$(touch PWNED) `id`\nline \xE9\xC3\xA9";
    const std::string player =
        (Files.Path() / "player a b \"q\" 'x' ;$(touch PWNED) `id` \xC3\xA9" / "fake player")
            .string();
    // A line feed ends a line of a description file, so no song name holds one; a tab can.
    const std::vector<std::string> songs = {"a b.mp3", "q\"u'o.mp3", "s;c $(x).mp3", "t\tb.mp3",
                                            "\xE9t\xE9 \xC3\xA9.mp3"};
#endif
    fs::create_directories(fs::path(player).parent_path());
    fs::copy_file(FakePlayer, player);
    Desc("root " + odd, Lines({"CAT  Cat"}));
    std::string songLines;
    for (const auto& song : songs)
        songLines += TimedSong(song, "song", 60) + "\r\n";
    Desc("root " + odd + "/CAT", Lines({"ALBUM  Album"}));
    Desc("root " + odd + "/CAT/ALBUM", songLines);
    StartOn({}, false, player);
    // A root with a line feed cannot be stored as a setting, but the live list holds it.
    PrefsFrm->MP3PathLst->AddSorted(Dir("root " + odd));
    FirstReading();
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 5);
    std::vector<std::string> paths;
    for (int row = 0; row < 5; ++row) {
        paths.push_back(Dir("root " + odd + "/CAT/ALBUM") + songs[static_cast<std::size_t>(row)]);
        SCOPED_TRACE(paths.back());
        MainFrm->ItemsLst->SetSelected(row);
        EXPECT_EQ(PlayAndRecord(), Received(paths.back()));
    }
    MainFrm->ItemsLst->SetSelected(-1);
    EXPECT_EQ(PlayAndRecord(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), CrLf(paths));
    EXPECT_FALSE(fs::exists(fs::current_path() / "PWNED"));
}

TEST_F(TPlayTest, DoubleClicksPlayAnAlbumOrWarn) {
    StartOnAlbums({{"ALBUM", {"A.MP3", "B.MP3"}}});
    // On a category: nothing is played.
    Click(Node(0));
    QTest::mouseDClick(MainFrm->TreeLst->viewport(), Qt::LeftButton, {},
                       MainFrm->TreeLst->visualRect(MainFrm->TreeLst->currentIndex()).center());
    EXPECT_FALSE(fs::exists(TempPlaylist()));

    // On an album: its click lists it and the double-click plays it whole.
    MainFrm->TreeLst->expandAll();
    ASSERT_TRUE(Record->Arm());
    const QPoint album = MainFrm->TreeLst
                             ->visualRect(MainFrm->TreeLst->model()->index(
                                 0, 0, MainFrm->TreeLst->model()->index(0, 0, {})))
                             .center();
    QTest::mouseClick(MainFrm->TreeLst->viewport(), Qt::LeftButton, {}, album);
    QTest::mouseDClick(MainFrm->TreeLst->viewport(), Qt::LeftButton, {}, album);
    EXPECT_EQ(Record->Read(), Received(TempPlaylist()));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()),
              CrLf({SongPath("ALBUM", "A.MP3"), SongPath("ALBUM", "B.MP3")}));

    // In the song list with no song selected: a warning.
    MainFrm->ItemsLst->SetSelected(-1);
    QTest::mouseDClick(MainFrm->ItemsLst->viewport(), Qt::LeftButton, {},
                       QPoint(5, MainFrm->ItemsLst->viewport()->height() - 5));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Buttons, mbCancel);
    EXPECT_EQ(Boxes[0].Text, "You must select a song first.");
}

TEST_F(TPlayTest, PlayListButtonShowsTheEditorBesideTheMainWindow) {
    StartOnAlbums({{"ALBUM", {"A.MP3"}}});
    MainFrm->move(120, 80);
    QTest::mouseClick(MainFrm->Button2, Qt::LeftButton);
    EXPECT_TRUE(PlaylistFrm->isVisible());
    EXPECT_EQ(PlaylistFrm->pos(), QPoint(639, 80));
}
