// Reading ahead changes nothing but the time: the tree reading, the search and the check give the
// same events in the same order with any number of reading threads, and open exactly the files
// that the reading without threads opens, each as often. Every opening is recorded through the
// hook of the reading itself. Each reading runs in every mode of the reading ahead: threads from
// the first file, as from a slow disk; from the second, once one reading has been counted; never,
// the reader reading alone as in a warm cache; and alone at first, with a few files slow to open
// (the hook holds them up) so that the reading lists and reads ahead again.
#include "catalogue/AlbumSearch.h"
#include "catalogue/CatalogueWalk.h"
#include "describing/DescCheck.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

using namespace Catalogue;
using CatalogueTest::P;
using CatalogueTest::TimedSong;

namespace {

using TTexts = std::vector<std::string>;

// A mode of the reading ahead: the options, and whether a few files are slow to open.
struct TMode {
    const char* Name;
    double SlowReadingNs;
    bool SlowFiles;
};

constexpr TMode Modes[] = {
    {"threads from the first file", 0, false},
    {"threads from the second file", 1, false},
    {"alone", 1e12, false},
    {"alone, then ahead from slow files", 200'000, true},
};

// Whether the opening of a file at this path is held up, as on a slow disk: the files of some of
// the big category's albums, and the category files of the second root.
bool IsSlowFile(const std::string& path) {
    return (path.find("BIG") != std::string::npos && path.find('7') != std::string::npos) ||
           path.find("SECOND") != std::string::npos;
}

// The paths of the description files opened while it lives, from every thread. With slowFiles,
// opening a file that IsSlowFile names takes a millisecond more.
class TOpenRecorder {
public:
    explicit TOpenRecorder(bool slowFiles = false) {
        platform::SetDescOpenHook([this, slowFiles](const std::string& path) {
            if (slowFiles && IsSlowFile(path)) {
                const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
                while (std::chrono::steady_clock::now() < until) {
                }
            }
            const std::lock_guard<std::mutex> lock(FMutex);
            FOpened.push_back(path);
        });
    }
    ~TOpenRecorder() { platform::SetDescOpenHook({}); }
    TOpenRecorder(const TOpenRecorder&) = delete;
    TOpenRecorder& operator=(const TOpenRecorder&) = delete;

    const TTexts& Opened() const { return FOpened; }

private:
    std::mutex FMutex;
    TTexts FOpened;
};

// What one reading gave: its events in order, and the files it opened.
struct TReading {
    TTexts Events;
    TTexts Opened;
};

TTexts Sorted(TTexts texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

TReading Walk(const std::vector<std::string>& roots, int threads, const TMode& mode = Modes[0]) {
    TReading reading;
    TCatalogueWalkEvents events;
    events.OnSyntaxError = [&](const std::string& text) {
        reading.Events.push_back("box " + text);
    };
    events.OnCategory = [&](std::string_view text) {
        reading.Events.push_back("category " + std::string(text));
    };
    events.OnCategoryFileMissing = [&](const std::string& text) {
        reading.Events.push_back("missing " + text);
    };
    events.OnAlbum = [&](std::string_view text, std::string_view path, const TDuration& time) {
        reading.Events.push_back("album " + std::string(text) + " | " + std::string(path) + " | " +
                                 std::to_string(time.Minutes) + ":" + std::to_string(time.Seconds));
    };
    events.OnRootDone = [&](const TCatalogueTotals& totals) {
        reading.Events.push_back("bar " + totals.AlbumCountText() + " | " + totals.TotalText());
    };
    const TOpenRecorder recorder(mode.SlowFiles);
    WalkCatalogue(roots, events, {threads, mode.SlowReadingNs});
    reading.Opened = recorder.Opened();
    return reading;
}

TReading Search(const std::string& base, const std::string& query, int threads,
                const TMode& mode = Modes[0]) {
    TReading reading;
    TSearchEvents events;
    events.OnSyntaxError = [&](const std::string& text) {
        reading.Events.push_back("box " + text);
    };
    events.OnBaseFileMissing = [&](const std::string& text) {
        reading.Events.push_back("base " + text);
    };
    events.OnCategoryFileMissing = [&](const std::string& text) {
        reading.Events.push_back("missing " + text);
    };
    events.OnResult = [&](const TSearchResult& result) {
        reading.Events.push_back("result " + result.Album + " | " + result.Category + " | " +
                                 result.Path);
    };
    const TOpenRecorder recorder(mode.SlowFiles);
    SearchAlbums(base, query, events, {}, {threads, mode.SlowReadingNs});
    reading.Opened = recorder.Opened();
    return reading;
}

TReading Check(const std::string& root, int threads, const TMode& mode = Modes[0]) {
    TReading reading;
    const TOpenRecorder recorder(mode.SlowFiles);
    CheckCatalogue(root, [&](const std::string& problem) { reading.Events.push_back(problem); },
                   {threads, mode.SlowReadingNs});
    reading.Opened = recorder.Opened();
    return reading;
}

// A catalogue with every kind of fault a reading meets: a root line without a file name (the
// root is its own category), lines failing the syntax test, a missing category file, missing
// album files, a category file that is a folder, album lines without a file name (the category
// is its own album), a category named twice, an unreadable album file, and many albums.
class ReadAheadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = FDir.Path().string();
        FDir.Write("descript.ion", "; catalogue\r\nROCK  Rock\r\nNoSeparator\r\nGONE  Gone\r\n"
                                   "FOLDER  Folder\r\nBIG  Big\r\nROCK  Rock again\r\n"
                                   "EMPTY  Empty\r\nbadcategory\r\n");
        FDir.Write("ROCK/descript.ion", "A1  First\r\nA2  No file\r\nbad album\r\n\r\n"
                                        "A3  Locked\r\n  Nameless\r\nA1  First again\r\n");
        FDir.Write("ROCK/A1/descript.ion", TimedSong("S.MP3", "S", 61) + "\r\n");
        const auto locked = FDir.Write("ROCK/A3/descript.ion", TimedSong("S.MP3", "S", 7) + "\r\n");
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        std::filesystem::create_directories(FDir.Path() / "FOLDER" / "descript.ion");
        std::string big;
        for (int album = 0; album < 300; ++album) {
            const auto name = "B" + std::to_string(album);
            big += name + "  Album " + std::to_string(album) + "\r\n";
            if (album % 3 != 0)
                FDir.Write("BIG/" + name + "/descript.ion", TimedSong("S.MP3", "S", album) +
                                                                "\r\n" +
                                                                (album % 7 == 0 ? "x\r\n" : ""));
        }
        FDir.Write("BIG/descript.ion", big);
        FDir.Write("EMPTY/descript.ion", "; nothing\r\n");
        FDir.Write("SECOND/descript.ion", "C  Cat\r\n");
        FDir.Write("SECOND/C/descript.ion", "A  Album\r\n");
        FDir.Write("SECOND/C/A/descript.ion", TimedSong("S.MP3", "S", 100) + "\r\n");
    }

    TTempDir FDir;
    std::string Root;
};

constexpr int ThreadCounts[] = {1, 2, 16, 32};

// Reads again in every mode with every number of threads (read(threads, mode)) and expects the
// events and the opened files of the reading without threads.
template <typename TRead>
void ExpectSameAsAlone(const TReading& alone, TRead read) {
    for (const auto& mode : Modes)
        for (const int threads : ThreadCounts) {
            SCOPED_TRACE(std::string(mode.Name) + ", threads " + std::to_string(threads));
            const TReading ahead = read(threads, mode);
            EXPECT_EQ(ahead.Events, alone.Events);
            EXPECT_EQ(Sorted(ahead.Opened), Sorted(alone.Opened));
        }
}

} // namespace

TEST_F(ReadAheadTest, WithoutThreadsTheTreeReadingOpensEachFileWhenItNeedsIt) {
    const auto second = Root + P("/SECOND");
    const auto reading = Walk({second, Root + P("/MISSING"), second}, 0);
    const TTexts once = {second + P("/descript.ion"), second + P("/C/descript.ion"),
                         second + P("/C/A/descript.ion")};
    TTexts opened = once;
    opened.push_back(Root + P("/MISSING/descript.ion"));
    opened.insert(opened.end(), once.begin(), once.end());
    EXPECT_EQ(reading.Opened, opened);
    EXPECT_EQ(reading.Events.back(), "bar 2 album(s) | 0:03:20 total play time");
}

TEST_F(ReadAheadTest, TheTreeReadingIsTheSameWithAnyNumberOfThreads) {
    const std::vector<std::string> roots = {Root, Root + P("/MISSING"), Root + P("/SECOND/"), Root};
    const auto alone = Walk(roots, 0);
    ASSERT_GT(alone.Opened.size(), 400u);
    // Two root lines without a file name make the root its own category twice, and as a
    // category's lines they name the root's folder as two albums: each reading of the root
    // opens its file seven times.
    EXPECT_EQ(std::count(alone.Opened.begin(), alone.Opened.end(), Root + P("/descript.ion")), 14);
    ExpectSameAsAlone(alone,
                      [&](int threads, const TMode& mode) { return Walk(roots, threads, mode); });
}

TEST_F(ReadAheadTest, TheSearchIsTheSameWithAnyNumberOfThreads) {
    for (const auto* query : {"rock", "album 1", "syntax", "nothing"}) {
        for (const auto& base : {Root, Root + P("/MISSING"), Root + P("/SECOND")}) {
            SCOPED_TRACE(base + " " + query);
            ExpectSameAsAlone(Search(base, query, 0), [&](int threads, const TMode& mode) {
                return Search(base, query, threads, mode);
            });
        }
    }
}

TEST_F(ReadAheadTest, TheCheckIsTheSameWithAnyNumberOfThreads) {
    const auto alone = Check(Root, 0);
    ASSERT_GT(alone.Events.size(), 100u);
    ExpectSameAsAlone(alone,
                      [&](int threads, const TMode& mode) { return Check(Root, threads, mode); });
}
