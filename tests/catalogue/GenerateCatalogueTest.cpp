#include "bench/GenerateCatalogue.h"
#include "catalogue/CatalogueWalk.h"
#include "catalogue/DescFile.h"
#include "catalogue/SongList.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace Catalogue;

TEST(GenerateCatalogue, WritesACatalogueThatReadsBackWithoutErrors) {
    TTempDir dir;
    const auto written = GenerateCatalogue(dir.Path(), {2, 3, 4, 7});
    EXPECT_EQ(written.Files, 1 + 2 + 2 * 3);
    EXPECT_EQ(written.Albums, 6);
    EXPECT_EQ(written.Songs, 24);

    int problems = 0;
    TCatalogueWalkEvents events;
    events.OnSyntaxError = [&](const std::string&) { ++problems; };
    events.OnCategoryFileMissing = [&](const std::string&) { ++problems; };
    std::vector<std::string> albums;
    events.OnAlbum = [&](std::string_view, std::string_view path, const TDuration&) {
        albums.emplace_back(path);
    };
    const auto totals = WalkCatalogue({dir.Path().string()}, events);
    EXPECT_EQ(problems, 0);
    EXPECT_EQ(totals.Albums, written.Albums);
    EXPECT_EQ((totals.Time.Hours * 60 + totals.Time.Minutes) * 60 + totals.Time.Seconds,
              written.TotalSeconds);

    ASSERT_EQ(albums.size(), 6u);
    const auto listing = ListSongs(albums[0], "");
    ASSERT_EQ(listing.Rows.size(), 4u);
    TDescFile file;
    ASSERT_TRUE(file.Open(listing.DescPath));
    auto lines = file.Lines();
    std::string_view line;
    while (lines.NextLine(line)) {
        EXPECT_EQ(line.size(), 68u);
        EXPECT_LE(ExtractDir(line).size(), 12u);
    }
    for (const auto& row : listing.Rows)
        EXPECT_TRUE(row.Time.Known() && !row.SyntaxError) << row.Caption;
}

TEST(GenerateCatalogue, TheSameSeedWritesTheSameCatalogue) {
    TTempDir first;
    TTempDir second;
    const TCatalogueShape shape{1, 2, 3, 42};
    GenerateCatalogue(first.Path(), shape);
    GenerateCatalogue(second.Path(), shape);
    EXPECT_EQ(TTempDir::Read(first.Path() / "CAT00001" / "ALBUM000002" / "descript.ion"),
              TTempDir::Read(second.Path() / "CAT00001" / "ALBUM000002" / "descript.ion"));
}

TEST(GenerateCatalogue, ASearchBaseHasTheSameCategoryFilesWithoutAlbumFiles) {
    TTempDir full;
    TTempDir base;
    GenerateCatalogue(full.Path(), {2, 3, 4, 7});
    const auto written = GenerateCatalogue(base.Path(), {2, 3, 4, 7, false});
    EXPECT_EQ(written.Files, 1 + 2);
    EXPECT_EQ(written.Albums, 6);
    EXPECT_FALSE(std::filesystem::exists(base.Path() / "CAT00001" / "ALBUM000001"));
    EXPECT_EQ(TTempDir::Read(base.Path() / "CAT00002" / "descript.ion"),
              TTempDir::Read(full.Path() / "CAT00002" / "descript.ion"));
}
