// Finding the entries that a playlist file would cut, and the warning that names them.
#include "playback/PlaylistCuts.h"

#include <gtest/gtest.h>

using namespace Playback;

namespace {

std::string Text(std::size_t size, char fill) {
    return std::string(size, fill);
}

} // namespace

TEST(PlaylistCuts, EachFieldIsCutOnlyBeyondItsCapacity) {
    const std::string header41 = "* " + Text(37, 'h') + " *";
    const struct {
        TPlaylistEntry Entry;
        bool Name, Length, Path;
    } cases[] = {
        {{Text(40, 'n'), Text(10, 'l'), "/" + Text(127, 'p')}, false, false, false},
        {{Text(41, 'n'), "3'07\"", "/a.mp3"}, true, false, false},
        {{"Song", Text(11, 'l'), "/a.mp3"}, false, true, false},
        {{"Song", "3'07\"", "/" + Text(128, 'p')}, false, false, true},
        {{Text(41, 'n'), Text(11, 'l'), "/" + Text(128, 'p')}, true, true, true},
        // A header keeps no length and no path, so only its caption can be cut.
        {{"* Album *", Text(11, 'l'), "/" + Text(128, 'p')}, false, false, false},
        {{header41, "", ""}, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Entry.Caption);
        const auto cut = CutEntries({c.Entry});
        if (!c.Name && !c.Length && !c.Path) {
            EXPECT_TRUE(cut.empty());
            continue;
        }
        ASSERT_EQ(cut.size(), 1u);
        EXPECT_EQ(cut[0], (TCutEntry{c.Entry.Caption, c.Name, c.Length, c.Path}));
    }
}

TEST(PlaylistCuts, OnlyTheCutEntriesAreFoundInTheirOrder) {
    const std::vector<TPlaylistEntry> entries = {
        {"Fits", "1'00\"", "/fits.mp3"},
        {"Long path", "1'00\"", "/" + Text(200, 'p')},
        {"Fits too", "1'00\"", "/fits2.mp3"},
        {Text(50, 'n'), "1'00\"", "/fits3.mp3"},
    };
    EXPECT_EQ(CutEntries(entries), (std::vector<TCutEntry>{{"Long path", false, false, true},
                                                           {Text(50, 'n'), true, false, false}}));
}

TEST(PlaylistCuts, TheWarningNamesTenEntriesAndCountsTheRest) {
    const std::string intro =
        "These entries are too long for a playlist file and will be saved cut:\r";
    const std::string question =
        "A song whose path is cut cannot be played from the saved list. Save anyway?";
    EXPECT_EQ(CutEntriesWarningText({{"Song", false, false, true}, {"Both", true, true, true}}),
              intro + "Song (path)\rBoth (name, length, path)\r" + question);

    for (const std::size_t count : {10u, 11u, 25u}) {
        SCOPED_TRACE(count);
        std::vector<TCutEntry> cut;
        std::string named;
        for (std::size_t i = 0; i < count; ++i) {
            cut.push_back({"Song " + std::to_string(i), true, false, false});
            if (i < CutEntriesNamed)
                named += "Song " + std::to_string(i) + " (name)\r";
        }
        const std::string more =
            count > 10 ? "and " + std::to_string(count - 10) + " more\r" : std::string();
        EXPECT_EQ(CutEntriesWarningText(cut), intro + named + more + question);
    }
}
