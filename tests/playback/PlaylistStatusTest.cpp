#include "playback/PlaylistStatus.h"

#include <gtest/gtest.h>

using namespace Playback;

TEST(PlaylistStatus, ParseLengthText) {
    const struct {
        const char* text;
        int minutes;
        int seconds;
    } cases[] = {
        {"3'07\"", 3, 7},
        {"12'34\"", 12, 34},
        {"0'00\"", 0, 0},
        {"3'75\"", 3, 75},       // carried later, as any seconds
        {"3'07\" and \"", 3, 7}, // the first double quote counts
        {"999999999'59\"", 999999999, 59},
        {"Unknown", -1, -1},
        {"", -1, -1},
        {"\"", -1, -1},
        {"7\"", -1, -1},
        {"'07\"", -1, -1}, // no minutes
        {"3'0x\"", -1, -1},
        {"-3'07\"", -1, -1},
        {" 3'07\"", -1, -1},
        {"3'07", -1, -1},
        {"1234567890'00\"", -1, -1}, // more minutes than an int holds safely
        {"\xff\xfe'\x01\x02\"", -1, -1},
    };
    for (const auto& c : cases) {
        const auto time = ParseLengthText(c.text);
        EXPECT_EQ(time.Minutes, c.minutes) << c.text;
        EXPECT_EQ(time.Seconds, c.seconds) << c.text;
    }
}

namespace {

TPlaylistSummary Summary(const std::vector<std::string>& lengths) {
    std::vector<TPlaylistEntry> entries = {{"* Album *", "", ""}};
    for (const auto& length : lengths)
        entries.push_back({"   + 01. Song", length, "/a/s.mp3"});
    return SummarizePlaylist(entries);
}

} // namespace

TEST(PlaylistStatus, TotalTexts) {
    const struct {
        std::vector<std::string> lengths;
        const char* songs;
        const char* time;
    } cases[] = {
        {{"59'59\""}, "1 song(s)", "59:59 total play time"},
        {{"59'59\"", "0'01\""}, "2 song(s)", "1:00:00 total play time"},
        {{"30'00\"", "32'09\""}, "2 song(s)", "1:02:09 total play time"},
        {{"40'30\"", "6'35\""}, "2 song(s)", "47:05 total play time"},
        {{"Unknown", "Unknown", "garbage\""}, "3 song(s)", "0:00 total play time"},
        {std::vector<std::string>(12, "2'00\""), "12 song(s)", "24:00 total play time"},
        {{"1500'00\"", "1'01\""}, "2 song(s)", "25:01:01 total play time"},
    };
    for (const auto& c : cases) {
        const auto summary = Summary(c.lengths);
        EXPECT_FALSE(summary.Empty());
        EXPECT_EQ(summary.SongsText(), c.songs);
        EXPECT_EQ(summary.TimeText(), c.time);
    }
}

TEST(PlaylistStatus, HeadersAloneAreNoSongs) {
    EXPECT_TRUE(SummarizePlaylist({}).Empty());
    EXPECT_TRUE(SummarizePlaylist({{"* A *", "", ""}, {"* B *", "3'00\"", "/x"}}).Empty());
    EXPECT_EQ(SummarizePlaylist({{"Single", "1'00\"", "/x"}}).Songs, 1);
}

TEST(PlaylistStatus, DeleteKeyAction) {
    // H: album header, S: album song, X/Y: single songs.
    const auto captions = [](const std::string& kinds) {
        std::vector<std::string> list;
        for (const char kind : kinds)
            list.push_back(kind == 'H' ? "* Album *" : kind == 'S' ? "   + 01. Song" : "Single");
        return list;
    };
    const struct {
        const char* list;
        std::size_t selected;
        std::vector<std::size_t> deleted;
        std::optional<std::size_t> select;
    } cases[] = {
        {"HSSX", 0, {0, 1, 2}, 0},  // a header takes its songs along
        {"XHSSY", 1, {1, 2, 3}, 1}, // ... and nothing after them
        {"HHS", 0, {0}, 0},         // a header right after a header stays
        {"HSX", 1, {0, 1}, 0},      // the album's last song takes the header along
        {"HSHS", 1, {0, 1}, 0},      {"HS", 1, {0, 1}, std::nullopt},
        {"HSS", 1, {1}, 1}, // one of several songs leaves the header
        {"HSS", 2, {2}, 1}, // deleting the last entry selects the new last one
        {"XY", 1, {1}, 0},           {"XY", 0, {0}, 0},
        {"X", 0, {0}, std::nullopt}, {"HX", 1, {0, 1}, std::nullopt},
        {"XY", 2, {}, std::nullopt}, // no entry selected
    };
    for (const auto& c : cases) {
        const auto action = DeleteKeyAction(captions(c.list), c.selected);
        EXPECT_EQ(action.Deleted, c.deleted) << c.list << " " << c.selected;
        EXPECT_EQ(action.Selected, c.select) << c.list << " " << c.selected;
    }
}
