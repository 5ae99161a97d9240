#include "playback/OrderBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

using namespace Playback;

namespace {

// Hands out the scripted numbers and records the bounds asked for.
class TScriptedRandom final : public TRandomSource {
public:
    explicit TScriptedRandom(std::deque<int> script) : FScript(std::move(script)) {}
    void Randomize(std::uint32_t seed) override { Seeds.push_back(seed); }
    int Random(int bound) override {
        Bounds.push_back(bound);
        if (FScript.empty()) {
            ADD_FAILURE() << "more numbers drawn than scripted";
            return 0;
        }
        const int value = FScript.front();
        FScript.pop_front();
        EXPECT_LT(value, bound);
        return value;
    }
    bool Exhausted() const { return FScript.empty(); }

    std::vector<std::uint32_t> Seeds;
    std::vector<int> Bounds;

private:
    std::deque<int> FScript;
};

std::string SongPath(const std::string& name) {
#ifdef _WIN32
    return "D:\\Pop\\" + name;
#else
    return "/mp3/Pop/" + name;
#endif
}

std::vector<TPlaylistEntry> Rows(const std::vector<std::string>& names) {
    std::vector<TPlaylistEntry> rows;
    for (const auto& name : names)
        rows.push_back({"01. " + name, "3'07\"", SongPath(name)});
    return rows;
}

std::vector<std::string> Paths(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const auto& name : names)
        paths.push_back(SongPath(name));
    return paths;
}

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(stem + (i < 10 ? "0" : "") + std::to_string(i) + ".MP3");
    return names;
}

} // namespace

TEST(OrderBuilder, SequentialSkipsHeadersAndDrawsNothing) {
    auto rows = Rows({"A.MP3", "B.MP3"});
    rows.insert(rows.begin(), {"* Album *", "", ""});
    rows.push_back({"* Other album *", "", ""});
    TScriptedRandom random({});
    EXPECT_EQ(BuildPlayOrder(rows, pmSequential, random), Paths({"A.MP3", "B.MP3"}));
    EXPECT_TRUE(random.Bounds.empty());
    ASSERT_EQ(random.Seeds.size(), 1u);
    EXPECT_LT(random.Seeds[0], 24u * 60 * 60 * 1000);
}

TEST(OrderBuilder, EmptyListIsReseededAndDrawsNothing) {
    for (const auto mode : {pmSequential, pmLocalRandom, pmFullRandom}) {
        TScriptedRandom random({});
        EXPECT_TRUE(BuildPlayOrder({{"* Only a header *", "", ""}}, mode, random).empty());
        EXPECT_EQ(random.Seeds.size(), 1u);
        EXPECT_TRUE(random.Bounds.empty());
    }
}

TEST(OrderBuilder, FullRandomExchangesScriptedPairs) {
    // 2 * last + 1 = 5 rounds of two independent draws over the whole list.
    TScriptedRandom random({0, 2, 1, 1, 2, 0, 0, 1, 1, 2});
    EXPECT_EQ(BuildPlayOrder(Rows({"A.MP3", "B.MP3", "C.MP3"}), pmFullRandom, random),
              Paths({"B.MP3", "C.MP3", "A.MP3"}));
    EXPECT_EQ(random.Bounds, std::vector<int>(10, 3));
    EXPECT_TRUE(random.Exhausted());
}

TEST(OrderBuilder, FullRandomOfOneSongDoesOneRound) {
    TScriptedRandom random({0, 0});
    EXPECT_EQ(BuildPlayOrder(Rows({"ONLY.MP3"}), pmFullRandom, random), Paths({"ONLY.MP3"}));
    EXPECT_EQ(random.Bounds, std::vector<int>(2, 1));
}

TEST(OrderBuilder, LocalRandomShufflesEachRunWithRoundsByPlace) {
    // Runs: 0..1 (ALBUMX, 3 rounds), 2..2 (SO, 3 rounds), 3..4 (OTHERB, 6 rounds).
    TScriptedRandom random({0, 1, 1, 1, 0, 0,             // run 0..1: exchanged once
                            0, 0, 0, 0, 0, 0,             // run 2..2: nothing to exchange
                            0, 1, 0, 1, 1, 0, 0, 0, 1, 1, // run 3..4: exchanged three times
                            1, 1});
    const auto order = BuildPlayOrder(
        Rows({"ALBUMX01.MP3", "ALBUMX02.MP3", "SOLO.MP3", "OTHERB01.MP3", "OTHERB02.MP3"}),
        pmLocalRandom, random);
    EXPECT_EQ(order,
              Paths({"ALBUMX02.MP3", "ALBUMX01.MP3", "SOLO.MP3", "OTHERB02.MP3", "OTHERB01.MP3"}));
    std::vector<int> bounds(6, 2);
    bounds.insert(bounds.end(), 6, 1);
    bounds.insert(bounds.end(), 12, 2);
    EXPECT_EQ(random.Bounds, bounds);
    EXPECT_TRUE(random.Exhausted());
}

TEST(OrderBuilder, LocalRandomKeysCompareExactly) {
    // Letter case differs: two one-row runs (1 and 2 rounds), so every draw has bound 1.
    TScriptedRandom random({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(BuildPlayOrder(Rows({"albumx01.mp3", "ALBUMX02.MP3"}), pmLocalRandom, random),
              Paths({"albumx01.mp3", "ALBUMX02.MP3"}));
    EXPECT_EQ(random.Bounds, std::vector<int>(6, 1));
}

TEST(OrderBuilder, LocalRandomKey) {
    const std::string longName(300, 'N');
    const struct {
        std::string path;
        std::string key;
    } cases[] = {
        {SongPath("ALBUMX01.MP3"), "ALBUMX"},
        {"ALBUMX01.MP3", "ALBUMX"},
        {SongPath("ABCDEF"), ""},
        {SongPath("ABCDEFG"), "A"},
        {SongPath("A.MP3"), ""},
        {SongPath(""), ""},
        {SongPath(longName), std::string(249, 'N')},
#ifdef _WIN32
        {"C:ALBUMX01.MP3", "ALBUMX"},
#else
        {"/mp3/C:ALBUMX01.MP3", "C:ALBUMX"},
        {"/mp3/back\\slash01.mp3", "back\\slash"},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalRandomKey(c.path), c.key) << c.path;
}

TEST(OrderBuilder, TimeOfDaySeedCountsMillisecondsSinceMidnightUtc) {
    using namespace std::chrono;
    const auto day = sys_days{year{2024} / March / 5};
    EXPECT_EQ(TimeOfDaySeed(day), 0u);
    EXPECT_EQ(TimeOfDaySeed(day + 13h + 45min + 30s + 123ms),
              ((13u * 60 + 45) * 60 + 30) * 1000 + 123);
    EXPECT_EQ(TimeOfDaySeed(day - 1ms), 86399999u);
    EXPECT_EQ(TimeOfDaySeed(sys_days{year{1969} / December / 31} + 1h), 3600000u);
}

TEST(OrderBuilder, LocalRandomNeverMixesRuns) {
    auto names = Numbered("ALBUMX", 12);
    const auto others = Numbered("OTHERB", 5);
    names.insert(names.end(), others.begin(), others.end());
    const auto rows = Rows(names);
    const auto sequential = Paths(names);
    bool shuffled = false;
    for (int build = 0; build < 200; ++build) {
        auto order = BuildPlayOrder(rows, pmLocalRandom);
        ASSERT_EQ(order.size(), 17u);
        shuffled = shuffled || order != sequential;
        std::sort(order.begin(), order.begin() + 12);
        std::sort(order.begin() + 12, order.end());
        ASSERT_EQ(order, sequential);
    }
    EXPECT_TRUE(shuffled);
}

TEST(OrderBuilder, SeparatedRunsOfOneKeyAreShuffledApart) {
    const std::vector<std::string> names = {"ALBUMA01.MP3", "ALBUMA02.MP3", "OTHERB01.MP3",
                                            "ALBUMA03.MP3", "ALBUMA04.MP3"};
    for (int build = 0; build < 100; ++build) {
        auto order = BuildPlayOrder(Rows(names), pmLocalRandom);
        std::sort(order.begin(), order.begin() + 2);
        std::sort(order.begin() + 3, order.end());
        ASSERT_EQ(order, Paths(names));
    }
}

TEST(OrderBuilder, UniqueKeysKeepTheSequentialOrder) {
    const std::vector<std::string> names = {"01 - Intro.mp3", "02 - Song.mp3", "03 - Outro.mp3"};
    EXPECT_EQ(BuildPlayOrder(Rows(names), pmLocalRandom), Paths(names));
}

TEST(OrderBuilder, FullRandomIsAPermutation) {
    const auto names = Numbered("TRACK", 20);
    auto expected = Paths(names);
    std::sort(expected.begin(), expected.end());
    for (int build = 0; build < 50; ++build) {
        auto order = BuildPlayOrder(Rows(names), pmFullRandom);
        std::sort(order.begin(), order.end());
        ASSERT_EQ(order, expected);
    }
}
