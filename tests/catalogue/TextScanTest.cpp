#include "catalogue/TextScan.h"
#include "catalogue/AlbumSearch.h"
#include "catalogue/CatalogueMessages.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;

namespace {

// The query found by trying every position, for comparison.
bool FoundByEveryPosition(std::string_view text, std::string_view upperQuery) {
    if (upperQuery.empty())
        return false;
    return UpperAscii(text).find(upperQuery) != std::string::npos;
}

// Whether walking the raw lines finds one that is neither empty nor a comment and fails the
// syntax test; with blankLinesSkipped, as the readers walk them.
bool FailingLineByLine(std::string_view text, bool blankLinesSkipped) {
    TDescLines lines(text);
    std::string_view line;
    while (lines.NextRawLine(line)) {
        const bool skipped = blankLinesSkipped ? IsBlankLine(line) : line.empty();
        if (!skipped && !IsCommentLine(line) && !PassesSyntaxTest(line))
            return true;
    }
    return false;
}

// Whether some raw line (up to a Ctrl-Z) holds the query.
bool QueryInSomeLine(std::string_view text, std::string_view upperQuery) {
    TDescLines lines(text);
    std::string_view line;
    while (lines.NextRawLine(line))
        if (FoundByEveryPosition(line, upperQuery))
            return true;
    return false;
}

// Lines long and short of blanks, letters in both cases, comments and line feeds.
std::string RandomText(std::mt19937& random) {
    const std::string alphabet = "aaAbb    ;\n\t";
    const char* const breaks[] = {"\r\n", "\r", "\r\n\n", "\x1A"};
    std::string text;
    const auto lineCount = random() % 10;
    for (std::size_t l = 0; l < lineCount; ++l) {
        const auto length = random() % 100;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        text += breaks[random() % 4 == 0 ? random() % 4 : 0];
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

TEST(TextScanTest, FindsTheLinesThatMayFailTheSyntaxTest) {
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
        {"A  B\nLINEFEEDS DO NOT END A LINE\r\n", false},
        {"A B\nC  D" + padded, false},
        {"ROCK  Rock\x1ANOSEPARATOR\r\n", false},
        {padded + padded + "  late separator\r\n", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MayHoldSyntaxErrors(c.text), c.mayFail) << c.text;
        EXPECT_EQ(FailingLineByLine(c.text, false), c.mayFail) << c.text;
    }
}

TEST(TextScanTest, SyntaxScanAgreesWithTheLineWalkOnRandomTexts) {
    std::mt19937 random(11);
    const char* const queries[] = {"AB", "A A", "B;", "BBBB", "A\nA"};
    for (int round = 0; round < 5000; ++round) {
        const auto text = RandomText(random);
        const bool mayFail = MayHoldSyntaxErrors(text);
        ASSERT_EQ(mayFail, FailingLineByLine(text, false)) << text;
        // Never a miss: a line that the readers would report is always among them.
        ASSERT_TRUE(mayFail || !FailingLineByLine(text, true)) << text;
        const std::string query = queries[round % 5];
        ASSERT_EQ(MayHoldSyntaxErrorsOrQuery(text, TQueryMatcher(query)),
                  mayFail || QueryInSomeLine(text, query))
            << text << " / " << query;
    }
}

TEST(TextScanTest, QueryIsFoundInEveryLineThatHoldsIt) {
    const std::string padded = "  " + std::string(70, 'x');
    const struct {
        std::string text;
        const char* query;
        bool found;
    } cases[] = {
        {"A1" + padded + "\r\nA2  Moon river\r\n", "MOON", true},
        {"A1  Moon river" + padded + "\r\nA2" + padded + "\r\n", "MOON", true},
        {"A1" + padded + "\r\nA2" + padded + "\r\n", "MOON", false},
        // Across a line's end it may raise a false alarm, which only costs the full walk.
        {"A1  Blue\r\nMoon  Night" + padded, "BLUE\r\nMOON", true},
        {"A1  Blue" + padded + "\x1AMoon  Night", "MOON", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MayHoldSyntaxErrorsOrQuery(c.text, TQueryMatcher(c.query)), c.found) << c.text;
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
