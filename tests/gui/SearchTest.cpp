// The "Search" page and the "Detail..." window: result rows and their columns, the search's
// boxes, and the detail window's place, list and effect on the main window.
#include "tests/gui/CatalogueBuilder.h"

#include "catalogue/Detail.h"

class TSearchTest : public TCatalogueGuiTest {
protected:
    // Rock and roll: Stones (40-character line), Best of (CD "    12"), Greatest Hits;
    // Pop: Greatest Hits, Best; Chanson: ÉTÉ in Latin-1 and in UTF-8.
    void SetUp() override {
        TCatalogueGuiTest::SetUp();
        WriteCatalogue();
        StoreString(Settings::SearchBase.Name, Dir("music"));
        StartOn({Dir("music")});
        FirstReading();
        MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    }

    void WriteCatalogue() const {
        Desc("music", Lines({"ROCK  Rock and roll", "POP  Pop", "CHANSON  Chanson"}));
        Desc("music/ROCK",
             Lines({PadTo("R1  Stones", 40), PadTo("R2  Best of", 51) + "    12" + "xxx",
                    "R3  Greatest Hits"}));
        Desc("music/POP", Lines({"P1  Greatest Hits", "P2  Best"}));
        Desc("music/CHANSON", Lines({"C1  \xC9T\xC9", "C2  \xC3\x89T\xC3\x89"}));
        Album("music/ROCK/R2", {187, 240});
    }

    // The query as the user types it (UTF-8 here).
    std::vector<std::string> Search(const std::string& query) {
        MainFrm->SearchEdt->setText(QString::fromUtf8(query));
        QTest::mouseClick(MainFrm->Button1, Qt::LeftButton);
        return Rows(MainFrm->SearchResLst);
    }

    std::string Result(const std::string& album, const std::string& category, const std::string& cd,
                       const std::string& path) const {
        return album + " | " + category + " | " + cd + " | " + Dir("music") + P(path);
    }

    void DoubleClickResult(int row) {
        QRect place;
        if (row >= 0)
            place = MainFrm->SearchResLst->visualItemRect(MainFrm->SearchResLst->topLevelItem(row));
        else
            place = QRect(0, MainFrm->SearchResLst->viewport()->height() - 10, 20, 10);
        QTest::mouseDClick(MainFrm->SearchResLst->viewport(), Qt::LeftButton, {}, place.center());
    }
};

TEST_F(TSearchTest, QueriesMatchCategoriesAndTitlesWhateverTheLineEnds) {
    const std::string stones = Result("Stones", "Rock and roll", "", "ROCK/R1");
    const std::string bestOf = Result("Best of", "Rock and roll", "    12", "ROCK/R2");
    const std::string rockHits = Result("Greatest Hits", "Rock and roll", "", "ROCK/R3");
    const std::string popHits = Result("Greatest Hits", "Pop", "", "POP/P1");
    const std::string ete = Result("\xC3\x89T\xC3\x89", "Chanson", "", "CHANSON/C2");
    const std::string eteLatin1 = Result("\xC9T\xC9", "Chanson", "", "CHANSON/C1");
    const struct {
        std::string Query;
        std::vector<std::string> Rows;
    } cases[] = {
        {"", {}},
        {"rock", {stones, bestOf, rockHits}},
        {"greatest", {rockHits, popHits}},
        {"BeSt", {bestOf, Result("Best", "Pop", "", "POP/P2")}},
        {"best ", {bestOf}},
        // Only a to z are folded: é does not find É. A typed É finds it in both code pages.
        {"\xC3\xA9", {}},
        {"\xC3\x89", {eteLatin1, ete}},
        {"\xC3\x89T\xC3\x89", {eteLatin1, ete}},
        {"roll - stones", {}},
    };
    for (const auto ends : AllLineEnds) {
        LineEnds = ends;
        WriteCatalogue();
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(LineEndsName(ends)) + " " + c.Query);
            EXPECT_EQ(Search(c.Query), c.Rows);
        }
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSearchTest, ATypedQueryFindsWindows1252Descriptions) {
    Desc("music/CHANSON", Lines({"C1  \x93"
                                 "Caf\xE9\x94 \x80 5",
                                 "C2  \xE2\x80\x9C"
                                 "Caf\xC3\xA9\xE2\x80\x9D"}));
    const std::string single = Result("\x93"
                                      "Caf\xE9\x94 \x80 5",
                                      "Chanson", "", "CHANSON/C1");
    const std::string utf8 = Result("\xE2\x80\x9C"
                                    "Caf\xC3\xA9\xE2\x80\x9D",
                                    "Chanson", "", "CHANSON/C2");
    EXPECT_EQ(Search("\xE2\x80\x9C"), (std::vector<std::string>{single, utf8}));
    EXPECT_EQ(Search("\xE2\x82\xAC 5"), std::vector<std::string>{single});
    EXPECT_EQ(Search("\xC3\xA9\xE2\x80\x9D"), (std::vector<std::string>{single, utf8}));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSearchTest, EnterInTheQueryBoxSearchesOnce) {
    // Every search reports the faulty line once.
    Desc("music/POP", Lines({"P1  Greatest Hits", "NOSEPARATORHERE"}));
    MainFrm->SearchEdt->setText("stones");
    QTest::keyClick(MainFrm->SearchEdt, Qt::Key_Return);
    EXPECT_EQ(Rows(MainFrm->SearchResLst),
              std::vector<std::string>{Result("Stones", "Rock and roll", "", "ROCK/R1")});
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(TSearchTest, MissingDescriptionFilesAreReportedWithACancelButton) {
    ASSERT_EQ(Search("rock").size(), 3u);
    PrefsFrm->SearchBaseEdt->setText(QString::fromStdString(Dir("nowhere")));
    EXPECT_TRUE(Search("rock").empty());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes[0].Buttons, mbCancel);
    EXPECT_EQ(Boxes[0].Text, "\"" + Dir("nowhere") +
                                 "descript.ion\" file missing.\r Description files are required "
                                 "in every directory.");

    // While the first-run dialog is pending, a missing base is not reported.
    MainFrm->FirstRun = true;
    EXPECT_TRUE(Search("rock").empty());
    EXPECT_EQ(Boxes.size(), 1u);
    MainFrm->FirstRun = false;

    // A missing category file is reported and the search goes on.
    Desc("other", Lines({"GONE  Gone", "ROCK  Rock"}));
    Desc("other/ROCK", Lines({"A  Rock album"}));
    PrefsFrm->SearchBaseEdt->setText(QString::fromStdString(Dir("other")));
    EXPECT_EQ(Search("rock").size(), 1u);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Buttons, mbCancel);
    EXPECT_EQ(Boxes[1].Text, "\"" + Dir("other") + P("GONE/descript.ion") +
                                 "\" file missing.\r Description files are required in every "
                                 "directory.");
}

TEST_F(TSearchTest, DoubleClickWithoutAResultSelectedWarns) {
    Search("rock");
    DoubleClickResult(-1);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Icon, miWarning);
    EXPECT_EQ(Boxes[0].Buttons, mbCancel);
    EXPECT_EQ(Boxes[0].Text, "You must select an album to see the detail window.");
    EXPECT_TRUE(ModalForms.empty());
}

TEST_F(TSearchTest, DetailWindowListsTheAlbumAsTheMainWindowDoes) {
    MainFrm->move(300, 200);
    Click(Node(0)); // a category: Play is disabled
    ASSERT_FALSE(MainFrm->PlayBtn->isEnabled());
    MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    Search("best of");
    QPoint place;
    std::vector<std::string> rows;
    std::string bar;
    OnModal = [&](TForm& form) {
        place = form.pos();
        rows = Rows(DetailFrm->DetailResLst);
        bar = BarText(DetailFrm->DetailBar);
        QTest::mouseClick(DetailFrm->OKBtn, Qt::LeftButton);
    };
    DoubleClickResult(0);
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Detail..."});
    EXPECT_EQ(place, QPoint(397, 193));
    EXPECT_FALSE(DetailFrm->isVisible());
    EXPECT_EQ(DetailFrm->ModalResult(), mrOk);
    // The main window still shows a category: there is nothing for Play to play.
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());

    Click(Node(0, 1));
    EXPECT_EQ(rows, Rows(MainFrm->ItemsLst));
    EXPECT_EQ(bar, BarText(MainFrm->SongBar));
    EXPECT_EQ(bar, "2 song(s) | 7:07 total play time");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TSearchTest, DetailOfAnAlbumWithoutItsFileOpensEmptyAndKeepsTheMainListPlayable) {
    Click(Node(0, 1));
    ASSERT_TRUE(MainFrm->PlayBtn->isEnabled());
    MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    Search("stones");
    std::size_t rowsShown = 99;
    OnModal = [&rowsShown](TForm& form) {
        rowsShown = static_cast<std::size_t>(DetailFrm->DetailResLst->RowCount());
        form.SetModalResult(mrOk);
    };
    DoubleClickResult(0);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_EQ(Boxes[0].Text, "\"" + Dir("music") + P("ROCK/R1/descript.ion") +
                                 "\" file missing.\r Description files are required in every "
                                 "directory.");
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Detail..."});
    EXPECT_EQ(rowsShown, 0u);
    EXPECT_EQ(BarText(DetailFrm->DetailBar), " | ");
    // The main window still lists its album, and Play still plays it.
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 2);
    EXPECT_TRUE(MainFrm->PlayBtn->isEnabled());
    EXPECT_TRUE(MainFrm->ReplayPop->isEnabled());
}

TEST_F(TSearchTest, AFileOfTenThousandSingleBlankLinesGivesOneBoxInEachSearch) {
    std::string albums;
    for (int i = 0; i < 10000; ++i)
        albums += "Album " + std::to_string(i) + " title\r\n";
    Desc("music", Lines({"ROCK  Rock and roll", "MANY  Many"}));
    Desc("music/MANY", albums);
    for (const std::size_t search : {1u, 2u}) {
        EXPECT_EQ(Search("stones"),
                  (std::vector<std::string>{Result("Stones", "Rock and roll", "", "ROCK/R1")}));
        ASSERT_EQ(Boxes.size(), search);
        EXPECT_EQ(Boxes.back().Text, SyntaxBox(Dir("music/MANY")));
    }
    // The faulty lines take part with their text.
    EXPECT_EQ(Search(P("many/descript.ion : syntax")).size(), 10000u);
    EXPECT_EQ(Boxes.size(), 3u);
}

TEST_F(TSearchTest, TheDetailWindowShowsOneBoxForAFaultyFileAtEachOpening) {
    Desc("music/ROCK/R2", Lines({"ONE single blanks", "TWO  Two", "THREE single blanks"}));
    Search("best of");
    std::vector<std::string> rows;
    OnModal = [&rows](TForm& form) {
        rows = Rows(DetailFrm->DetailResLst);
        form.SetModalResult(mrOk);
    };
    const std::string error = SyntaxNode(Dir("music/ROCK/R2"));
    for (const std::size_t opening : {1u, 2u}) {
        DoubleClickResult(0);
        ASSERT_EQ(Boxes.size(), opening);
        EXPECT_EQ(Boxes.back().Text, SyntaxBox(Dir("music/ROCK/R2")));
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].substr(0, 4 + error.size()), "01. " + error);
        EXPECT_EQ(rows[2].substr(0, 4 + error.size()), "03. " + error);
    }
}

TEST_F(TSearchTest, EveryBoxShowsAboveTheResultsFoundBeforeIt) {
    Desc("faulty", Lines({"ROCK  Rock", "GONE  Gone", "POP  Pop", "BAD  Bad"}));
    Desc("faulty/ROCK", Lines({"A  One", "B  Two"}));
    Desc("faulty/POP", Lines({"C  Rock three"}));
    Desc("faulty/BAD", Lines({"X no separator", "D  Rock four"}));
    PrefsFrm->SearchBaseEdt->setText(QString::fromStdString(Dir("faulty")));
    std::vector<int> rowsAtBox;
    SetMessageBoxHook([this, &rowsAtBox](const TMessageBox& box) {
        rowsAtBox.push_back(MainFrm->SearchResLst->RowCount());
        Boxes.push_back(box);
        return mrCancel;
    });
    EXPECT_EQ(Search("rock").size(), 4u);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, SyntaxBox(Dir("faulty") + P("BAD/")));
    // The missing GONE file after ROCK's two albums, the faulty BAD line after POP's album.
    EXPECT_EQ(rowsAtBox, (std::vector<int>{2, 3}));
}
