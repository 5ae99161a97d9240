#include "catalogue/CataloguePath.h"
#include "tests/catalogue/CatalogueLines.h"

#include <gtest/gtest.h>

using namespace Catalogue;
using CatalogueTest::P;

TEST(CataloguePath, ReducesEveryDoubledDelimiter) {
    const struct {
        const char* path;
        const char* reduced;
    } cases[] = {{"", ""},
                 {"a/b", "a/b"},
                 {"a//b", "a/b"},
                 {"a////b//c", "a/b/c"},
                 {"//server/share", "/server/share"},
                 {"////", "/"},
                 {"/mp3//", "/mp3/"}};
    for (const auto& c : cases) {
        std::string path = P(c.path);
        ReducePath(path);
        EXPECT_EQ(path, P(c.reduced)) << c.path;
    }
}

TEST(CataloguePath, JoinsWithAndWithoutATrailingDelimiter) {
    EXPECT_EQ(JoinPath(P("/mp3/"), "ROCK"), P("/mp3/ROCK"));
    EXPECT_EQ(JoinPath(P("/mp3"), "ROCK"), P("/mp3/ROCK"));
    EXPECT_EQ(JoinPath(P("/mp3"), ""), P("/mp3/"));
    EXPECT_EQ(DescFilePath(P("/mp3/")), P("/mp3/descript.ion"));
    EXPECT_EQ(DescFilePath(P("/mp3")), P("/mp3/descript.ion"));
    EXPECT_EQ(DescFilePath(P("//mp3")), P("/mp3/descript.ion"));
    EXPECT_EQ(DescFilePath(""), P("/descript.ion"));

    std::string out = "old text that must go";
    ComposePath(out, {P("/root/"), "CAT", "", "descript.ion"});
    EXPECT_EQ(out, P("/root/CAT/descript.ion"));
}

TEST(CataloguePath, ComposingIsJoiningWithDelimitersThenReducing) {
    // Every combination of parts that are empty, delimiters only, or names with delimiters
    // before, after and inside them.
    const char* pieces[] = {"", "/", "//", "a", "/a", "a/", "//a//", "a//b", "/a/b/"};
    for (const auto* first : pieces)
        for (const auto* second : pieces)
            for (const auto* third : pieces) {
                std::string joined = P(first) + P("/") + P(second) + P("/") + P(third);
                ReducePath(joined);
                std::string composed = "old";
                ComposePath(composed, {P(first), P(second), P(third)});
                EXPECT_EQ(composed, joined) << first << " | " << second << " | " << third;
            }
}

TEST(CataloguePath, DirectoryPartEndsWithTheLastDelimiter) {
    EXPECT_EQ(DirectoryPart(P("/mp3/rock/descript.ion")), P("/mp3/rock/"));
    EXPECT_EQ(DirectoryPart(P("/descript.ion")), P("/"));
    EXPECT_EQ(DirectoryPart("descript.ion"), "");
#ifdef _WIN32
    EXPECT_EQ(DirectoryPart("C:descript.ion"), "C:");
    EXPECT_EQ(DirectoryPart("C:\\mp3\\rock/a.m3u"), "C:\\mp3\\rock/");
#else
    EXPECT_EQ(DirectoryPart("C:descript.ion"), "");
#endif
}
