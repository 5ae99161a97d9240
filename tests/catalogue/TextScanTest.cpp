#include "catalogue/TextScan.h"
#include "catalogue/AlbumSearch.h"
#include "catalogue/CatalogueMessages.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::AllLineEnds;
using CatalogueTest::JoinLines;
using CatalogueTest::LineEndsName;
using CatalogueTest::P;

namespace {

// The query found by trying every position, for comparison.
bool FoundByEveryPosition(std::string_view text, std::string_view upperQuery) {
    if (upperQuery.empty())
        return false;
    return UpperAscii(text).find(upperQuery) != std::string::npos;
}

// The raw lines of a text, as views into it.
std::vector<std::string_view> RawLines(std::string_view text) {
    std::vector<std::string_view> lines;
    TDescLines walk(text);
    std::string_view line;
    while (walk.NextRawLine(line))
        lines.push_back(line);
    return lines;
}

// A line that is neither empty nor a comment and fails the syntax test.
bool Fails(std::string_view line) {
    return !line.empty() && !IsCommentLine(line) && !PassesSyntaxTest(line);
}

// The raw lines that fail the syntax test or hold one of the queries (an empty one holds
// nothing).
std::vector<std::string_view> LinesToLookAt(std::string_view text, std::string_view upperQuery,
                                            std::string_view upperOther = {}) {
    std::vector<std::string_view> lines;
    for (const auto line : RawLines(text))
        if (Fails(line) || FoundByEveryPosition(line, upperQuery) ||
            FoundByEveryPosition(line, upperOther))
            lines.push_back(line);
    return lines;
}

// The lines a sieve gives.
std::vector<std::string_view> Sieved(std::string_view text, const std::string& upperQuery = {},
                                     const std::string& upperOther = {}) {
    const TQueryMatcher query(upperQuery);
    const TQueryMatcher other(upperOther);
    TLineSieve sieve(text, query, other);
    std::vector<std::string_view> lines;
    std::string_view line;
    while (sieve.NextLine(line))
        lines.push_back(line);
    return lines;
}

// Whether every line of wanted is among given, and given holds nothing but raw lines of the
// text, in order; views are compared by where they are.
::testing::AssertionResult GivesAtLeast(std::string_view text,
                                        const std::vector<std::string_view>& given,
                                        const std::vector<std::string_view>& wanted) {
    const auto same = [](std::string_view a, std::string_view b) {
        return a.data() == b.data() && a.size() == b.size();
    };
    const auto raw = RawLines(text);
    std::size_t r = 0;
    for (const auto line : given) {
        while (r < raw.size() && !same(raw[r], line))
            ++r;
        if (r == raw.size())
            return ::testing::AssertionFailure() << "not a raw line in order: " << line;
        ++r;
    }
    for (const auto line : wanted)
        if (std::none_of(given.begin(), given.end(), [&](auto g) { return same(g, line); }))
            return ::testing::AssertionFailure() << "left out: " << line;
    return ::testing::AssertionSuccess();
}

// Lines long and short of blanks, letters in both cases, comments and line feeds.
std::string RandomText(std::mt19937& random) {
    const std::string alphabet = "aaAbb    ;\n\t";
    const char* const breaks[] = {"\r\n", "\r", "\n", "\n\r", "\r\n\n", "\x1A"};
    std::string text;
    const auto lineCount = random() % 10;
    for (std::size_t l = 0; l < lineCount; ++l) {
        const auto length = random() % 100;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        text += breaks[random() % 4 == 0 ? random() % 6 : 0];
    }
    return text;
}

} // namespace

TEST(TextScanTest, FindsTheQueryWhereEveryPositionFindsIt) {
    const struct {
        const char* text;
        const char* query;
        bool found;
    } cases[] = {
        {"Album 7 Moon Fire", "ALBUM 7 MOON", true},
        {"Album 17 Moon", "ALBUM 7 MOON", false},
        {"aaaab", "AAB", true},
        {"abababac", "ABAC", true},
        {"xyz", "XYZ", true},
        {"xy", "XYZ", false},
        {"night train", "TRAIN", true},
        {"[bracket]", "{BRACKET}", false},
        {"{brace}", "{BRACE}", true},
        {"`tick", "@TICK", false},
        {"\xE9t\xE9", "\xC9T\xC9", false},
        {"\xE9t\xE9", "\xE9T\xE9", true},
        {"", "A", false},
        {"0123456789abcdefghijklmnopqrstuvwxyz Moon", "MOON", true},
        {"0123456789abcdefghijklmnopqrstuvwxyz Moo", "MOON", false},
        {"Moon 0123456789abcdefghijklmnopqrstuvwxyz", "MOON", true},
        {"anything", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TQueryMatcher(c.query).FoundIn(c.text), c.found) << c.text << " / " << c.query;
        EXPECT_EQ(ContainsQuery(c.text, c.query), c.found) << c.text << " / " << c.query;
    }
}

TEST(TextScanTest, QueryAgreesWithEveryPositionOnRandomTexts) {
    // A small alphabet with both cases and a folding neighbour makes near misses common.
    const std::string alphabet = "abAB `@{[\xE1";
    std::mt19937 random(7);
    const auto pick = [&](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const auto query = UpperAscii(pick(1 + random() % 4));
        const auto text = pick(random() % 80);
        ASSERT_EQ(TQueryMatcher(query).FoundIn(text), FoundByEveryPosition(text, query))
            << text << " / " << query;
    }
}

// Each sieve test runs with the scan for wide registers (where the processor has them) and
// with the one every processor runs.
class SieveTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { FBefore = AllowWideScanForTesting(GetParam()); }
    void TearDown() override { AllowWideScanForTesting(FBefore); }

private:
    bool FBefore = true;
};

INSTANTIATE_TEST_SUITE_P(Scans, SieveTest, ::testing::Values(true, false),
                         [](const auto& scan) { return scan.param ? "Wide" : "Narrow"; });

TEST_P(SieveTest, FindsTheLinesThatMayFailTheSyntaxTest) {
    const std::string padded(40, 'x');
    const struct {
        std::string text;
        bool mayFail;
    } cases[] = {
        {"", false},
        {"ROCK  Rock\r\n", false},
        {"ROCK  Rock\r\nNOSEPARATOR\r\n", true},
        {std::string(19, 'N') + "  Desc" + padded + "\r\n", true},
        {std::string(18, 'N') + "  Desc" + padded + "\r\n", false},
        {std::string(18, 'N') + "  ", false},
        {"; comment without separator" + padded + "\r\n", false},
        {" ; comment after a blank" + padded + "\r\n", true},
        {"\r\n\r\n\r\n", false},
        {"SHORT\r  NEXT LINE", true},
        {"A  B\nLINEFEEDS END A LINE TOO\r\n", true},
        {"A  B\nC  D" + padded + "\n", false},
        {"A B\nC  D" + padded, true},
        {"ROCK  Rock\x1ANOSEPARATOR\r\n", false},
        {padded + padded + "  late separator\r\n", true},
    };
    for (const auto& c : cases) {
        const auto given = Sieved(c.text);
        EXPECT_EQ(!given.empty(), c.mayFail) << c.text;
        EXPECT_EQ(given, LinesToLookAt(c.text, "")) << c.text;
    }
}

TEST_P(SieveTest, EveryKindOfLineEndGivesTheSameLines) {
    // The first line's length moves its end, and those after it, across the end of the first
    // 64-byte block (with CR LF at 63 the carriage return is the block's last byte and the
    // line feed the next block's first).
    for (std::size_t firstLength = 58; firstLength <= 70; ++firstLength) {
        const std::string first = CatalogueTest::PadTo("FIRST  ok", firstLength);
        const std::string bad1 = "BAD ONE " + std::string(40, 'b');
        const std::string bad2 = "BAD TWO moon";
        const std::string moon = "M1  Moon river" + std::string(100, ' ');
        const std::string fine = "A  " + std::string(61, 'a');
        const std::string longer = "B  " + std::string(200, 'b');
        const std::vector<std::string> written = {first, fine,     bad1, "",
                                                  moon,  "; moon", bad2, longer};
        for (const auto ends : AllLineEnds) {
            SCOPED_TRACE(std::string(LineEndsName(ends)) + " " + std::to_string(firstLength));
            const auto text = JoinLines(written, ends);
            const auto faulty = Sieved(text);
            EXPECT_EQ(std::vector<std::string>(faulty.begin(), faulty.end()),
                      (std::vector<std::string>{bad1, bad2}));
            const auto wanted = LinesToLookAt(text, "MOON");
            EXPECT_EQ(std::vector<std::string>(wanted.begin(), wanted.end()),
                      (std::vector<std::string>{bad1, moon, "; moon", bad2}));
            EXPECT_TRUE(GivesAtLeast(text, Sieved(text, "MOON"), wanted));
        }
    }
}

TEST_P(SieveTest, SieveAgreesWithTheLineWalkOnRandomTexts) {
    std::mt19937 random(11);
    const char* const queries[] = {"AB", "A A", "B;", "BBBB", "A\nA", "AAAAAAAAAAAAAAAAAAAAAAAAA"};
    for (int round = 0; round < 6000; ++round) {
        const auto text = RandomText(random);
        // Without a query, exactly the lines that fail the syntax test.
        ASSERT_EQ(Sieved(text), LinesToLookAt(text, "")) << text;
        const std::string query = queries[round % 6];
        const std::string other = round % 3 == 0 ? "B B" : "";
        ASSERT_TRUE(
            GivesAtLeast(text, Sieved(text, query, other), LinesToLookAt(text, query, other)))
            << text << " / " << query << " / " << other;
    }
}

TEST_P(SieveTest, SieveGivesEveryLineThatHoldsTheQuery) {
    const std::string padded = "  " + std::string(70, 'x');
    const struct {
        std::string text;
        const char* query;
        std::size_t wanted;
        // Whether a line may be given that neither holds the query nor fails the syntax test.
        bool falseAlarm;
    } cases[] = {
        {"A1" + padded + "\r\nA2  Moon river\r\n", "MOON", 1, false},
        {"A1  Moon river" + padded + "\r\nA2" + padded + "\r\n", "MOON", 1, true},
        {"A1" + padded + "\r\nA2" + padded + "\r\n", "MOON", 0, false},
        {"A1  Moon" + padded + "\r\nA2" + padded + "\r\nA3  moon" + padded, "MOON", 2, true},
        // Across a line's end it may raise a false alarm, which only costs a closer look.
        {"A1  Blue\r\nMoon  Night" + padded, "BLUE\r\nMOON", 0, true},
        {"A1  Blue" + padded + "\x1AMoon  Night", "MOON", 0, false},
    };
    for (const auto& c : cases) {
        const auto given = Sieved(c.text, c.query);
        const auto wanted = LinesToLookAt(c.text, c.query);
        EXPECT_EQ(wanted.size(), c.wanted) << c.text;
        EXPECT_TRUE(GivesAtLeast(c.text, given, wanted)) << c.text;
        if (!c.falseAlarm) {
            EXPECT_EQ(given, wanted) << c.text;
        }
    }
}

TEST(TextScanTest, SyntaxErrorTextOfAnAlbumMatchesInAFileThatLacksTheQuery) {
    TTempDir dir;
    dir.Write("descript.ion", "JAZZ  Jazz\r\n");
    dir.Write("JAZZ/descript.ion", "J1  Blue train\r\nNOSEPARATORHERE\r\nJ3  Giant steps\r\n");
    const auto base = dir.Path().string() + P("/");
    const auto categoryDesc = dir.Path().string() + P("/JAZZ/descript.ion");
    std::vector<std::string> boxes;
    TSearchEvents events;
    events.OnSyntaxError = [&](const std::string& text) { boxes.push_back(text); };

    const auto byError = SearchAlbums(base, "syntax error", events);
    ASSERT_EQ(byError.Results.size(), 1u);
    EXPECT_EQ(byError.Results[0].Album, SyntaxErrorText(categoryDesc));
    // A line without a two-blank run has an empty file-name field.
    EXPECT_EQ(byError.Results[0].Path, dir.Path().string() + P("/JAZZ/"));
    // The faulty line is reported at every search, whether anything matches or not.
    const auto none = SearchAlbums(base, "no such album", events);
    EXPECT_TRUE(none.Results.empty());
    EXPECT_EQ(boxes, (std::vector<std::string>(2, SyntaxErrorMessage(categoryDesc))));
}

TEST_P(SieveTest, ReadsNothingPastALastLineWithoutItsEnd) {
    const std::string padded(70, 'x');
    const std::vector<std::string> texts = {"A B", "ROCK  Rock\r\nNO END",
                                            "ROCK  Rock and the query", padded + "\r\nA  query",
                                            "ROCK  Rock\r\n" + padded + " query"};
    for (const auto& text : texts) {
        // In a buffer of its own size, so that the sanitizers see a read past the end.
        const auto buffer = std::make_unique<char[]>(text.size());
        std::copy(text.begin(), text.end(), buffer.get());
        const std::string_view view(buffer.get(), text.size());
        const auto given = Sieved(view, "QUERY");
        EXPECT_TRUE(GivesAtLeast(view, given, LinesToLookAt(view, "QUERY")));
        ASSERT_FALSE(given.empty());
        EXPECT_EQ(given.back().data() + given.back().size(), view.data() + view.size()) << text;
    }
}
