#include "describing/DescMerge.h"

#include <gtest/gtest.h>

using namespace Catalogue;

namespace {

TFoundEntry Song(const std::string& name, const std::string& title, TSongNumbers numbers) {
    return {name, LayOutLine(name, title, TCodePage::Windows1252, numbers).Text, numbers};
}

TFoundEntry Folder(const std::string& name) {
    return {name, name + "  " + name, std::nullopt};
}

} // namespace

TEST(DescMerge, NewFileListsEntriesInOrderWithCrLf) {
    TMergeInput input;
    input.Found = {Folder("Jazz"), Folder("Rock")};
    const auto merged = MergeDescFile(input);
    EXPECT_EQ(merged.Text, "Jazz  Jazz\r\nRock  Rock\r\n");
    EXPECT_EQ(merged.Added, (std::vector<std::size_t>{0, 1}));
}

TEST(DescMerge, KeepsTheUsersLinesAndAppendsNewEntries) {
    // Comments, blank lines, order, CD numbers, the user's own words and a line that fails
    // the syntax test all stay as they are, whatever their line ends.
    const std::string existing = "; my albums\r\n"
                                 "\r\n"
                                 "Rock  My rock  collection                             12\n"
                                 "a-very-long-album-name  broken\r"
                                 "Jazz  Cool jazz\r\n";
    TMergeInput input;
    input.Existing = existing;
    input.Found = {Folder("Blues"), Folder("Jazz"), Folder("Rock")};
    const auto merged = MergeDescFile(input);
    EXPECT_EQ(merged.Text, existing + "Blues  Blues\r\n");
    EXPECT_EQ(merged.Added, std::vector<std::size_t>{0});
    input.Existing = merged.Text;
    EXPECT_EQ(MergeDescFile(input).Text, merged.Text);
}

TEST(DescMerge, RefreshesOnlyTheNumbersOfChangedSongs) {
    const auto old =
        LayOutLine("01.mp3", "My title", TCodePage::Windows1252, TSongNumbers{3000000, 128000})
            .Text;
    const auto same =
        LayOutLine("02.mp3", "Kept", TCodePage::Windows1252, TSongNumbers{1000000, 128000}).Text;
    const std::string existing = old + "\r\n" + same + "\r\n" + "03.mp3  No numbers yet\r\n";
    TMergeInput input;
    input.Existing = existing;
    input.Found = {Song("01.mp3", "Tag title", {3100000, 128000}),
                   // The same play time at another rate is no change.
                   Song("02.mp3", "Tag", {1000000, 127000}),
                   Song("03.mp3", "Tag", {16000, 128000})};
    const auto merged = MergeDescFile(input);
    EXPECT_EQ(merged.Refreshed, 2);
    EXPECT_TRUE(merged.Added.empty());
    EXPECT_EQ(merged.Text, WithNumbers(old, {3100000, 128000}) + "\r\n" + same + "\r\n" +
                               WithNumbers("03.mp3  No numbers yet", {16000, 128000}) + "\r\n");
}

TEST(DescMerge, GoneEntriesStayUnlessPruned) {
    const std::string existing = "; c\r\nGone  Gone away\r\nHere  Here\r\nKept  Unreadable\r\n"
                                 "no separator\r\n";
    TMergeInput input;
    input.Existing = existing;
    input.Found = {Folder("Here")};
    input.Present = {"Here", "Kept"};
    EXPECT_EQ(MergeDescFile(input).Text, existing);
    input.Prune = true;
    const auto pruned = MergeDescFile(input);
    EXPECT_EQ(pruned.Pruned, 1);
    EXPECT_EQ(pruned.Text, "; c\r\nHere  Here\r\nKept  Unreadable\r\nno separator\r\n");
}

TEST(DescMerge, AppendsBeforeCtrlZAndAfterAnUnterminatedLine) {
    TMergeInput input;
    input.Found = {Folder("A"), Folder("B")};
    input.Existing = std::string_view("A  a");
    EXPECT_EQ(MergeDescFile(input).Text, "A  a\r\nB  B\r\n");
    input.Existing = std::string_view("A  a\r\n\x1A junk");
    EXPECT_EQ(MergeDescFile(input).Text, "A  a\r\nB  B\r\n\x1A junk");
}
