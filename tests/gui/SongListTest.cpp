// The song list of the main window: rows, lengths, SongBar totals in each display format,
// the Play controls, the settings written at each listing and the listing's boxes.
#include "tests/gui/CatalogueBuilder.h"

#include "catalogue/Detail.h"

#include <functional>
#include <utility>

class TSongListTest : public TCatalogueGuiTest {
protected:
    // One category "Cat" whose albums are the given folders below music/CAT, in order.
    void StartOnAlbums(const std::vector<std::string>& albums) {
        std::string lines;
        for (const auto& album : albums)
            lines += album + "  " + album + "\r\n";
        Desc("music", Lines({"CAT  Cat"}));
        Desc("music/CAT", lines);
        StartOn({Dir("music")});
        FirstReading();
    }

    // Writes each album's description file from its lines, then starts on all of them.
    template <class TCases, class TLinesOf>
    void StartOnAlbumLines(const TCases& cases, TLinesOf linesOf) {
        std::vector<std::string> albums;
        for (const auto& c : cases) {
            std::string text;
            for (const auto& line : linesOf(c))
                text += line + "\r\n";
            Desc("music/CAT/" + std::string(c.Album), text);
            albums.push_back(c.Album);
        }
        StartOnAlbums(albums);
    }

    std::string AlbumDir(const std::string& album) const { return Dir("music/CAT/" + album); }

    // The rows of album THREE: two timed songs and one without size or bit rate.
    static std::vector<std::string> ThreeSongRows(const std::string& album) {
        return {"01. Three seven | 3'07\" | " + album + "A.MP3",
                "02. Four | 4'00\" | " + album + "B.MP3",
                "03. Forty characters long | Unknown | " + album + "C.MP3"};
    }
};

TEST_F(TSongListTest, AnAlbumListsItsSongsAndACategoryClearsThem) {
    Desc("music/CAT/THREE",
         Lines({TimedSong("A.MP3", "Three seven", 187), TimedSong("B.MP3", "Four", 240),
                PadTo("C.MP3  Forty characters long", 40)}));
    StartOnAlbums({"THREE"});
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    Click(Node(0, 0));
    const std::string album = AlbumDir("THREE");
    EXPECT_EQ(Rows(MainFrm->ItemsLst), ThreeSongRows(album));
    EXPECT_EQ(BarText(MainFrm->SongBar), "3 song(s) | 7:07 total play time");
    EXPECT_TRUE(MainFrm->PlayBtn->isEnabled());
    EXPECT_TRUE(MainFrm->ReplayPop->isEnabled());
    // The last path composed is the working path.
    EXPECT_EQ(MainFrm->CurrentDescPath, album + "C.MP3");

    Click(Node(0));
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    EXPECT_EQ(BarText(MainFrm->SongBar), " | ");
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSongListTest, TotalsFollowTheDisplayFormat) {
    enum { none, hours, minutes, mixed };
    const struct {
        const char* Album;
        std::vector<std::string> Songs;
        int Format;
        const char* MixVal;
        const char* Bar;
    } cases[] = {
        {"UNKNOWN",
         {PadTo("A.MP3  a", 51), PadTo("B.MP3  b", 20)},
         hours,
         "79",
         "2 song(s) | Unknown play time"},
        {"COMMENTS", {"; only", ";comments"}, hours, "79", "0 song(s) | Unknown play time"},
        {"SIXTY_H",
         {TimedSong("A.MP3", "a", 1800), TimedSong("B.MP3", "b", 1800)},
         hours,
         "79",
         "2 song(s) | 1:00:00 total play time"},
        {"SIXTY_M",
         {TimedSong("A.MP3", "a", 1800), TimedSong("B.MP3", "b", 1800)},
         minutes,
         "79",
         "2 song(s) | 60:00 total play time"},
        {"SIXTY_30",
         {TimedSong("A.MP3", "a", 3630)},
         mixed,
         "60",
         "1 song(s) | 60:30 total play time"},
        {"SIXTY_ONE",
         {TimedSong("A.MP3", "a", 3660)},
         mixed,
         "60",
         "1 song(s) | 1:01:00 total play time"},
        {"CARRY",
         {TimedSong("A.MP3", "a", 40), TimedSong("B.MP3", "b", 40), TimedSong("C.MP3", "c", 45)},
         minutes,
         "79",
         "3 song(s) | 2:05 total play time"},
        {"NO_FORMAT",
         {TimedSong("A.MP3", "a", 75 * 60 + 3)},
         none,
         "79",
         "1 song(s) | 75:03 total play time"},
    };
    StartOnAlbumLines(cases, [](const auto& c) { return c.Songs; });
    QRadioButton* buttons[] = {PrefsFrm->HourRdb, PrefsFrm->MinRdb, PrefsFrm->MixRdb};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.Album);
        for (auto* button : buttons)
            button->setAutoExclusive(false);
        for (int b = 0; b < 3; ++b)
            buttons[b]->setChecked(c.Format == b + 1);
        for (auto* button : buttons)
            button->setAutoExclusive(true);
        PrefsFrm->MixValEdt->setText(c.MixVal);
        Click(Node(0, static_cast<int>(i)));
        EXPECT_EQ(BarText(MainFrm->SongBar), c.Bar);
        EXPECT_TRUE(MainFrm->PlayBtn->isEnabled());
        EXPECT_TRUE(MainFrm->ReplayPop->isEnabled());
    }
    // A song's own length is never split into hours.
    EXPECT_EQ(MainFrm->ItemsLst->SubItem(0, 0), "75'03\"");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSongListTest, RowNumbersGrowToThreeDigits) {
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += TimedSong("S" + std::to_string(i) + ".MP3", "Song", 1) + "\r\n";
    Desc("music/CAT/MANY", text);
    StartOnAlbums({"MANY"});
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 100);
    EXPECT_EQ(MainFrm->ItemsLst->Caption(8), "09. Song");
    EXPECT_EQ(MainFrm->ItemsLst->Caption(98), "99. Song");
    EXPECT_EQ(MainFrm->ItemsLst->Caption(99), "100. Song");
    EXPECT_EQ(BarText(MainFrm->SongBar), "100 song(s) | 1:40 total play time");
}

TEST_F(TSongListTest, ListingStoresTheDisplayFormatAndThreshold) {
    Album("music/CAT/A", {10});
    StoreInteger(Settings::DispAlbumTime.Name, 1);
    StoreInteger(Settings::MixVal.Name, 79);
    StartOnAlbums({"A"});
    PrefsFrm->MixRdb->setChecked(true);
    PrefsFrm->MixValEdt->setText("61");
    Click(Node(0, 0));
    EXPECT_EQ(StoredInteger(Settings::DispAlbumTime.Name), 3);
    EXPECT_EQ(StoredInteger(Settings::MixVal.Name), 61);

    // Another format is not stored at listing; the threshold always is.
    PrefsFrm->MinRdb->setChecked(true);
    PrefsFrm->MixValEdt->setText("62");
    Click(Node(0, 0));
    EXPECT_EQ(StoredInteger(Settings::DispAlbumTime.Name), 3);
    EXPECT_EQ(StoredInteger(Settings::MixVal.Name), 62);
}

TEST_F(TSongListTest, AMissingAlbumFileIsReportedUnlessItsNodeIsASyntaxError) {
    Album("music/CAT/HERE", {10});
    Desc("music", Lines({"CAT  Cat"}));
    Desc("music/CAT", Lines({"HERE  Here", "GONE  Gone", "TWENTY_CHARACTERS_XX  x"}));
    StartOn({Dir("music")});
    FirstReading();
    ASSERT_EQ(Boxes.size(), 1u); // the syntax error of the reading
    Boxes.clear();

    Click(Node(0, 0));
    Click(Node(0, 1));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_EQ(Boxes[0].Buttons, mbOK);
    EXPECT_EQ(Boxes[0].Text, "\"" + Dir("music/CAT") + P("GONE/descript.ion") +
                                 "\" file missing.\r Description files are required in every "
                                 "directory.");
    EXPECT_EQ(MainFrm->CurrentDescPath, Dir("music/CAT") + P("GONE/descript.ion"));
    // Nothing of the album before stays shown or playable.
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    EXPECT_EQ(BarText(MainFrm->SongBar), " | ");
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());

    Click(Node(0, 2));
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
}

TEST_F(TSongListTest, AThresholdThatIsNoNumberKeepsTheRowsAndReportsTheError) {
    Album("music/CAT/A", {10, 20});
    Album("music/CAT/B", {30, 40, 50});
    StartOnAlbums({"A", "B"});
    Click(Node(0, 0));
    PrefsFrm->MixValEdt->setText("abc");
    Click(Node(0, 1));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Boxes[0].Buttons, mbOK);
    EXPECT_EQ(Boxes[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 3);
    EXPECT_EQ(BarText(MainFrm->SongBar), "2 song(s) | 0:30 total play time");
}

TEST_F(TSongListTest, KeysUsedInTheTreeRefillTheList) {
    Album("music/CAT/A", {10});
    Album("music/CAT/B", {20, 30});
    StartOnAlbums({"A", "B"});
    MainFrm->TreeLst->setFocus();
    MainFrm->TreeLst->Select(Node(0, 0));
    QTest::keyClick(MainFrm->TreeLst, Qt::Key_Down);
    EXPECT_EQ(MainFrm->TreeLst->Selected(), Node(0, 1));
    EXPECT_EQ(BarText(MainFrm->SongBar), "2 song(s) | 0:50 total play time");

    // The file is read again at each listing, whatever the key.
    Album("music/CAT/B", {20, 30, 40});
    QTest::keyClick(MainFrm->TreeLst, Qt::Key_Down);
    EXPECT_EQ(BarText(MainFrm->SongBar), "3 song(s) | 1:30 total play time");

    MainFrm->TreeLst->Select(Node(0));
    QTest::keyClick(MainFrm->TreeLst, Qt::Key_Shift);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
}

TEST_F(TSongListTest, TheReleaseOfAKeyPressedElsewhereListsNothing) {
    Album("music/CAT/A", {10});
    StartOnAlbums({"A", "GONE"});
    MainFrm->TreeLst->setFocus();
    Click(Node(0, 1));
    ASSERT_EQ(Boxes.size(), 1u);
    // Enter closes the box when pressed; its release then comes to the tree. Taking it for a
    // key used in the tree would list the album again and open the same box, again and again.
    QTest::keyRelease(MainFrm->TreeLst, Qt::Key_Return);
    EXPECT_EQ(Boxes.size(), 1u);
    MainFrm->TreeLst->Select(Node(0, 0));
    QTest::keyRelease(MainFrm->TreeLst, Qt::Key_Return);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    // A key pressed and released in the tree lists the album.
    QTest::keyClick(MainFrm->TreeLst, Qt::Key_Shift);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 1);
}

TEST_F(TSongListTest, EveryKindOfLineEndListsTheSameSongs) {
    StartOnAlbums({"THREE"});
    const std::string album = AlbumDir("THREE");
    for (const auto ends : AllLineEnds) {
        SCOPED_TRACE(LineEndsName(ends));
        LineEnds = ends;
        Desc("music/CAT/THREE",
             Lines({TimedSong("A.MP3", "Three seven", 187), "", "; comment",
                    TimedSong("B.MP3", "Four", 240), PadTo("C.MP3  Forty characters long", 40)}));
        Click(Node(0, 0));
        EXPECT_EQ(Rows(MainFrm->ItemsLst), ThreeSongRows(album));
        EXPECT_EQ(BarText(MainFrm->SongBar), "3 song(s) | 7:07 total play time");
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSongListTest, AFileOfTenThousandSingleBlankLinesGivesOneBoxInEachListing) {
    std::string songs;
    for (int i = 0; i < 10000; ++i)
        songs += "Song " + std::to_string(i) + ".mp3 a song\r\n";
    Desc("music/CAT/MANY", songs);
    StartOnAlbums({"MANY"});
    const std::string error = SyntaxNode(AlbumDir("MANY"));
    for (const std::size_t listing : {1u, 2u}) {
        Click(Node(0, 0));
        ASSERT_EQ(Boxes.size(), listing);
        EXPECT_EQ(Boxes.back().Text, SyntaxBox(AlbumDir("MANY")));
        ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 10000);
        EXPECT_EQ(MainFrm->ItemsLst->Caption(9999), "10000. " + error);
        EXPECT_EQ(BarText(MainFrm->SongBar), "10000 song(s) | Unknown play time");
    }
}

TEST_F(TSongListTest, AClickBelowTheLastNodeListsTheSelectedAlbumAgainOrClearsTheList) {
    Album("music/CAT/A", {10});
    StartOnAlbums({"A"});
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 1);
    const QPoint below(5, MainFrm->TreeLst->viewport()->height() - 5);
    ASSERT_FALSE(MainFrm->TreeLst->indexAt(below).isValid());
    const auto clickBelow = [&below] {
        QTest::mouseClick(MainFrm->TreeLst->viewport(), Qt::LeftButton, {}, below);
    };

    // The selected album is read again from the disk.
    Album("music/CAT/A", {10, 20});
    clickBelow();
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 2);
    EXPECT_EQ(BarText(MainFrm->SongBar), "2 song(s) | 0:30 total play time");
    std::filesystem::remove(AlbumDir("A") + "descript.ion");
    clickBelow();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "\"" + AlbumDir("A") +
                                 "descript.ion\" file missing.\r Description "
                                 "files are required in every directory.");
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);

    // With no album selected, the list and SongBar are emptied and Play is disabled.
    Album("music/CAT/A", {10});
    Click(Node(0, 0));
    ASSERT_TRUE(MainFrm->PlayBtn->isEnabled());
    MainFrm->TreeLst->Select(nullptr);
    ASSERT_EQ(MainFrm->TreeLst->Selected(), nullptr);
    clickBelow();
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    EXPECT_EQ(BarText(MainFrm->SongBar), " | ");
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());
    // A right click is no click of the tree.
    Click(Node(0, 0));
    Album("music/CAT/A", {10, 20});
    QTest::mouseClick(MainFrm->TreeLst->viewport(), Qt::RightButton, {}, below);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 1);
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(TSongListTest, TheFaultyRowIsListedWithItsLengthAndPathBeforeItsSyntaxErrorBox) {
    const struct {
        const char* Album;
        std::vector<std::string> Lines;
        int RowsAtBox;
    } cases[] = {
        {"FIRST", {"A.MP3 faulty", TimedSong("B.MP3", "Fine", 60)}, 1},
        {"THIRD",
         {TimedSong("A.MP3", "One", 60), TimedSong("B.MP3", "Two", 60), "C.MP3 faulty",
          "D.MP3 faulty too"},
         3},
    };
    StoreString(Settings::SearchBase.Name, Dir("music"));
    StartOnAlbumLines(cases, [](const auto& c) { return c.Lines; });
    TListView* list = nullptr;
    std::vector<int> rowsAtBox;
    std::string lastRowAtBox;
    SetMessageBoxHook([&](const TMessageBox& box) {
        rowsAtBox.push_back(list->RowCount());
        lastRowAtBox = list->RowCount() > 0 ? Row(list, list->RowCount() - 1) : "";
        Boxes.push_back(box);
        return mrOk;
    });
    // The main list through a click in the tree, the detail window through the search.
    const auto listInMain = [&](int album) {
        list = MainFrm->ItemsLst;
        Click(Node(0, album));
    };
    const auto listInDetail = [&](int album) {
        list = DetailFrm->DetailResLst;
        MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
        MainFrm->SearchEdt->setText(QString::fromLatin1(cases[album].Album));
        QTest::mouseClick(MainFrm->Button1, Qt::LeftButton);
        ASSERT_EQ(MainFrm->SearchResLst->RowCount(), 1);
        const QRect place =
            MainFrm->SearchResLst->visualItemRect(MainFrm->SearchResLst->topLevelItem(0));
        QTest::mouseDClick(MainFrm->SearchResLst->viewport(), Qt::LeftButton, {}, place.center());
    };
    OnModal = [](TForm& form) { form.SetModalResult(mrOk); };
    const std::pair<const char*, std::function<void(int)>> listings[] = {
        {"main list", listInMain}, {"detail window", listInDetail}};
    for (const auto& [where, listing] : listings) {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(std::string(where) + " " + cases[i].Album);
            rowsAtBox.clear();
            Boxes.clear();
            listing(static_cast<int>(i));
            EXPECT_EQ(rowsAtBox, std::vector<int>{cases[i].RowsAtBox});
            ASSERT_EQ(list->RowCount(), static_cast<int>(cases[i].Lines.size()));
            ASSERT_EQ(Boxes.size(), 1u);
            EXPECT_EQ(Boxes[0].Text, SyntaxBox(AlbumDir(cases[i].Album)));
            // At the box the row had its length and path; its caption came after.
            const int faulty = cases[i].RowsAtBox - 1;
            EXPECT_EQ(lastRowAtBox,
                      " | " + list->SubItem(faulty, 0) + " | " + list->SubItem(faulty, 1));
            EXPECT_EQ(list->SubItem(faulty, 1).rfind(AlbumDir(cases[i].Album), 0), 0u);
            EXPECT_EQ(list->Caption(faulty), "0" + std::to_string(faulty + 1) + ". " +
                                                 SyntaxNode(AlbumDir(cases[i].Album)));
        }
    }
}
