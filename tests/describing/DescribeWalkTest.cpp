#include "describing/DescribeWalk.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "describing/DescCheck.h"
#include "platform/Errors.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace Catalogue;

namespace {

// A relative path written with "/", in the platform's delimiters.
std::string P(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = PathDelimiter;
    return path;
}

// Song facts by file name: the size is the file's own, the length and tags come from the
// table; a name missing from it is a damaged file.
class TFakeSongFacts : public TSongFactsReader {
public:
    std::map<std::string, TSongFacts> Songs;

    TSongFacts Read(const std::string& path) override {
        const auto name = std::filesystem::path(path).filename().string();
        const auto found = Songs.find(name);
        if (found == Songs.end())
            throw EError("damaged");
        auto facts = found->second;
        facts.Size = std::filesystem::file_size(path);
        return facts;
    }
};

struct TRun {
    TDescribeSummary Summary;
    std::vector<TProblem> Problems;
    std::string Diffs;
};

TRun Describe(const TTempDir& dir, TSongFactsReader& reader, TDescribeOptions options = {}) {
    TRun run;
    TDescribeEvents events;
    events.OnProblem = [&](const TProblem& problem) { run.Problems.push_back(problem); };
    events.OnDiff = [&](const std::string& diff) { run.Diffs += diff; };
    run.Summary = DescribeCatalogue(dir.Path().string(), reader, options, events);
    return run;
}

std::vector<std::string> Check(const TTempDir& dir) {
    std::vector<std::string> problems;
    CheckCatalogue(dir.Path().string(),
                   [&](const std::string& problem) { problems.push_back(problem); });
    return problems;
}

class DescribeWalk : public ::testing::Test {
protected:
    // What the check says of the two songs the walk cannot describe.
    std::vector<std::string> UndescribedSongs() const {
        return {(FDir.Path() / P("Jazz/Cool/bad.mp3")).string() +
                    ": MP3 file that no description line reaches",
                (FDir.Path() / P("Rock/Album1/abcdefghijklmno.mp3")).string() +
                    ": MP3 file that no description line reaches"};
    }

    void SetUp() override {
        FDir.Write("Rock/Album1/01 Intro.mp3", std::string(16000, 'x'));
        FDir.Write("Rock/Album1/02.MP3", std::string(32000, 'x'));
        FDir.Write("Rock/Album1/cover.jpg", "jpg");
        FDir.Write("Rock/Album1/abcdefghijklmno.mp3", "x");
        FDir.Write("Jazz/Cool/bad.mp3", "not audio");
        FReader.Songs["01 Intro.mp3"] = {0, 1000, "Intro", "First album"};
        FReader.Songs["02.MP3"] = {0, 2500, "", ""};
        FReader.Songs["abcdefghijklmno.mp3"] = {0, 1000, "Long", ""};
    }

    std::string Read(const std::string& relative) const {
        return TTempDir::Read(FDir.Path() / relative);
    }

    TTempDir FDir;
    TFakeSongFacts FReader;
};

} // namespace

TEST_F(DescribeWalk, WritesEveryLevelAndReportsWhatCannotBeDescribed) {
    const auto run = Describe(FDir, FReader);
    EXPECT_EQ(Read("descript.ion"), "Jazz  Jazz\r\nRock  Rock\r\n");
    EXPECT_EQ(Read("Rock/descript.ion"), "Album1  First album\r\n");
    EXPECT_EQ(Read("Jazz/descript.ion"), "Cool  Cool\r\n");
    EXPECT_EQ(Read("Jazz/Cool/descript.ion"), "");
    const std::string text = Read("Rock/Album1/descript.ion");
    TDescLines lines(text);
    std::string_view line;
    ASSERT_TRUE(lines.NextLine(line));
    EXPECT_EQ(ExtractDir(line), "01 Intro.mp3");
    EXPECT_EQ(ParseDescription(line).Text, "Intro");
    EXPECT_EQ(ExtractTime(line), (TPlayTime{0, 1}));
    ASSERT_TRUE(lines.NextLine(line));
    EXPECT_EQ(ParseDescription(line).Text, "02");
    EXPECT_EQ(ExtractTime(line), (TPlayTime{0, 2}));
    EXPECT_FALSE(lines.NextLine(line));

    EXPECT_EQ(run.Summary.Count(TProblemKind::NameTooLong), 1);
    EXPECT_EQ(run.Summary.Count(TProblemKind::SongUnreadable), 1);
    EXPECT_EQ(run.Summary.EntryProblems(), 2);
    ASSERT_EQ(run.Problems.size(), 2u);
    EXPECT_EQ(run.Problems[0].Path, (FDir.Path() / P("Jazz/Cool/bad.mp3")).string());
    EXPECT_EQ(run.Problems[1].Path, (FDir.Path() / P("Rock/Album1/abcdefghijklmno.mp3")).string());
    EXPECT_EQ(Check(FDir), UndescribedSongs());
}

TEST_F(DescribeWalk, UnchangedCollectionWritesNothingAndUserWordsSurvive) {
    Describe(FDir, FReader);
    const auto albumFile = FDir.Path() / "Rock/Album1/descript.ion";
    std::string edited = Read("Rock/Album1/descript.ion");
    edited.replace(edited.find("Intro "), 6, "Mine! ");
    FDir.Write("Rock/Album1/descript.ion", "; my notes\r\n" + edited);
    const auto stamp = std::filesystem::last_write_time(albumFile);
    const auto rootStamp = std::filesystem::last_write_time(FDir.Path() / "descript.ion");

    const auto again = Describe(FDir, FReader);
    EXPECT_EQ(again.Summary.FilesChanged, 0);
    EXPECT_EQ(Read("Rock/Album1/descript.ion"), "; my notes\r\n" + edited);
    EXPECT_EQ(std::filesystem::last_write_time(albumFile), stamp);
    EXPECT_EQ(std::filesystem::last_write_time(FDir.Path() / "descript.ion"), rootStamp);

    // A changed song gets new numbers under the user's words; a new one adds one line.
    FDir.Write("Rock/Album1/01 Intro.mp3", std::string(48000, 'x'));
    FDir.Write("Rock/Album1/03.mp3", std::string(8000, 'x'));
    FReader.Songs["01 Intro.mp3"].LengthMs = 3000;
    FReader.Songs["03.mp3"] = {0, 500, "Third", ""};
    const auto changed = Describe(FDir, FReader);
    EXPECT_EQ(changed.Summary.LinesRefreshed, 1);
    EXPECT_EQ(changed.Summary.LinesAdded, 1);
    const std::string text = Read("Rock/Album1/descript.ion");
    TDescLines lines(text);
    std::string_view line;
    ASSERT_TRUE(lines.NextLine(line));
    EXPECT_EQ(ParseDescription(line).Text, "Mine!");
    EXPECT_EQ(ExtractTime(line), (TPlayTime{0, 3}));
}

TEST_F(DescribeWalk, DryRunShowsTheDiffAndPruneDropsGoneEntries) {
    Describe(FDir, FReader);
    std::filesystem::remove(FDir.Path() / "Rock/Album1/02.MP3");
    const std::string before = Read("Rock/Album1/descript.ion");

    EXPECT_EQ(Describe(FDir, FReader).Summary.FilesChanged, 0);
    const auto dry = Describe(FDir, FReader, {TCodePage::Windows1252, true, true});
    EXPECT_EQ(dry.Summary.FilesChanged, 1);
    EXPECT_EQ(Read("Rock/Album1/descript.ion"), before);
    // Diffs name their files with "/" on every system, as patch tools read them.
    EXPECT_EQ(dry.Diffs.rfind("--- a/Rock/Album1/descript.ion\n+++ b/Rock/Album1/descript.ion"
                              "\n@@ -1,2 +1,1 @@\n 01 Intro.mp3  Intro",
                              0),
              0u)
        << dry.Diffs;
    EXPECT_NE(dry.Diffs.find("\n-02.MP3  02 "), std::string::npos) << dry.Diffs;

    const auto pruned = Describe(FDir, FReader, {TCodePage::Windows1252, true, false});
    EXPECT_EQ(pruned.Summary.LinesPruned, 1);
    EXPECT_EQ(Check(FDir), UndescribedSongs());
}

TEST(DescribeCheck, ListsEveryProblemWithItsFileAndLine) {
    TTempDir dir;
    dir.Write("descript.ion", "; root\r\nRock  Rock\r\nGone  No folder\r\nno separator\r\n"
                              "abcdefghijklmnopqrs  too long\r\n");
    dir.Write("Rock/descript.ion", "A1  Album\r\n");
    const std::string sized = "01.mp3  One" + std::string(40, ' ') + "       100 128000";
    const std::string wrong = "02.mp3  Two" + std::string(40, ' ') + "       999 128000";
    dir.Write("Rock/A1/descript.ion", sized + "\r\n" + wrong +
                                          "\r\n03.mp3  Untimed\r\n04.mp3  Missing" +
                                          std::string(36, ' ') + "         1      8\r\n");
    dir.Write("Rock/A1/01.mp3", std::string(100, 'x'));
    dir.Write("Rock/A1/02.mp3", std::string(100, 'x'));
    dir.Write("Rock/A1/03.mp3", "x");
    const auto root = dir.Path().string();
    const auto album = (dir.Path() / P("Rock/A1/descript.ion")).string();
    EXPECT_EQ(
        Check(dir),
        (std::vector<std::string>{
            album + ":2: size 999 differs from the file's 100 bytes: 02.mp3",
            album + ":3: no play time (size or bit rate missing or not a number)",
            album + ":4: song file missing: 04.mp3",
            root + P("/") + "Gone: description file missing",
            root + P("/") +
                "descript.ion:4: syntax error: no two blanks after the name within "
                "the first 20 columns",
            root + P("/") + "descript.ion:5: name longer than 18 characters: abcdefghijklmnopqrs",
            root + P("/") + "abcdefghijklmnopqrs: description file missing",
        }));
}
