// Reading the catalogue into the album tree through the windows: tree texts and order, node
// data, AlbumBar, the reader's boxes, and the "Reading album tree..." window that runs it.
#include "tests/gui/CatalogueBuilder.h"

#include "platform/Errors.h"

class TCatalogueTest : public TCatalogueGuiTest {
protected:
    // Two categories: Rock (albums of 3:07 and 4:00, and one without its file) and Jazz (one
    // album of 1:00).
    void WriteSmall(const std::string& relative) const {
        Desc(relative, Lines({"; styles", "ROCK  Rock", "JAZZ  Jazz"}));
        Desc(relative + "/ROCK", Lines({"ALB1  First", "ALB2  Second", "GONE  No file"}));
        Album(relative + "/ROCK/ALB1", {187});
        Album(relative + "/ROCK/ALB2", {240});
        Desc(relative + "/JAZZ", Lines({"BLUE  Blue"}));
        Album(relative + "/JAZZ/BLUE", {60});
    }
};

TEST_F(TCatalogueTest, RootWithOrWithoutTrailingDelimiterReadsTheSameTree) {
    WriteSmall("music");
    const std::string root = Dir("music");
    const std::string withoutDelimiter = root.substr(0, root.size() - 1);
    for (const std::string& entry : {root, withoutDelimiter, root + P("/")}) {
        SCOPED_TRACE(entry);
        StartOn({entry});
        FirstReading();
        EXPECT_EQ(TreeText(), "Rock{First|Second|No file}; Jazz{Blue}");
        EXPECT_FALSE(Node(0)->Data.has_value());
        EXPECT_EQ(Node(0, 0)->Data, root + P("ROCK/ALB1"));
        EXPECT_EQ(Node(0, 2)->Data, root + P("ROCK/GONE"));
        EXPECT_EQ(Node(1, 0)->Data, root + P("JAZZ/BLUE"));
        // The album without its file is counted and adds nothing; no box.
        EXPECT_EQ(BarText(MainFrm->AlbumBar), "4 album(s) | 0:08:07 total play time");
        EXPECT_TRUE(Boxes.empty());
        EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
        EXPECT_FALSE(StatusFrm->isVisible());
        StopForms();
    }
}

TEST_F(TCatalogueTest, AReadingThatOpensNoRootKeepsAlbumBarAndEmptiesTheRest) {
    WriteSmall("music");
    StartOn({Dir("music")});
    FirstReading();
    Click(Node(0, 0));
    ASSERT_TRUE(MainFrm->PlayBtn->isEnabled());

    for (const bool emptyList : {false, true}) {
        SCOPED_TRACE(emptyList);
        PrefsFrm->MP3PathLst->Clear();
        if (!emptyList)
            PrefsFrm->MP3PathLst->AddSorted(Dir("nowhere"));
        Refresh();
        EXPECT_EQ(MainFrm->TreeLst->TopCount(), 0);
        EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
        EXPECT_EQ(BarText(MainFrm->AlbumBar), "4 album(s) | 0:08:07 total play time");
        EXPECT_EQ(BarText(MainFrm->SongBar), " | ");
        EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
        EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TCatalogueTest, TwoRootsShowTheFirstRootsTotalsThenTheSum) {
    Desc("a", Lines({"CAT  One"}));
    Desc("a/CAT", Lines({"X1  x1", "X2  x2", "X3  x3"}));
    Album("a/CAT/X1", {100});
    Desc("b", Lines({"MISSING  Missing", "CAT  Two"}));
    Desc("b/CAT", Lines({"Y1  y1", "Y2  y2", "Y3  y3", "Y4  y4"}));
    Album("b/CAT/Y4", {3600, 5});
    StartOn({Dir("a"), Dir("b")});
    std::vector<std::string> barAtBox;
    SetMessageBoxHook([&barAtBox](const TMessageBox&) {
        barAtBox.push_back(BarText(MainFrm->AlbumBar));
        return mrOk;
    });
    FirstReading();
    // The box of the second root's missing category comes after the first root is done.
    EXPECT_EQ(barAtBox, std::vector<std::string>{"3 album(s) | 0:01:40 total play time"});
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "7 album(s) | 1:01:45 total play time");
    EXPECT_EQ(TreeText(), "One{x1|x2|x3}; Missing{}; Two{y1|y2|y3|y4}");
}

TEST_F(TCatalogueTest, SecondsAndMinutesCarryIntoHours) {
    Desc("music", Lines({"CAT  Cat"}));
    Desc("music/CAT", Lines({"A1  a1", "A2  a2"}));
    Album("music/CAT/A1", {59 * 60 + 30});
    Album("music/CAT/A2", {30});
    StartOn({Dir("music")});
    FirstReading();
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "2 album(s) | 1:00:00 total play time");
}

TEST_F(TCatalogueTest, SortingOrdersCategoriesAndAlbumsOnlyWhenChecked) {
    Desc("music", Lines({"R  Rock", "J  Jazz", "B  Blues"}));
    Desc("music/R", Lines({"Z  Zeta", "A  Alpha", "M  Mid"}));
    Desc("music/J", Lines({"Y  Yes", "N  No"}));
    Desc("music/B", Lines({}));
    const struct {
        bool Sorted;
        const char* Tree;
        const char* FirstAlbumPath;
    } cases[] = {
        {false, "Rock{Zeta|Alpha|Mid}; Jazz{Yes|No}; Blues{}", "R/Z"},
        {true, "Blues{}; Jazz{No|Yes}; Rock{Alpha|Mid|Zeta}", "J/N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Sorted);
        StartOn({Dir("music")}, c.Sorted);
        FirstReading();
        EXPECT_EQ(TreeText(), c.Tree);
        const TTreeNode* first =
            MainFrm->TreeLst->Top(0)->Children.empty() ? Node(1, 0) : Node(0, 0);
        EXPECT_EQ(first->Data, Dir("music") + P(c.FirstAlbumPath));
        EXPECT_EQ(MainFrm->TreeLst->SortByText(), c.Sorted);
        StopForms();
    }
}

TEST_F(TCatalogueTest, OnlyASemicolonInColumnOneMakesAComment) {
    Desc("music", Lines({";JAZZ  Jazz", " ;JAZZ  Jazz after a blank"}));
    Desc("music/ ;JAZZ", Lines({"A  Album"}));
    StartOn({Dir("music")});
    FirstReading();
    EXPECT_EQ(TreeText(), "Jazz after a blank{Album}");
    EXPECT_EQ(Node(0, 0)->Data, Dir("music") + P(" ;JAZZ/A"));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TCatalogueTest, SyntaxErrorsAreReportedAndTheirDirectoriesStillRead) {
    // A 19-character name: the two-space run starts in column 20.
    Desc("music", Lines({"NINETEEN_CHARACTERS  Too long", "ROCK  Rock"}));
    Desc("music/NINETEEN_CHARACTERS", Lines({"A  Under the error"}));
    Desc("music/ROCK", Lines({"LONG_ALBUM_NAME_HERE  x", "B  Fine"}));
    StartOn({Dir("music")});
    FirstReading();
    const std::string root = Dir("music");
    const std::string rock = Dir("music/ROCK");
    EXPECT_EQ(TreeText(),
              SyntaxNode(root) + "{Under the error}; Rock{" + SyntaxNode(rock) + "|Fine}");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{SyntaxBox(root), SyntaxBox(rock)}));
    for (const auto& box : Boxes) {
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Buttons, mbOK);
    }
    // The file-name field of a failing line still makes the album's path.
    EXPECT_EQ(Node(1, 0)->Data, rock + "LONG_ALBUM_NAME_HERE");
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "3 album(s) | 0:00:00 total play time");
}

TEST_F(TCatalogueTest, ALineWithoutTwoBlanksReadsItsRootAgainAsItsCategory) {
    Desc("music", Lines({"NORUN", "ROCK  Rock"}));
    Desc("music/ROCK", Lines({"A  Album"}));
    StartOn({Dir("music")});
    FirstReading();
    const std::string root = Dir("music");
    EXPECT_EQ(TreeText(), SyntaxNode(root) + "{" + SyntaxNode(root) + "|Rock}; Rock{Album}");
    EXPECT_EQ(Node(0, 0)->Data, root);
    EXPECT_EQ(Node(0, 1)->Data, root + "ROCK");
    // The root's file read again as the category's is the same file: one box for both.
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{SyntaxBox(root)}));
}

TEST_F(TCatalogueTest, AMissingCategoryFileIsReportedAndItsNodeStays) {
    Desc("music", Lines({"GONE  Gone", "ROCK  Rock"}));
    Desc("music/ROCK", Lines({"A  Album"}));
    StartOn({Dir("music")});
    FirstReading();
    EXPECT_EQ(TreeText(), "Gone{}; Rock{Album}");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes[0].Buttons, mbOK);
    EXPECT_EQ(Boxes[0].Text, "\"" + Dir("music") + P("GONE/descript.ion") +
                                 "\" file missing.\r Description files are required in every "
                                 "directory. ");
}

TEST_F(TCatalogueTest, NodesWithEmptyDescriptionsShowTheirFileName) {
    // Both fields empty: the line's own text stands for the node.
    Desc("music", Lines({"ROCK  ", "JAZZ     ", "  " + std::string(53, ' ') + "12"}));
    Desc("music/ROCK", Lines({"ALB1", "ALB2  Named", "ALB3  " + std::string(40, ' ')}));
    Desc("music/JAZZ", Lines({}));
    StartOn({Dir("music")});
    FirstReading();
    // "ALB1" has no two-space run: a syntax error, not an empty description.
    EXPECT_EQ(TreeText(),
              "ROCK{" + SyntaxNode(Dir("music/ROCK")) + "|Named|ALB3}; JAZZ{}; 12{ROCK|JAZZ|12}");
}

TEST_F(TCatalogueTest, EveryKindOfLineEndReadsTheSameTree) {
    StartOn({Dir("music")});
    const std::string jazz = Dir("music/JAZZ");
    for (const auto ends : AllLineEnds) {
        SCOPED_TRACE(LineEndsName(ends));
        LineEnds = ends;
        WriteSmall("music");
        Desc("music/JAZZ", Lines({"BLUE  Blue", "", "; comment", "SINGLE BLANKS", "RED  Red"}));
        Boxes.clear();
        Refresh();
        EXPECT_EQ(TreeText(),
                  "Rock{First|Second|No file}; Jazz{Blue|" + SyntaxNode(jazz) + "|Red}");
        EXPECT_EQ(Node(1, 2)->Data, jazz + "RED");
        EXPECT_EQ(BarText(MainFrm->AlbumBar), "6 album(s) | 0:08:07 total play time");
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{SyntaxBox(jazz)}));
    }
}

TEST_F(TCatalogueTest, AFileOfTenThousandSingleBlankLinesGivesOneBoxAndTheReadingEnds) {
    // Each line names no folder, so each album reads the category's own file for its time.
    std::string albums;
    for (int i = 0; i < 10000; ++i)
        albums += "ALBUM " + std::to_string(i) + "\r\n";
    Desc("music", Lines({"CAT  Cat"}));
    Desc("music/CAT", albums);
    StartOn({Dir("music")});
    FirstReading();
    const std::string category = Dir("music/CAT");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{SyntaxBox(category)}));
    const auto& children = MainFrm->TreeLst->Top(0)->Children;
    ASSERT_EQ(children.size(), 10000u);
    EXPECT_EQ(children.back()->Text, SyntaxNode(category));
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "10000 album(s) | 0:00:00 total play time");
    EXPECT_FALSE(StatusFrm->isVisible());
}

TEST_F(TCatalogueTest, TenThousandFaultyFilesGiveTenThousandBoxesInOneReading) {
    // The reader knows a description file by its path: ten thousand category paths of the form
    // x/../y/../z through 22 folders are ten thousand files to it, and cost no more than those
    // 22 folders to write.
    const std::string letters = "abcdefghijklmnopqrstuv";
    for (const char letter : letters)
        Files.Write("music/" + std::string(1, letter) + "/descript.ion", "single blanks\r\n");
    const auto category = [&letters](std::size_t i) {
        return P(std::string{letters[i / 484], '/', '.', '.', '/', letters[i / 22 % 22], '/', '.',
                             '.', '/', letters[i % 22]});
    };
    std::string categories;
    for (std::size_t i = 0; i < 10000; ++i)
        categories += category(i) + "  Cat\r\n";
    Desc("music", categories);
    StartOn({Dir("music")});
    FirstReading();
    ASSERT_EQ(Boxes.size(), 10000u);
    EXPECT_EQ(Boxes.front().Text, SyntaxBox(Dir("music") + category(0) + P("/")));
    EXPECT_EQ(Boxes.back().Text, SyntaxBox(Dir("music") + category(9999) + P("/")));
    EXPECT_EQ(MainFrm->TreeLst->TopCount(), 10000);
    EXPECT_EQ(Node(9999, 0)->Text, SyntaxNode(Dir("music") + category(9999) + P("/")));
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "10000 album(s) | 0:00:00 total play time");
}

// The progress window.

TEST_F(TCatalogueTest, ProgressWindowStandsOverTheMainWindowAndReadsOncePerShowing) {
    Desc("music", Lines({"GONE  Gone"}));
    StartOn({Dir("music")});
    EXPECT_FALSE(StatusFrm->isVisible());
    EXPECT_FALSE(StatusFrm->ShowedTmr->isActive());
    FirstReading();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(StatusFrm->Panel2Caption->text(), "Reading album tree...");

    MainFrm->move(200, 120);
    Desc("music", Lines({"GONE  Gone", "NEW  New"}));
    MainFrm->Refreshalbumtree1Click();
    // Shown and armed, placed over the main window; nothing is read yet.
    EXPECT_TRUE(StatusFrm->isVisible());
    EXPECT_TRUE(StatusFrm->ShowedTmr->isActive());
    EXPECT_EQ(StatusFrm->pos(), QPoint(347, 249));
    EXPECT_EQ(TreeText(), "Gone{}");
    // A second request while it stands there still gives one reading.
    MainFrm->Refreshalbumtree1Click();
    StatusFrm->ShowedTmrTimer();
    StatusFrm->ShowedTmrTimer();
    EXPECT_EQ(Boxes.size(), 3u);
    EXPECT_EQ(TreeText(), "Gone{}; New{}");
    EXPECT_FALSE(StatusFrm->isVisible());
    EXPECT_FALSE(StatusFrm->ShowedTmr->isActive());
}

TEST_F(TCatalogueTest, ActivationsDuringTheReadingDoNotStartASecondOne) {
    Desc("music", Lines({"GONE  Gone", "LOST  Lost"}));
    StartOn({Dir("music")});
    // Each box that closes gives the activation back to the progress window.
    SetMessageBoxHook([this](const TMessageBox& box) {
        Boxes.push_back(box);
        StatusFrm->Activate();
        return mrOk;
    });
    FirstReading();
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_FALSE(StatusFrm->ShowedTmr->isActive());
    StatusFrm->ShowedTmrTimer();
    EXPECT_EQ(Boxes.size(), 2u);
}

TEST_F(TCatalogueTest, AnErrorEscapingTheReadingHidesTheProgressWindow) {
    Desc("music", Lines({"GONE  Gone", "ROCK  Rock"}));
    Desc("music/ROCK", Lines({"A  Album"}));
    StartOn({Dir("music")});
    SetMessageBoxHook([this](const TMessageBox& box) -> TModalResult {
        Boxes.push_back(box);
        if (Boxes.size() == 1)
            throw EOutOfResources("Out of system resources");
        return mrOk;
    });
    MainFrm->InitTmrTimer();
    ASSERT_TRUE(StatusFrm->isVisible());
    // Through the timer's event the error reaches the error box and the program goes on.
    Application()->Guarded([] { StatusFrm->ShowedTmrTimer(); });
    EXPECT_FALSE(StatusFrm->isVisible());
    EXPECT_FALSE(StatusFrm->ShowedTmr->isActive());
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[1].Text, "Out of system resources.");
    EXPECT_EQ(TreeText(), "Gone{}");

    // The next reading starts from an empty tree.
    Refresh();
    EXPECT_EQ(TreeText(), "Gone{}; Rock{Album}");
}

TEST_F(TCatalogueTest, ConfirmedPreferencesRereadTheTreeOnlyWithRefreshChecked) {
    WriteSmall("music");
    const struct {
        bool Refresh;
        bool Confirm;
        bool Shown;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    StartOn({Dir("music")});
    FirstReading();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Refresh) + " " + std::to_string(c.Confirm));
        OnModal = [&c](TForm&) {
            PrefsFrm->RefreshChk->setChecked(c.Refresh);
            if (c.Confirm)
                PrefsFrm->OKBtnClick();
            else
                PrefsFrm->CancelBtnClick();
        };
        PrefsFrm->RefreshChk->setChecked(c.Refresh);
        MainFrm->Preferences1Click();
        EXPECT_EQ(StatusFrm->isVisible(), c.Shown);
        EXPECT_EQ(StatusFrm->ShowedTmr->isActive(), c.Shown);
        // The tree is read only at the window's tick.
        EXPECT_EQ(MainFrm->TreeLst->TopCount(), 2);
        StatusFrm->ShowedTmrTimer();
        EXPECT_FALSE(StatusFrm->isVisible());
    }
}
