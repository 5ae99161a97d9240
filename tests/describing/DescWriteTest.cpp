#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "describing/DescLayout.h"
#include "describing/UnifiedDiff.h"

#include <gtest/gtest.h>

using namespace Catalogue;

TEST(DescWrite, LinesReadBackThroughTheReaders) {
    const std::string name18(18, 'n');
    const struct {
        std::string name;
        std::string description;
        std::optional<TSongNumbers> numbers;
        std::string expectedDescription;
        bool cut;
    } cases[] = {
        {"ROCK", "Rock and roll", std::nullopt, "Rock and roll", false},
        {"01.mp3", "Song", TSongNumbers{3000000, 128000}, "Song", false},
        {"01.mp3", "", TSongNumbers{0, 1}, "", false},
        {"01.mp3", "Trailing   ", TSongNumbers{5, 1}, "Trailing", false},
        {"x", std::string(47, 'd'), TSongNumbers{1, 1}, std::string(47, 'd'), false},
        {"x", std::string(48, 'd'), TSongNumbers{1, 1}, std::string(47, 'd'), true},
        {name18, std::string(40, 'd'), TSongNumbers{2147483647, 999999}, std::string(30, 'd'),
         true},
    };
    for (const auto& c : cases) {
        const auto line = LayOutLine(c.name, c.description, TCodePage::Windows1252, c.numbers);
        EXPECT_EQ(line.Cut, c.cut) << line.Text;
        EXPECT_EQ(ExtractDir(line.Text), c.name) << line.Text;
        const auto field = ParseDescription(line.Text);
        EXPECT_FALSE(field.SyntaxError) << line.Text;
        EXPECT_EQ(field.Text, c.expectedDescription) << line.Text;
        if (c.numbers) {
            ASSERT_EQ(line.Text.size(), 68u) << line.Text;
            EXPECT_EQ(line.Text[50], ' ');
            EXPECT_EQ(line.Text[61], ' ');
            EXPECT_EQ(ParseNumberField(line.Text.substr(51, 10)), c.numbers->Size);
            EXPECT_EQ(ParseNumberField(line.Text.substr(62, 6)), c.numbers->Rate);
            EXPECT_EQ(ExtractTime(line.Text), PlayTimeOf(c.numbers->Size, c.numbers->Rate));
        } else {
            EXPECT_FALSE(ExtractTime(line.Text).Known());
        }
    }
}

TEST(DescWrite, Utf8DescriptionIsCutOnACharacterBoundary) {
    // "x", two blanks, then 47 bytes of room: 23 two-byte letters fill 46 of them.
    std::string description;
    for (int i = 0; i < 30; ++i)
        description += "\xC3\xA9";
    const auto line = LayOutLine("x", description, TCodePage::Utf8, std::nullopt);
    EXPECT_TRUE(line.Cut);
    EXPECT_EQ(line.Text, "x  " + description.substr(0, 46));
    EXPECT_EQ(CharacterBoundary("a\xE6\x97\xA5", 3, TCodePage::Utf8), 1u);
    EXPECT_EQ(CharacterBoundary("a\xE6\x97\xA5", 4, TCodePage::Utf8), 4u);
    EXPECT_EQ(CharacterBoundary("abc\xE9", 3, TCodePage::Windows1252), 3u);
    // Auto cuts text that is UTF-8 as UTF-8, other text byte by byte.
    EXPECT_EQ(CharacterBoundary("a\xE6\x97\xA5", 3, TCodePage::Auto), 1u);
    EXPECT_EQ(CharacterBoundary("a\xE9\xE9\xE9", 3, TCodePage::Auto), 3u);
}

TEST(DescWrite, AutoTitlesReadBackAsTheyWereMeant) {
    // "x", two blanks, then 47 bytes of room up to column 50.
    const std::string ascii46(46, 'a');
    const struct {
        std::string title;
        TCodePage page;
        std::string description;
        bool cut;
        int unrepresentable;
    } cases[] = {
        {"Caf\xC3\xA9", TCodePage::Auto, "Caf\xE9", false, 0},
        {"Zo\xC3\xAB", TCodePage::Auto, "Zo\xEB", false, 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC", TCodePage::Auto, "\xE6\x97\xA5\xE6\x9C\xAC", false, 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC", TCodePage::Windows1252, "??", false, 2},
        // Windows-1252 bytes that are UTF-8 too ("Ã©" reads as "é"): written in UTF-8.
        {"\xC3\x83\xC2\xA9", TCodePage::Auto, "\xC3\x83\xC2\xA9", false, 0},
        {"\xC3\x83\xC2\xA9", TCodePage::Windows1252, "\xC3\xA9", false, 0},
        // An "é" at column 50 after plain ASCII would read as a cut UTF-8 character: in UTF-8
        // it does not fit, and the line says the description was cut.
        {ascii46 + "\xC3\xA9", TCodePage::Auto, ascii46, true, 0},
        {ascii46 + "\xC3\xA9", TCodePage::Windows1252, ascii46 + "\xE9", false, 0},
        // A Windows-1252 text at column 50 that is not UTF-8 before it stays Windows-1252.
        {"\xC3\xA9t\xC3\xA9" + std::string(43, 'a') + "\xC3\xA9", TCodePage::Auto,
         "\xE9t\xE9" + std::string(43, 'a') + "\xE9", false, 0},
        // A character beyond Windows-1252 after column 50 still makes the line UTF-8.
        {std::string(50, 'a') + "\xE6\x97\xA5", TCodePage::Auto, std::string(47, 'a'), true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const auto line = LayOutTitle("x", c.title, c.page, TSongNumbers{1000, 8000});
        EXPECT_EQ(line.Text.substr(0, 3 + c.description.size()), "x  " + c.description);
        EXPECT_EQ(line.Text.size(), 68u);
        EXPECT_EQ(line.Cut, c.cut);
        EXPECT_EQ(line.Unrepresentable, c.unrepresentable);
        if (c.page == TCodePage::Auto) {
            EXPECT_EQ(ParseDescription(line.Text).Text, c.description);
        }
    }
}

TEST(DescWrite, NumbersAreRewrittenInTheirColumnsOnly) {
    const std::string user = "01.mp3  My own words";
    const std::string refreshed = WithNumbers(user, {123, 456});
    EXPECT_EQ(refreshed.substr(0, 51), user + std::string(51 - user.size(), ' '));
    EXPECT_EQ(refreshed.substr(51), "       123    456");
    const std::string longer = refreshed + " extra";
    EXPECT_EQ(WithNumbers(longer, {7, 8}), WithNumbers(user, {7, 8}) + " extra");
}

TEST(DescWrite, NamesTheFormatCannotHold) {
    const struct {
        std::string name;
        TNameFault fault;
    } cases[] = {
        {"abcdefghijklmn.mp3", TNameFault::None},
        {"abcdefghijklmno.mp3", TNameFault::TooLong},
        {"a b.mp3", TNameFault::None},
        {"a  b.mp3", TNameFault::Unwritable},
        {"trailing ", TNameFault::Unwritable},
        {";comment", TNameFault::Unwritable},
        {"line\rbreak", TNameFault::Unwritable},
        {"", TNameFault::Unwritable},
        {"caf\xC3\xA9.mp3", TNameFault::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckName(c.name), c.fault) << c.name;
}

TEST(DescWrite, ChosenBitRateGivesTheTrueSecond) {
    const struct {
        std::uint64_t size;
        std::int64_t lengthMs;
    } cases[] = {
        {3000000, 187500},
        {3000000, 187999},
        {3000000, 187000},
        {33557, 2097},
        {9000000, 600999},
        {1, 0},
        {0, 0},
        {4000, 60},
        {123457, 7400},
        {2147483647, 17179869},
    };
    for (const auto& c : cases) {
        const auto numbers = ChooseNumbers(c.size, c.lengthMs);
        ASSERT_TRUE(numbers) << c.size << " " << c.lengthMs;
        EXPECT_EQ(numbers->Size, static_cast<std::int32_t>(c.size));
        EXPECT_GE(numbers->Rate, 1);
        EXPECT_LE(numbers->Rate, MaxBitRate);
        const auto time = PlayTimeOf(numbers->Size, numbers->Rate);
        EXPECT_EQ(time.Minutes * 60 + time.Seconds, c.lengthMs / 1000)
            << c.size << " " << c.lengthMs;
    }
    // Sizes beyond 32 bits, lengths no rate field can give, and a song that cannot be that short.
    EXPECT_FALSE(ChooseNumbers(2147483648u, 1000000));
    EXPECT_FALSE(ChooseNumbers(200000000, 10000));
    EXPECT_FALSE(ChooseNumbers(10, 1000000));
}

TEST(DescWrite, UnifiedDiffShowsChangedAndAddedLines) {
    const std::string before = "; c\r\nA  one\r\nB  two\r\nC  three\r\nD  four\r\nE  five\r\n";
    const std::string after =
        "; c\r\nA  one\r\nB  TWO\r\nC  three\r\nD  four\r\nE  five\r\nF  six\r\n";
    EXPECT_EQ(UnifiedDiff(before, after, "a/x", "b/x"), "--- a/x\n+++ b/x\n"
                                                        "@@ -1,6 +1,7 @@\n"
                                                        " ; c\n A  one\n-B  two\n+B  TWO\n"
                                                        " C  three\n D  four\n E  five\n+F  six\n");
    EXPECT_EQ(UnifiedDiff("", "A  one\r\n", "/dev/null", "b/x"),
              "--- /dev/null\n+++ b/x\n@@ -0,0 +1,1 @@\n+A  one\n");
    EXPECT_EQ(UnifiedDiff(before, before, "a/x", "b/x"), "");
    // Changes far apart make hunks of their own.
    std::string many;
    for (int i = 0; i < 20; ++i)
        many += "L" + std::to_string(i) + "  x\r\n";
    std::string changed = many;
    changed.replace(changed.find("L2  x"), 5, "L2  y");
    changed.replace(changed.find("L17  x"), 6, "L17  y");
    const auto diff = UnifiedDiff(many, changed, "a/x", "b/x");
    EXPECT_NE(diff.find("@@ -1,6 +1,6 @@\n"), std::string::npos) << diff;
    EXPECT_NE(diff.find("@@ -15,6 +15,6 @@\n"), std::string::npos) << diff;
}
