#include "catalogue/DescFile.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::AllLineEnds;
using CatalogueTest::JoinLines;
using CatalogueTest::LineEndsName;
using CatalogueTest::P;

namespace {

std::vector<std::string> DescriptionLines(std::string_view text) {
    std::vector<std::string> lines;
    TDescLines reader(text);
    std::string_view line;
    while (reader.NextLine(line))
        lines.emplace_back(line);
    return lines;
}

using TLines = std::vector<std::string>;

} // namespace

TEST(DescLines, SplitsAndClassifiesLines) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        TLines lines;
    } cases[] = {
        {"", {}},
        {"a  x\r\nb  y\r\n", {"a  x", "b  y"}},
        {"a  x\rb  y", {"a  x", "b  y"}},
        {"no ending", {"no ending"}},
        {"a  x\nb  y\n", {"a  x", "b  y"}},
        {"a  x\r\n\nb", {"a  x", "b"}},
        {"a  x\n\r\nb", {"a  x", "b"}},
        {"a  x\n\rb\r", {"a  x", "b"}},
        {"a  x\r\r\nb\r", {"a  x", "b"}},
        {"; c\r\n ; d\r\n;\r\n", {" ; d"}},
        {" \t\x01\x1f\r\n\r\n   ", {}},
        {"\0\0\r\n"s, {}},
        {"x\0y\r\n"s, {"x\0y"s}},
        {"a  x\r\nb\x1a  y\r\nc  z\r\n", {"a  x", "b"}},
        {"\x1a"
         "a  x",
         {}},
        {"a  x\r\x1a\n", {"a  x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescriptionLines(c.text), c.lines) << c.text;
}

TEST(DescLines, EveryKindOfLineEndGivesTheSameLines) {
    const std::string long1 = "LONG  " + std::string(150, 'l');
    const TLines written = {
        "; comment", "ROCK  Rock", "", "   ", long1, "NOSEPARATOR", "", "JAZZ  Jazz", "x",
    };
    const TLines wanted = {"ROCK  Rock", long1, "NOSEPARATOR", "JAZZ  Jazz", "x"};
    for (const auto ends : AllLineEnds) {
        SCOPED_TRACE(LineEndsName(ends));
        const auto text = JoinLines(written, ends);
        EXPECT_EQ(DescriptionLines(text), wanted);
        // Without the last line's end, and with a Ctrl-Z after it.
        EXPECT_EQ(DescriptionLines(text.substr(0, text.size() - 1)), wanted);
        EXPECT_EQ(DescriptionLines(text + "\x1aLATE  line"), wanted);
    }
}

TEST(DescLines, RawLinesIncludeBlankAndCommentLines) {
    TDescLines reader("; c\r\n\r\nx  y");
    std::string_view line;
    TLines raw;
    while (reader.NextRawLine(line))
        raw.emplace_back(line);
    EXPECT_EQ(raw, (TLines{"; c", "", "x  y"}));
    EXPECT_TRUE(IsBlankLine(""));
    EXPECT_FALSE(IsBlankLine("  !"));
    EXPECT_TRUE(IsCommentLine(";Jazz  Jazz"));
    EXPECT_FALSE(IsCommentLine(" ;Jazz  Jazz"));
}

TEST(DescFile, ReadsTheWholeFileByteForByte) {
    TTempDir dir;
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    const auto path = dir.Write("d/descript.ion", bytes);
    TDescFile file;
    ASSERT_TRUE(file.Open(path.string()));
    EXPECT_EQ(file.Text(), bytes);
}

TEST(DescFile, KeepsNoStaleTextFromAnEarlierFile) {
    TTempDir dir;
    const auto big = dir.Write("big", std::string(100000, 'x') + "\r\nlast  line");
    const auto small = dir.Write("small", "a  b");
    const auto empty = dir.Write("empty", "");
    TDescFile file;
    ASSERT_TRUE(file.Open(big.string()));
    ASSERT_TRUE(file.Open(small.string()));
    EXPECT_EQ(DescriptionLines(file.Text()), (TLines{"a  b"}));
    ASSERT_TRUE(file.Open(empty.string()));
    EXPECT_EQ(file.Text(), "");
    EXPECT_FALSE(file.Open((dir.Path() / "missing").string()));
    EXPECT_FALSE(file.Opened());
    EXPECT_EQ(file.Text(), "");
}

TEST(DescFile, AnythingThatIsNotAReadableFileIsNotOpened) {
    TTempDir dir;
    const auto plain = dir.Write("plain", "x  y");
    const std::string notOpenable[] = {
        "",
        (dir.Path() / "missing" / "descript.ion").string(),
        dir.Path().string(),
        (plain / "descript.ion").string(),
        plain.string() + std::string(1, '\0') + "tail",
        std::string(5000, 'n'),
    };
    TDescFile file;
    for (const auto& path : notOpenable)
        EXPECT_FALSE(file.Open(path)) << path;
}

TEST(DescFile, ReadsAOneMegabyteLineWithoutLineEnding) {
    TTempDir dir;
    std::string line = "BIG  " + std::string(1024 * 1024, 'z');
    const auto path = dir.Write("descript.ion", line);
    TDescFile file;
    ASSERT_TRUE(file.Open(path.string()));
    EXPECT_EQ(DescriptionLines(file.Text()), (TLines{line}));
}

TEST(DescFile, AFileWithoutReadPermissionIsNotOpened) {
    TTempDir dir;
    const auto path = dir.Write("descript.ion", "x  y\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::FILE* probe = std::fopen(path.string().c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "this user reads files without read permission (root on POSIX; on "
                        "Windows the permission bits only make a file read-only)";
    }
    TDescFile file;
    EXPECT_FALSE(file.Open(path.string()));
}

TEST(DescFile, PathsBelowAFolderReadAsWholePathsDo) {
    TTempDir dir;
    dir.Write("base/descript.ion", "base");
    dir.Write("base/CAT/descript.ion", "category");
    dir.Write("other/descript.ion", "other");
    const std::string root = dir.Path().string() + P("/");
    const std::string base = root + P("base/");
    const TDescFolder folder(base);
    const TDescFolder category(base + P("CAT/"), &folder);
    const TDescFolder missing(root + P("missing/"));
    const struct {
        std::string path;
        const TDescFolder* folder;
        const char* text;
    } cases[] = {
        {base + "descript.ion", &folder, "base"},
        {base + P("CAT/descript.ion"), &folder, "category"},
        {base + P("CAT/descript.ion"), &category, "category"},
        {base + P("../other/descript.ion"), &folder, "other"},
        // Not below the folder, or the folder cannot be opened: the whole path counts.
        {root + P("other/descript.ion"), &folder, "other"},
        {root + P("other/descript.ion"), &missing, "other"},
        {base + P("CAT/descript.ion"), nullptr, "category"},
    };
    TDescFile file;
    for (const auto& c : cases) {
        ASSERT_TRUE(file.Open(c.path, c.folder)) << c.path;
        EXPECT_EQ(file.Text(), c.text) << c.path;
    }
    EXPECT_FALSE(file.Open(base + P("GONE/descript.ion"), &folder));
    EXPECT_FALSE(file.Open(base, &folder));
}
