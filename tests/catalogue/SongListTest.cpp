#include "catalogue/SongList.h"
#include "catalogue/CatalogueMessages.h"
#include "catalogue/PlayTimeText.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;
using CatalogueTest::PadTo;
using CatalogueTest::SongLine;
using CatalogueTest::TimedSong;

TEST(SongList, RowsCountsAndTotal) {
    TTempDir dir;
    dir.Write("ALBUM/descript.ion",
              "; songs\r\n" + SongLine("A.MP3", "First", "3000000", "128000") + "\r\n\r\n" +
                  TimedSong("B.MP3", "Second", 240) + "\r\n" + PadTo("C.MP3  Third", 40) + "\r\n");
    const auto album = (dir.Path() / "ALBUM").string();
    const auto listing = ListSongs(album + P("/"), "");
    ASSERT_TRUE(listing.Opened);
    ASSERT_EQ(listing.Rows.size(), 3u);
    EXPECT_EQ(listing.Rows[0].Caption, "01. First");
    EXPECT_EQ(listing.Rows[1].Caption, "02. Second");
    EXPECT_EQ(listing.Rows[2].Caption, "03. Third");
    EXPECT_EQ(listing.Rows[0].LengthText, "3'07\"");
    EXPECT_EQ(listing.Rows[1].LengthText, "4'00\"");
    EXPECT_EQ(listing.Rows[2].LengthText, "Unknown");
    EXPECT_EQ(listing.Rows[0].Path, album + P("/A.MP3"));
    EXPECT_EQ(listing.Rows[2].Path, album + P("/C.MP3"));
    EXPECT_EQ(SongCountText(static_cast<std::int64_t>(listing.Rows.size())), "3 song(s)");
    EXPECT_EQ(SongListTotalText(listing.Total, dfHours, 0), "7:07 total play time");
}

TEST(SongList, CommentsOnlyAndUnknownTimes) {
    TTempDir dir;
    dir.Write("COMMENTS/descript.ion", "; nothing\r\n;  here\r\n");
    dir.Write("UNKNOWN/descript.ion", "A.MP3  One\r\nB.MP3  Two\r\n");
    const auto comments = ListSongs((dir.Path() / "COMMENTS").string(), "");
    EXPECT_TRUE(comments.Opened);
    EXPECT_TRUE(comments.Rows.empty());
    EXPECT_EQ(SongListTotalText(comments.Total, dfMinutes, 0), "Unknown play time");
    const auto unknown = ListSongs((dir.Path() / "UNKNOWN").string(), "");
    EXPECT_EQ(unknown.Rows.size(), 2u);
    EXPECT_EQ(SongListTotalText(unknown.Total, dfMinutes, 0), "Unknown play time");
}

TEST(SongList, MissingDescriptionFile) {
    TTempDir dir;
    const auto album = (dir.Path() / "NOWHERE").string();
    const auto listing = ListSongs(album, "");
    EXPECT_FALSE(listing.Opened);
    EXPECT_TRUE(listing.Rows.empty());
    EXPECT_EQ(listing.DescPath, album + P("/descript.ion"));
    EXPECT_EQ(CalcAlbumPlaytime(album), TDuration{});
}

TEST(SongList, NumbersGrowPastTwoDigitsAndCarryThePrefix) {
    TTempDir dir;
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "S" + std::to_string(i) + ".MP3  Song\r\n";
    dir.Write("descript.ion", text);
    const auto listing = ListSongs(dir.Path().string(), "   + ");
    ASSERT_EQ(listing.Rows.size(), 100u);
    EXPECT_EQ(listing.Rows[0].Caption, "   + 01. Song");
    EXPECT_EQ(listing.Rows[98].Caption, "   + 99. Song");
    EXPECT_EQ(listing.Rows[99].Caption, "   + 100. Song");
}

TEST(SongList, SyntaxErrorsAreReportedInLineOrderBetweenTheRows) {
    TTempDir dir;
    const std::string bad = SongLine("NAME_OF_NINETEEN_CH", "Bad", "3000000", "128000");
    dir.Write("descript.ion", "A.MP3  One\r\n" + bad + "\r\nB.MP3  Two\r\nNoSeparator\r\n");
    std::vector<std::string> events;
    TSongListEvents handlers;
    handlers.OnAppend = [&](const TSongRow& row) {
        events.push_back("append:" + row.LengthText + " " + row.Path);
    };
    handlers.OnSyntaxError = [&](const std::string& text) { events.push_back("box:" + text); };
    handlers.OnRow = [&](const TSongRow& row) { events.push_back("row:" + row.Caption); };
    const auto listing = ListSongs(dir.Path().string(), "", handlers);
    const auto errorText = SyntaxErrorText(listing.DescPath);
    const auto box = "box:" + SyntaxErrorMessage(listing.DescPath);
    const auto append = [&](const std::string& file) {
        return "append:Unknown " + JoinPath(dir.Path().string(), file);
    };
    // Each row is appended with its length and path before its description is made, so the
    // faulty row comes before its box. One box for the file: the second faulty line only
    // carries the text.
    EXPECT_EQ(events, (std::vector<std::string>{
                          append("A.MP3"), "row:01. One",
                          "append:3'07\" " + JoinPath(dir.Path().string(), "NAME_OF_NINETEEN_CH"),
                          box, "row:02. " + errorText, append("B.MP3"), "row:03. Two", append(""),
                          "row:04. " + errorText}));
    EXPECT_TRUE(listing.Rows[1].SyntaxError);
    EXPECT_FALSE(listing.Rows[2].SyntaxError);
    EXPECT_EQ(listing.Rows[1].LengthText, "3'07\"");
    EXPECT_EQ(listing.Rows[1].Path, JoinPath(dir.Path().string(), "NAME_OF_NINETEEN_CH"));
    EXPECT_EQ(listing.Rows[3].Path, dir.Path().string() + P("/"));
}

TEST(SongList, TenThousandSyntaxErrorsAreOneReportInEachListing) {
    TTempDir dir;
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "BAD " + std::to_string(i) + ".MP3 single blanks\r\n";
    dir.Write("descript.ion", text);
    int boxes = 0;
    TSongListEvents handlers;
    handlers.OnSyntaxError = [&](const std::string&) { ++boxes; };
    for (int listingCount = 1; listingCount <= 2; ++listingCount) {
        const auto listing = ListSongs(dir.Path().string(), "", handlers);
        EXPECT_EQ(boxes, listingCount);
        ASSERT_EQ(listing.Rows.size(), 10000u);
        EXPECT_EQ(listing.Rows[9999].Caption, "10000. " + SyntaxErrorText(listing.DescPath));
        EXPECT_TRUE(listing.Rows[9999].SyntaxError);
    }
}

TEST(SongList, AlbumPlaytimeCarriesSeconds) {
    TTempDir dir;
    dir.Write("descript.ion", TimedSong("A.MP3", "A", 59) + "\r\n" + TimedSong("B.MP3", "B", 59) +
                                  "\r\n" + TimedSong("C.MP3", "C", 7) + "\r\n" +
                                  TimedSong("D.MP3", "D", 3600) + "\r\nE.MP3  Unknown\r\n");
    TDuration expected;
    expected.Minutes = 62;
    expected.Seconds = 5;
    EXPECT_EQ(CalcAlbumPlaytime(dir.Path().string()), expected);
}
