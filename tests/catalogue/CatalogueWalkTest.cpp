#include "catalogue/CatalogueWalk.h"
#include "catalogue/CatalogueMessages.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;
using CatalogueTest::TimedSong;

namespace {

using TEvents = std::vector<std::string>;

// Records every event of a walk as one text, in order.
struct TRecorder {
    TEvents Events;
    TCatalogueWalkEvents Handlers;

    TRecorder() {
        Handlers.OnSyntaxError = [this](const std::string& text) {
            Events.push_back("box " + text);
        };
        Handlers.OnCategory = [this](std::string_view text) {
            Events.push_back("category " + std::string(text));
        };
        Handlers.OnCategoryFileMissing = [this](const std::string& text) {
            Events.push_back("missing " + text);
        };
        Handlers.OnAlbum = [this](std::string_view text, std::string_view path,
                                  const TDuration& time) {
            Events.push_back("album " + std::string(text) + " | " + std::string(path) + " | " +
                             std::to_string(time.Minutes) + ":" + std::to_string(time.Seconds));
        };
        Handlers.OnRootDone = [this](const TCatalogueTotals& totals) {
            Events.push_back("bar " + totals.AlbumCountText() + " | " + totals.TotalText());
        };
    }

    TEvents Walk(const std::vector<std::string>& roots) {
        Events.clear();
        WalkCatalogue(roots, Handlers);
        return Events;
    }
};

} // namespace

TEST(CatalogueWalk, ReadsCategoriesAlbumsAndTotalsInFileOrder) {
    TTempDir dir;
    const auto root = dir.Path().string();
    dir.Write("descript.ion", "; styles\r\nROCK  Rock and roll\r\nJAZZ  Jazz\r\n;BLUES  Blues\r\n");
    dir.Write("ROCK/descript.ion", "ALB1  First album\r\nALB2  Second album\r\nALB3  No file\r\n");
    dir.Write("ROCK/ALB1/descript.ion",
              TimedSong("A.MP3", "A", 1800) + "\r\n" + TimedSong("B.MP3", "B", 59) + "\r\n");
    dir.Write("ROCK/ALB2/descript.ion", TimedSong("A.MP3", "A", 1909) + "\r\n");
    TRecorder recorder;
    const auto events = recorder.Walk({root + P("/")});
    EXPECT_EQ(events, (TEvents{
                          "category Rock and roll",
                          "album First album | " + root + P("/ROCK/ALB1") + " | 30:59",
                          "album Second album | " + root + P("/ROCK/ALB2") + " | 31:49",
                          "album No file | " + root + P("/ROCK/ALB3") + " | 0:0",
                          "category Jazz",
                          "missing " + CategoryFileMissingMessage(root + P("/JAZZ/descript.ion")),
                          "bar 3 album(s) | 1:02:48 total play time",
                      }));
}

TEST(CatalogueWalk, TotalsRunOverAllRootsAndSkipUnreadableOnes) {
    TTempDir dir;
    dir.Write("ONE/descript.ion", "C  Cat\r\n");
    dir.Write("ONE/C/descript.ion", "A1  a\r\nA2  b\r\nA3  c\r\n");
    dir.Write("ONE/C/A1/descript.ion", TimedSong("S.MP3", "S", 59 * 60 + 30) + "\r\n");
    dir.Write("TWO/descript.ion", "C  Cat\r\n");
    dir.Write("TWO/C/descript.ion", "A1  a\r\nA2  b\r\nA3  c\r\nA4  d\r\n");
    dir.Write("TWO/C/A4/descript.ion", TimedSong("S.MP3", "S", 30) + "\r\n");
    const auto plainFile = dir.Write("PLAIN", "C  Cat\r\n").string();
    const auto one = (dir.Path() / "ONE").string();
    const auto two = (dir.Path() / "TWO").string();
    std::vector<std::string> bars;
    TCatalogueWalkEvents events;
    events.OnRootDone = [&](const TCatalogueTotals& totals) {
        bars.push_back(totals.AlbumCountText() + " " + totals.TotalText());
    };
    const std::vector<std::string> roots = {"",
                                            one,
                                            "not a path at all",
                                            (dir.Path() / "MISSING").string(),
                                            plainFile,
                                            one + std::string(1, '\0') + "x",
                                            std::string(3, '\x01'),
                                            two};
    const auto totals = WalkCatalogue(roots, events);
    EXPECT_EQ(bars, (TEvents{"3 album(s) 0:59:30 total play time",
                             "7 album(s) 1:00:00 total play time"}));
    EXPECT_EQ(totals.Albums, 7);
}

TEST(CatalogueWalk, RootWithAndWithoutTrailingDelimiterOrWithALeadingPair) {
    TTempDir dir;
    dir.Write("descript.ion", "C  Cat\r\n");
    dir.Write("C/descript.ion", "A  Album\r\n");
    const auto root = dir.Path().string();
    const auto withPair = root.front() == Catalogue::PathDelimiter ? P("/") + root : root;
    const auto totals = WalkCatalogue({root, root + P("/"), withPair + P("//")}, {});
    EXPECT_EQ(totals.Albums, 3);
}

TEST(CatalogueWalk, LinesFailingTheSyntaxTestStillNameTheirDirectories) {
    TTempDir dir;
    const auto root = dir.Path().string();
    const std::string name19 = "NINETEEN_CHARACTERS";
    dir.Write("descript.ion", name19 + "  Long name\r\nNoSeparator\r\n");
    dir.Write(name19 + "/descript.ion", "ALB  Album\r\nBADALBUM\r\n");
    TRecorder recorder;
    const auto events = recorder.Walk({root});
    const auto rootDesc = root + P("/descript.ion");
    const auto categoryDesc = root + P("/") + name19 + P("/descript.ion");
    EXPECT_EQ(events,
              (TEvents{
                  "box " + SyntaxErrorMessage(rootDesc),
                  "category " + SyntaxErrorText(rootDesc),
                  "album Album | " + root + P("/") + name19 + P("/ALB") + " | 0:0",
                  "box " + SyntaxErrorMessage(categoryDesc),
                  "album " + SyntaxErrorText(categoryDesc) + " | " + root + P("/") + name19 +
                      P("/") + " | 0:0",
                  // No file name: the root's own file is read again as this category's file,
                  // and it has been reported in this reading already.
                  "category " + SyntaxErrorText(rootDesc),
                  "album " + SyntaxErrorText(rootDesc) + " | " + root + P("/") + name19 + " | 0:0",
                  "album " + SyntaxErrorText(rootDesc) + " | " + root + P("/") + " | 0:0",
                  "bar 4 album(s) | 0:00:00 total play time",
              }));
}

TEST(CatalogueWalk, EachFaultyFileIsReportedOnceInAReading) {
    TTempDir dir;
    const auto root = dir.Path().string();
    dir.Write("descript.ion", "A  One\r\nB  Two\r\nC  Three\r\n");
    dir.Write("A/descript.ion", "bad 1\r\nbad 2\r\nA3  Fine\r\nbad 4\r\n");
    dir.Write("B/descript.ion", "B1  Fine\r\nbad\r\n");
    dir.Write("C/descript.ion", "C1  Fine\r\n");
    const auto aDesc = root + P("/A/descript.ion");
    const auto bDesc = root + P("/B/descript.ion");
    const auto aError = "album " + SyntaxErrorText(aDesc) + " | " + root + P("/A/") + " | 0:0";
    const TEvents once = {
        "category One",
        "box " + SyntaxErrorMessage(aDesc),
        aError,
        aError,
        "album Fine | " + root + P("/A/A3") + " | 0:0",
        aError,
        "category Two",
        "album Fine | " + root + P("/B/B1") + " | 0:0",
        "box " + SyntaxErrorMessage(bDesc),
        "album " + SyntaxErrorText(bDesc) + " | " + root + P("/B/") + " | 0:0",
        "category Three",
        "album Fine | " + root + P("/C/C1") + " | 0:0",
        "bar 7 album(s) | 0:00:00 total play time",
    };
    TRecorder recorder;
    EXPECT_EQ(recorder.Walk({root}), once);
    // A new reading reports afresh.
    EXPECT_EQ(recorder.Walk({root}), once);
}

TEST(CatalogueWalk, CommentOnlyCategoryAddsNoAlbums) {
    TTempDir dir;
    dir.Write("descript.ion", "EMPTY  Empty\r\n");
    dir.Write("EMPTY/descript.ion", "; nothing yet\r\n\r\n");
    TRecorder recorder;
    EXPECT_EQ(recorder.Walk({dir.Path().string()}),
              (TEvents{"category Empty", "bar 0 album(s) | 0:00:00 total play time"}));
    EXPECT_TRUE(recorder.Walk({}).empty());
}

TEST(CatalogueWalk, UnreadableCategoryFileIsReportedMissing) {
    TTempDir dir;
    dir.Write("descript.ion", "C  Cat\r\n");
    const auto category = dir.Write("C/descript.ion", "A  Album\r\n");
    std::filesystem::permissions(category, std::filesystem::perms::none);
    if (std::FILE* probe = std::fopen(category.string().c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "this user reads files without read permission (root on POSIX; on "
                        "Windows the permission bits only make a file read-only)";
    }
    TRecorder recorder;
    EXPECT_EQ(recorder.Walk({dir.Path().string()}),
              (TEvents{"category Cat", "missing " + CategoryFileMissingMessage(category.string()),
                       "bar 0 album(s) | 0:00:00 total play time"}));
}
