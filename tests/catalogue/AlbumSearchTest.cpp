#include "catalogue/AlbumSearch.h"
#include "catalogue/CatalogueMessages.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;
using CatalogueTest::PadTo;

namespace {

using TTexts = std::vector<std::string>;

// A search base with two categories; the third category's file is missing.
class AlbumSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDir.Write("descript.ion", "ROCK  Rock and roll\r\nPOP  Pop\r\nGONE  Gone\r\n");
        FDir.Write("ROCK/descript.ion",
                   PadTo("R1  First", 51) + "    12" + "\r\nR2  Second album\r\n");
        FDir.Write("POP/descript.ion", "P1  Rocky road\r\nP2  Second\r\nP3  first album\r\n");
        Base = FDir.Path().string() + P("/");
    }

    TTexts Albums(std::string_view query) {
        TTexts albums;
        Boxes.clear();
        TSearchEvents events;
        events.OnSyntaxError = [this](const std::string& text) { Boxes.push_back(text); };
        events.OnCategoryFileMissing = [this](const std::string& text) { Boxes.push_back(text); };
        for (const auto& result : SearchAlbums(Base, query, events).Results)
            albums.push_back(result.Album + " / " + result.Category);
        return albums;
    }

    TTempDir FDir;
    std::string Base;
    TTexts Boxes;
};

} // namespace

TEST_F(AlbumSearchTest, MatchesCategoriesAndTitlesInFileOrder) {
    const auto missing = DescFileMissingMessage(FDir.Path().string() + P("/GONE/descript.ion"));
    const struct {
        const char* query;
        TTexts albums;
    } cases[] = {
        {"rock", {"First / Rock and roll", "Second album / Rock and roll", "Rocky road / Pop"}},
        {"SECOND", {"Second album / Rock and roll", "Second / Pop"}},
        {"first ", {"first album / Pop"}},
        {"Rock and roll - First", {}},
        {"", {}},
        {"nothing like it", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Albums(c.query), c.albums) << c.query;
        EXPECT_EQ(Boxes, (TTexts{missing})) << c.query;
    }
}

TEST_F(AlbumSearchTest, ResultRowsCarryCdNumberAndPath) {
    std::vector<TSearchResult> streamed;
    TSearchEvents events;
    events.OnResult = [&](const TSearchResult& result) { streamed.push_back(result); };
    const auto outcome = SearchAlbums(Base, "o", events);
    ASSERT_TRUE(outcome.BaseOpened);
    ASSERT_EQ(outcome.Results.size(), 5u);
    EXPECT_EQ(streamed.size(), 5u);
    EXPECT_EQ(outcome.Results[0].CdNumber, "    12");
    EXPECT_EQ(outcome.Results[1].CdNumber, "");
    EXPECT_EQ(outcome.Results[0].Path, FDir.Path().string() + P("/ROCK/R1"));
    EXPECT_EQ(outcome.Results[4].Path, FDir.Path().string() + P("/POP/P3"));
}

TEST_F(AlbumSearchTest, OnlyTheLettersAToZAreFolded) {
    FDir.Write("descript.ion", "ACC  \xC9t\xE9\r\n");
    FDir.Write("ACC/descript.ion", "A1  Album\r\n");
    EXPECT_TRUE(Albums("\xE9T\xC9").empty());
    EXPECT_EQ(Albums("\xC9T\xE9"), (TTexts{"Album / \xC9t\xE9"}));
    EXPECT_EQ(UpperAscii("azAZ09{}`@\xE9\xFF"), "AZAZ09{}`@\xE9\xFF");
    EXPECT_FALSE(ContainsQuery("anything", ""));
    EXPECT_FALSE(ContainsQuery("ab", "ABC"));
}

TEST_F(AlbumSearchTest, SyntaxErrorsTakePartWithTheirText) {
    FDir.Write("descript.ion", "NOSEPARATOR\r\n");
    const auto rootDesc = FDir.Path().string() + P("/descript.ion");
    const auto box = SyntaxErrorMessage(rootDesc);
    const auto text = SyntaxErrorText(rootDesc);
    EXPECT_EQ(Albums("syntax ERROR"), (TTexts{text + " / " + text}));
    // The base file read again as its own category's file was reported already.
    EXPECT_EQ(Boxes, (TTexts{box}));
}

TEST_F(AlbumSearchTest, EachFaultyFileIsReportedOnceInASearch) {
    FDir.Write("descript.ion", "bad base 1\r\nROCK  Rock\r\nbad base 2\r\nPOP  Pop\r\n");
    FDir.Write("ROCK/descript.ion", "bad rock 1\r\nR2  Moon\r\nbad rock 2\r\n");
    FDir.Write("POP/descript.ion", "P1  Sun\r\nbad pop 1\r\nbad pop 2\r\nbad pop 3\r\n");
    const auto desc = [this](const char* dir) { return Base + P(dir) + "descript.ion"; };
    const TTexts boxes = {SyntaxErrorMessage(desc("")), SyntaxErrorMessage(desc("ROCK/")),
                          SyntaxErrorMessage(desc("POP/"))};
    // A category that matches lists all its albums; in the others only the lines that may
    // match or fail are looked at: both report each file once, and anew in each search.
    for (const char* query : {"rock", "moon", "syntax error"}) {
        Albums(query);
        EXPECT_EQ(Boxes, boxes) << query;
    }
    const auto popError = SyntaxErrorText(desc("POP/")) + " / Pop";
    EXPECT_EQ(Albums(P("pop/descript.ion")), (TTexts{popError, popError, popError}));
}

TEST_F(AlbumSearchTest, MissingBaseEndsTheSearch) {
    TTexts boxes;
    TSearchEvents events;
    events.OnBaseFileMissing = [&](const std::string& text) { boxes.push_back(text); };
    const auto base = (FDir.Path() / "NOBASE").string();
    const auto outcome = SearchAlbums(base, "rock", events);
    EXPECT_FALSE(outcome.BaseOpened);
    EXPECT_TRUE(outcome.Results.empty());
    EXPECT_EQ(boxes, (TTexts{DescFileMissingMessage(base + P("/descript.ion"))}));
}
