#include "catalogue/PlayTimeText.h"
#include "catalogue/CatalogueMessages.h"
#include "tests/catalogue/CatalogueLines.h"

#include <gtest/gtest.h>

using namespace Catalogue;
using CatalogueTest::P;

TEST(PlayTimeText, LengthTexts) {
    EXPECT_EQ(LengthText({3, 7}), "3'07\"");
    EXPECT_EQ(LengthText({4, 0}), "4'00\"");
    EXPECT_EQ(LengthText({0, 0}), "0'00\"");
    EXPECT_EQ(LengthText({75, 3}), "75'03\"");
    EXPECT_EQ(LengthText({-1, -1}), "Unknown");
    EXPECT_EQ(LengthText({-3, -7}), "Unknown");
}

TEST(PlayTimeText, SongListTotalFollowsTheDisplayFormat) {
    const struct {
        std::int64_t minutes;
        std::int64_t seconds;
        TDisplayFormat format;
        int threshold;
        const char* text;
    } cases[] = {
        {7, 7, dfHours, 0, "7:07 total play time"},
        {60, 0, dfHours, 0, "1:00:00 total play time"},
        {59, 60, dfHours, 0, "1:00:00 total play time"},
        {60, 0, dfMinutes, 0, "60:00 total play time"},
        {75, 0, dfNone, 0, "75:00 total play time"},
        {60, 30, dfMixed, 60, "60:30 total play time"},
        {61, 0, dfMixed, 60, "1:01:00 total play time"},
        {59, 61, dfMixed, 59, "1:00:01 total play time"},
        {0, 125, dfMinutes, 0, "2:05 total play time"},
        {0, 0, dfHours, 0, "Unknown play time"},
        {0, 0, dfMinutes, 0, "Unknown play time"},
        {0, 0, dfMixed, -1, "Unknown play time"},
        {1, 0, dfMixed, 0, "1:00 total play time"},
    };
    for (const auto& c : cases) {
        TDuration total;
        total.Minutes = c.minutes;
        total.Seconds = c.seconds;
        EXPECT_EQ(SongListTotalText(total, c.format, c.threshold), c.text)
            << c.minutes << ":" << c.seconds << " format " << c.format;
    }
}

TEST(PlayTimeText, CatalogueTotalAlwaysHasHours) {
    const struct {
        std::int64_t minutes;
        std::int64_t seconds;
        const char* text;
    } cases[] = {{45, 7, "0:45:07 total play time"},
                 {65, 9, "1:05:09 total play time"},
                 {59, 60, "1:00:00 total play time"},
                 {0, 0, "0:00:00 total play time"},
                 {6000, 0, "100:00:00 total play time"}};
    for (const auto& c : cases) {
        TDuration total;
        total.Minutes = c.minutes;
        total.Seconds = c.seconds;
        EXPECT_EQ(CatalogueTotalText(total), c.text);
    }
    EXPECT_EQ(SongCountText(3), "3 song(s)");
    EXPECT_EQ(AlbumCountText(12), "12 album(s)");
}

TEST(CatalogueMessages, MissingFileTexts) {
    const auto path = P("/mp3/JAZZ/descript.ion");
    EXPECT_EQ(CategoryFileMissingMessage(path),
              "\"" + path +
                  "\" file missing.\r Description files are required in every directory. ");
    EXPECT_EQ(DescFileMissingMessage(path),
              "\"" + path +
                  "\" file missing.\r Description files are required in every directory.");
    EXPECT_EQ(SyntaxErrorText(P("/mp3/JAZZ/descript.ion")),
              "<" + P("/mp3/JAZZ/") + "descript.ion : syntax error>");
}
