#include "catalogue/DescLine.h"
#include "tests/catalogue/CatalogueLines.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;
using CatalogueTest::PadTo;
using CatalogueTest::SongLine;

TEST(DescLine, FileNameAndDescriptionFields) {
    const std::string name18(18, 'N');
    const std::string name19(19, 'N');
    const struct {
        std::string line;
        std::string dir;
        bool syntaxError;
        std::string description;
    } cases[] = {
        {"ROCK  Rock and roll", "ROCK", false, "Rock and roll"},
        {"ROCK    Rock", "ROCK", false, "  Rock"},
        {"ROCK  Rock   ", "ROCK", false, "Rock"},
        {"A B  Two words", "A B", false, "Two words"},
        {"  Leading", "", false, "Leading"},
        {"X  ", "X", false, ""},
        {"X       ", "X", false, ""},
        {"X  tab\t", "X", false, "tab\t"},
        {"X  " + std::string(47, 'd'), "X", false, std::string(47, 'd')},
        {"X  " + std::string(60, 'd') + "  more", "X", false, std::string(47, 'd')},
        {name18 + "  Desc", name18, false, "Desc"},
        {name19 + "  Desc", name19, true, ""},
        {"NoSeparator", "", true, ""},
        {"One space only here and a  late pair", "One space only here and a", true, ""},
        {"", "", true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractDir(c.line), c.dir) << c.line;
        const auto field = ParseDescription(c.line);
        EXPECT_EQ(field.SyntaxError, c.syntaxError) << c.line;
        EXPECT_EQ(field.Text, c.description) << c.line;
    }
}

TEST(DescLine, ExtractDescReportsEachSyntaxErrorAgainstItsFile) {
    std::vector<std::string> boxes;
    const TSyntaxErrorHandler record = [&](const std::string& text) { boxes.push_back(text); };
    const auto descPath = P("/MP3/descript.ion");
    EXPECT_EQ(ExtractDesc("JAZZ  Jazz", descPath, record), "Jazz");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ExtractDesc("NoSeparator", descPath, record),
              "<" + P("/MP3/") + "descript.ion : syntax error>");
    EXPECT_EQ(ExtractDesc("NoSeparator", descPath, {}),
              "<" + P("/MP3/") + "descript.ion : syntax error>");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Syntax error in file \"" + P("/MP3/") +
                            "descript.ion\".\rYou must separate the filename and the description "
                            "with TWO spaces.");
}

TEST(DescLine, CdNumberFieldIsTakenAsItStands) {
    EXPECT_EQ(CdNumberField(PadTo("ALB  Title", 51) + "    12" + "xyz"), "    12");
    EXPECT_EQ(CdNumberField(PadTo("ALB  Title", 51) + "    12"), "    12");
    EXPECT_EQ(CdNumberField(PadTo("ALB  Title", 51) + " 7"), " 7");
    EXPECT_EQ(CdNumberField(PadTo("ALB  Title", 40)), "");
    EXPECT_EQ(CdNumberField(PadTo("ALB  Title", 51)), "");
}

TEST(DescLine, NumberFields) {
    const struct {
        const char* field;
        std::optional<std::int32_t> value;
    } cases[] = {{"   3000000", 3000000},
                 {"3000000   ", 3000000},
                 {"  +42", 42},
                 {"  -42  ", -42},
                 {"2147483647", INT32_MAX},
                 {"-2147483648", INT32_MIN},
                 {"2147483648", std::nullopt},
                 {"9999999999", std::nullopt},
                 {"", std::nullopt},
                 {"      ", std::nullopt},
                 {"-", std::nullopt},
                 {"300 000", std::nullopt},
                 {"3000x00", std::nullopt},
                 {"\t3000", std::nullopt},
                 {"1.5", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseNumberField(c.field), c.value) << "'" << c.field << "'";
}

TEST(DescLine, ExtractTimeOfSongLines) {
    const TPlayTime unknown{-1, -1};
    const struct {
        std::string line;
        TPlayTime time;
    } cases[] = {
        {SongLine("S.MP3", "Song", "3000000", "128000"), {3, 7}},
        {SongLine("S.MP3", "Song", "1440000", "192000"), {1, 0}},
        {PadTo("S.MP3  Song", 51) + "3000000   " + " " + "128   ", {3125, 0}},
        {PadTo("S.MP3  Song", 51) + "   3000000" + "x" + "128000", {3, 7}},
        {SongLine("S.MP3", "Song", "0", "128000"), {0, 0}},
        {SongLine("S.MP3", "Song", "2147483647", "128000"), {2236, 57}},
        {SongLine("S.MP3", "Song", "72000000", "128000"), {75, 0}},
        {PadTo("S.MP3  Song", 51), unknown},
        {PadTo("S.MP3  Song", 50), unknown},
        {PadTo("S.MP3  Song", 51) + "3", unknown},
        {PadTo("S.MP3  Song", 51) + "   3000000", unknown},
        {PadTo("S.MP3  Song", 51) + "   3000000 ", unknown},
        {PadTo("S.MP3  Song", 51) + "   3000000 1", {400000, 0}},
        {SongLine("S.MP3", "Song", "", "128000"), unknown},
        {SongLine("S.MP3", "Song", "3000000", ""), unknown},
        {SongLine("S.MP3", "Song", "3,000,000", "128000"), unknown},
        {SongLine("S.MP3", "Song", "3000000", "128k"), unknown},
        {SongLine("S.MP3", "Song", "2147483648", "128000"), unknown},
        {SongLine("S.MP3", "Song", "3000000", "0"), unknown},
        {SongLine("S.MP3", "Song", "-3000000", "128000"), unknown},
        {SongLine("S.MP3", "Song", "-1440000", "192000"), unknown},
        {SongLine("S.MP3", "Song", "3000000", "-128000"), unknown},
        {SongLine("S.MP3", "Song",
                  std::string("30\0"
                              "0000",
                              7),
                  "128000"),
         unknown},
        {SongLine("NoSeparatorAtAllInThisName", "", "3000000", "128000"), {3, 7}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractTime(c.line), c.time) << c.line;
}

TEST(PlayTime, NegativeTimesTruncateTowardZero) {
    const struct {
        std::int32_t size;
        std::int32_t rate;
        TPlayTime time;
    } cases[] = {{-3000000, 128000, {-3, -7}},
                 {3000000, -128000, {-3, -7}},
                 {-3000000, -128000, {3, 7}},
                 {-1440000, 192000, {-1, 0}},
                 {-8000, 128000, {0, 0}},
                 {INT32_MIN, 1, {-286331153, -4}},
                 {INT32_MIN, INT32_MIN, {0, 8}},
                 {INT32_MAX, 1, {286331152, 56}},
                 {1, 0, {-1, -1}}};
    for (const auto& c : cases)
        EXPECT_EQ(PlayTimeOf(c.size, c.rate), c.time) << c.size << " / " << c.rate;
}

// The integer rule must give what x = size / (rate * 0.125) * (1/60) gives in 80-bit
// extended precision, truncating x and then its fraction times 60.
TEST(PlayTime, MatchesTheExtendedPrecisionComputation) {
    if (LDBL_MANT_DIG != 64)
        GTEST_SKIP() << "long double is not the 80-bit extended type here";
    std::mt19937_64 random(20240601);
    const long double oneSixtieth = 0.016666666666666666667L;
    for (int i = 0; i < 300000; ++i) {
        std::int32_t size;
        std::int32_t rate;
        if (i % 3 == 0) {
            size = static_cast<std::int32_t>(random());
            rate = static_cast<std::int32_t>(random());
        } else {
            rate = 1000 * static_cast<std::int32_t>(random() % 320 + 1);
            const auto seconds = static_cast<std::int64_t>(random() % 7200);
            size = static_cast<std::int32_t>(seconds * rate / 8);
            if (i % 3 == 2)
                size = -size;
        }
        if (rate == 0)
            continue;
        const long double x = static_cast<long double>(size) /
                              (static_cast<long double>(rate) * 0.125L) * oneSixtieth;
        const long double whole = std::trunc(x);
        const TPlayTime expected{static_cast<int>(whole),
                                 static_cast<int>(std::trunc((x - whole) * 60))};
        ASSERT_EQ(PlayTimeOf(size, rate), expected) << size << " / " << rate;
    }
}

TEST(DescLine, Dec2strPadsOnTheLeft) {
    const struct {
        std::int32_t value;
        int width;
        char pad;
        const char* text;
    } cases[] = {{7, 2, '0', "07"},    {0, 2, '0', "00"},     {123, 2, '0', "123"},
                 {100, 2, '0', "100"}, {-5, 2, '0', "-5"},    {-5, 3, '0', "0-5"},
                 {5, 0, '0', "5"},     {42, 5, ' ', "   42"}, {INT32_MIN, 2, '0', "-2147483648"}};
    for (const auto& c : cases)
        EXPECT_EQ(dec2str(c.value, c.width, c.pad), c.text) << c.value;
    EXPECT_EQ(dec2str(1, 255, '0').size(), 255u);
}
