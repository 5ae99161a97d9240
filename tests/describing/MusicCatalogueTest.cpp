// The describing of a music folder in any layout into a catalogue of its own.
#include "describing/MusicCatalogue.h"
#include "catalogue/CataloguePath.h"
#include "describing/CatalogueIndex.h"
#include "describing/CataloguePlace.h"
#include "describing/DescCheck.h"
#include "describing/DescLayout.h"
#include "describing/DescribeJob.h"
#include "describing/MusicScan.h"
#include "describing/ShortNames.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/MusicFiles.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>
#include <thread>

using namespace Catalogue;
namespace fs = std::filesystem;

namespace {

TEST(ShortNames, MadeFromTheLongNameFitTheFieldAndStayUnique) {
    const struct {
        const char* Long;
        const char* Extension;
        const char* Short;
    } cases[] = {
        {"Short.mp3", ".mp3", "Short.mp3"},
        {"01 - Speak to Me.mp3", ".mp3", "01 Speak to Me.mp3"},
        {"Shine On You Crazy Diamond.mp3", ".mp3", "Shine On You C.mp3"},
        {"Shine On You Crazy Diamond II.mp3", ".mp3", "Shine On You~2.mp3"},
        {"SHORT.MP3", ".mp3", "SHORT~2.mp3"},
        {";  odd \t name  .mp3", ".mp3", "odd name.mp3"},
        {"\xCE\x91\xCE\xBA\xCF\x81\xCF\x8C\xCF\x80\xCE\xBF\xCE\xBB\xCE\xB7.mp3", ".mp3",
         "\xCE\x91\xCE\xBA\xCF\x81\xCF\x8C\xCF\x80\xCE\xBF\xCE\xBB.mp3"},
        {"???.mp3", ".mp3", "song.mp3"},
        {"Wish You Were Here (1975) CD1", " CD1", "Wish You Were CD1"},
        {"Wish You Were Here (1975) CD2", " CD2", "Wish You Were CD2"},
        {"A \"quoted\": name/with*marks", "", "A quoted namewithm"},
    };
    TShortNames names;
    names.Reserve("descript.ion");
    for (const auto& test : cases) {
        const std::string name = names.Make(test.Long, test.Extension);
        EXPECT_EQ(name, test.Short) << test.Long;
        EXPECT_EQ(CheckName(name), TNameFault::None) << name;
    }
}

TEST(DiscNumber, NamesOfDiscFolders) {
    const std::pair<const char*, int> cases[] = {
        {"CD1", 1}, {"CD 2", 2},        {"cd-3", 3}, {"Disc 1", 1}, {"Disk 02", 2},
        {"CD", 0},  {"Discography", 0}, {"CDs", 0},  {"CD 1a", 0},  {"Album", 0},
    };
    for (const auto& [name, number] : cases)
        EXPECT_EQ(DiscNumber(name), number) << name;
}

// The read index as an index being made, to compare with the one written.
TCatalogueIndex Owned(TReadIndex&& read) {
    ReadIndexSongs(read);
    TCatalogueIndex index;
    index.Source = read.Source;
    if (read.Root)
        index.Root = Owned(*read.Root);
    for (const auto& [source, folder] : read.Categories)
        index.Categories[std::string(source)] = Owned(folder);
    for (const auto& [source, folder] : read.Albums)
        index.Albums[std::string(source)] = Owned(folder);
    for (const auto& [source, songs] : read.AlbumSongs)
        index.AlbumSongs[std::string(source)] = Owned(songs);
    for (const auto& [source, song] : read.Songs)
        index.Songs[std::string(source)] = Owned(song);
    return index;
}

TEST(CatalogueIndex, RoundTripKeepsOddBytesAndSkipsDamagedLines) {
    TCatalogueIndex index;
    index.Source = "/music/with\ttab";
    index.Root = TIndexedFolder{"", 77, -8};
    index.Categories["Rock"] = {"Rock", 0, 0};
    index.Albums["Rock/A\\B"] = {"Rock/A B", 123, -456};
    index.Songs["Rock/A\\B/x.mp3"] = {"Rock/A B/x.mp3", 12, -5, 3000, "line\nend\r", "al\\bum"};
    index.Songs["Rock/A\\B/y.mp3"] = {"Rock/A B/y.mp3", 1, 2, std::nullopt, "", ""};
    index.Songs["Rock/t.mp3"] = {"Rock/t.mp3", 3, 4, 5, "a\tb", "c\\"};
    index.AlbumSongs["Rock/A\\B"] = {UINT64_MAX, "al\\bum"};
    const std::string text = WriteIndex(index);
    // The songs are read only when asked for.
    auto read = ReadIndex(text);
    EXPECT_TRUE(read.Songs.empty());
    EXPECT_EQ(read.AlbumSongs.size(), 1U);
    EXPECT_EQ(Owned(std::move(read)), index);
    // The views stay with the text and the unescaped fields, short ones too, when the read
    // index is moved, as a run moves it into its place.
    TReadIndex moved;
    moved = ReadIndex(text);
    auto kept = std::move(moved);
    EXPECT_EQ(Owned(std::move(kept)), index);
    EXPECT_EQ(Owned(ReadIndex(text + "song\tz\tRock/z.mp3\tnot a size\t1\t-\t\t\n" +
                              "songs\tRock/z\tnot a print\t\n")),
              index);
    EXPECT_EQ(ReadIndex("something else\nsource\t/x\n").Source, "");
    // The same index is the same text, in whatever order its entries came.
    TCatalogueIndex reversed;
    reversed.Source = index.Source;
    reversed.Root = index.Root;
    reversed.Songs["Rock/t.mp3"] = index.Songs["Rock/t.mp3"];
    reversed.Songs["Rock/A\\B/y.mp3"] = index.Songs["Rock/A\\B/y.mp3"];
    reversed.Songs["Rock/A\\B/x.mp3"] = index.Songs["Rock/A\\B/x.mp3"];
    reversed.Albums = index.Albums;
    reversed.AlbumSongs = index.AlbumSongs;
    reversed.Categories = index.Categories;
    EXPECT_EQ(WriteIndex(reversed), text);
    EXPECT_LT(text.find("x.mp3"), text.find("y.mp3"));
}

// Song facts by file name, counting every song file opened; a name missing from the table is
// a damaged file.
class TCountingSongFacts : public TSongFactsReader {
public:
    std::map<std::string, TSongFacts> Songs;
    std::atomic<int> Opened = 0;

    TSongFacts Read(const std::string& path) override {
        ++Opened;
        const auto name = fs::path(path).filename().string();
        const auto found = Songs.find(name);
        if (found == Songs.end())
            throw EError("damaged");
        auto facts = found->second;
        facts.Size = fs::file_size(path);
        return facts;
    }
};

// Hands each reading to a reader that outlives it.
struct TForward : TSongFactsReader {
    explicit TForward(TSongFactsReader& to) : To(to) {}
    TSongFacts Read(const std::string& path) override { return To.Read(path); }
    TSongFactsReader& To;
};

// Every file's and folder's bytes and modification time below a folder, links not followed.
using TSnapshot = TFolderSnapshot;

class MusicCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [path, size] : std::vector<std::pair<std::string, int>>{
                 {"Pink Floyd/Wish You Were Here (1975)/01 - Shine On You Crazy Diamond.mp3", 9000},
                 {"Pink Floyd/Wish You Were Here (1975)/02 - Welcome to the Machine.mp3", 8000},
                 {"Pink Floyd/The Wall/CD1/01 - In the Flesh.mp3", 7000},
                 {"Pink Floyd/The Wall/CD2/01 - Hey You.mp3", 6000},
                 {"Jazz/Miles Davis/Kind of Blue/01 - So What.mp3", 5000},
                 {"Jazz/A single of a jazz band.mp3", 4000},
                 {"Loose song.mp3", 3000},
                 {"Jazz/Miles Davis/Kind of Blue/cover.jpg", 10},
             })
            FMusic.Write("Music/" + path, std::string(size, 'x'));
        for (const char* name :
             {"01 - Shine On You Crazy Diamond.mp3", "02 - Welcome to the Machine.mp3",
              "01 - In the Flesh.mp3", "01 - Hey You.mp3", "01 - So What.mp3",
              "A single of a jazz band.mp3", "Loose song.mp3"})
            FReader.Songs[name] = {0, 4000, "", ""};
        FReader.Songs["01 - Shine On You Crazy Diamond.mp3"].Title =
            "Shine On You Crazy Diamond (Parts I-V)";
        FReader.Songs["01 - In the Flesh.mp3"].Album = "The Wall";
        FReader.Songs["01 - Hey You.mp3"].Album = "The Wall";
        FReader.Songs["A single of a jazz band.mp3"].Album = "Some single";
    }

    TDescribeSummary Describe(TDescribeOptions options = {}, TDescribeEvents events = {}) {
        events.OnProblem = [&](const TProblem& problem) { FProblems.push_back(problem); };
        return DescribeMusicFolder(Music().string(), Catalogue(), FReader, options, events);
    }
    fs::path Music() const { return FMusic.Path() / "Music"; }
    std::string Catalogue() const { return (FCatalogue.Path() / "cat").string(); }
    std::string Read(const std::string& relative) const {
        return TTempDir::Read(fs::path(Catalogue()) / relative);
    }
    std::vector<std::string> Check() const {
        std::vector<std::string> problems;
        CheckCatalogue(Catalogue(),
                       [&](const std::string& problem) { problems.push_back(problem); });
        return problems;
    }

    TTempDir FMusic;
    TTempDir FCatalogue;
    TCountingSongFacts FReader;
    std::vector<TProblem> FProblems;
};

TEST_F(MusicCatalogue, EverySongOfAnyLayoutIsDescribedThroughShortEntries) {
    const TSnapshot before = Snapshot(Music());
    const auto summary = Describe();
    EXPECT_EQ(summary.EntryProblems(), 1);
    EXPECT_EQ(summary.Count(TProblemKind::DescriptionCut), 1);
    EXPECT_EQ(FReader.Opened, 7);
    EXPECT_EQ(Read("descript.ion"), "Music  Music\r\nJazz  Jazz\r\nPink Floyd  Pink Floyd\r\n");
    EXPECT_EQ(Read("Jazz/descript.ion"), "Jazz  Jazz\r\nMiles Davis Kind o  Miles Davis - Kind of "
                                         "Blue\r\n");
    EXPECT_EQ(Read("Pink Floyd/descript.ion"),
              "The Wall CD1  The Wall (CD 1)\r\nThe Wall CD2  The Wall (CD 2)\r\n"
              "Wish You Were Here  Wish You Were Here (1975)\r\n");
    const std::string album = Read("Pink Floyd/Wish You Were Here/descript.ion");
    EXPECT_NE(album.find("01 Shine On Yo.mp3  Shine On You Crazy Diamond (Pa "), std::string::npos)
        << album;
    EXPECT_NE(album.find("02 Welcome to.mp3  02 - Welcome to the Machine "), std::string::npos)
        << album;
#ifndef _WIN32
    EXPECT_EQ(fs::read_symlink(fs::path(Catalogue()) / "Jazz/Jazz/A single of a.mp3"),
              Music() / "Jazz/A single of a jazz band.mp3");
#endif
    // The program's own reading finds every line, every song and every size.
    EXPECT_EQ(Check(), std::vector<std::string>{});
    EXPECT_EQ(Snapshot(Music()), before);
}

TEST_F(MusicCatalogue, ReRunsOpenNothingUnchangedKeepEditsAndPruneOnlyOwnEntries) {
    Describe();
    const TSnapshot before = Snapshot(Music());
    const std::string albumFile = Catalogue() + "/Pink Floyd/Wish You Were Here/descript.ion";
    std::string edited = Read("Pink Floyd/Wish You Were Here/descript.ion");
    edited.replace(edited.find("Shine On You Crazy Diamond (Pa"), 30,
                   "My favourite                  ");
    FCatalogue.Write("cat/Pink Floyd/Wish You Were Here/descript.ion", "; mine\r\n" + edited);
    FReader.Opened = 0;
    auto again = Describe();
    EXPECT_EQ(FReader.Opened, 0);
    EXPECT_EQ(again.FilesChanged, 0);
    EXPECT_EQ(Snapshot(Music()), before);
    EXPECT_EQ(TTempDir::Read(albumFile), "; mine\r\n" + edited);

    // A new song is the only one opened; its entry is new, the others keep theirs.
    FMusic.Write("Music/Pink Floyd/Wish You Were Here (1975)/03 - Have a Cigar.mp3",
                 std::string(5000, 'x'));
    FReader.Songs["03 - Have a Cigar.mp3"] = {0, 3000, "", ""};
    Describe();
    EXPECT_EQ(FReader.Opened, 1);
    EXPECT_NE(TTempDir::Read(albumFile).find("; mine\r\n" + edited + "03 Have a Ciga.mp3  "),
              std::string::npos);

    // A song gone keeps its line until --prune, which takes only the catalogue's own entry.
    fs::remove(Music() / "Pink Floyd/Wish You Were Here (1975)/03 - Have a Cigar.mp3");
    fs::remove_all(Music() / "Pink Floyd/The Wall/CD2");
    const TSnapshot beforePrune = Snapshot(Music());
    Describe();
    EXPECT_NE(TTempDir::Read(albumFile).find("03 Have a Ciga.mp3"), std::string::npos);
    TDescribeOptions prune;
    prune.Prune = true;
    const auto pruned = Describe(prune);
    EXPECT_EQ(pruned.LinesPruned, 2);
    EXPECT_EQ(TTempDir::Read(albumFile), "; mine\r\n" + edited);
    EXPECT_FALSE(fs::exists(fs::symlink_status(fs::path(Catalogue()) / "Pink Floyd/The Wall CD2")));
    EXPECT_EQ(Read("Pink Floyd/descript.ion"), "The Wall CD1  The Wall (CD 1)\r\n"
                                               "Wish You Were Here  Wish You Were Here (1975)\r\n");
    EXPECT_EQ(Check(), std::vector<std::string>{});
    EXPECT_EQ(Snapshot(Music()), beforePrune);
}

TEST_F(MusicCatalogue, ADryRunMakesNothingAndOddEntriesAreNamed) {
    TDescribeOptions dry;
    dry.DryRun = true;
    std::string diffs;
    TDescribeEvents events;
    events.OnDiff = [&](const std::string& diff) { diffs += diff; };
    const auto summary = Describe(dry, events);
    EXPECT_FALSE(fs::exists(Catalogue()));
    EXPECT_EQ(summary.FilesChanged, 10);
    EXPECT_NE(diffs.find("+++ b/Pink Floyd/The Wall CD1/descript.ion"), std::string::npos);

    // A folder link back up the tree is followed once (on POSIX, where anyone can make one); a
    // damaged song is named.
#ifndef _WIN32
    fs::create_directory_symlink("..", Music() / "Jazz/up");
#endif
    FMusic.Write("Music/Jazz/damaged.mp3", "not audio");
    Describe();
    std::erase_if(FProblems, [](const TProblem& problem) {
        return problem.Kind == TProblemKind::DescriptionCut;
    });
    ASSERT_EQ(FProblems.size(), 1u);
    EXPECT_EQ(FProblems[0].Kind, TProblemKind::SongUnreadable);
    EXPECT_EQ(FProblems[0].Path, (Music() / "Jazz/damaged.mp3").string());
    EXPECT_EQ(FReader.Opened, 7 + 8);
}

// Folders are listed ahead from the last category backwards while the scan goes forwards; a
// folder reached through links from two categories still belongs to the path met first.
TEST_F(MusicCatalogue, AFolderLinkedFromTwoCategoriesBelongsToTheFirstPath) {
#ifdef _WIN32
    GTEST_SKIP() << "folder links need rights on Windows";
#else
    fs::create_directory_symlink("../Pink Floyd/The Wall", Music() / "Jazz/Wall");
    fs::create_directory_symlink("../Jazz/Miles Davis", Music() / "Pink Floyd/Miles");
    Describe();
    EXPECT_EQ(FReader.Opened, 7);
    EXPECT_EQ(Read("Jazz/descript.ion"),
              "Jazz  Jazz\r\nMiles Davis Kind o  Miles Davis - Kind of "
              "Blue\r\nWall CD1  The Wall (CD 1)\r\nWall CD2  The Wall (CD 2)\r\n");
    EXPECT_EQ(Read("Pink Floyd/descript.ion"), "Wish You Were Here  Wish You Were Here (1975)\r\n");
    EXPECT_EQ(Check(), std::vector<std::string>{});
#endif
}

TEST_F(MusicCatalogue, SongsReadOnThreadsGiveTheSameCatalogueAndReportsInOrder) {
    FMusic.Write("Music/Jazz/Miles Davis/Kind of Blue/02 - damaged.mp3", "x");
    FMusic.Write("Music/Pink Floyd/The Wall/CD1/00 - damaged too.mp3", "x");
    TDescribeOptions threads;
    threads.ReadThreads = 4;
    Describe(threads);
    const auto onThreads = FProblems;
    FProblems.clear();
    const std::string sequential = (FCatalogue.Path() / "sequential").string();
    TDescribeEvents events;
    events.OnProblem = [&](const TProblem& problem) { FProblems.push_back(problem); };
    DescribeMusicFolder(Music().string(), sequential, FReader, {}, events);
    ASSERT_EQ(onThreads.size(), FProblems.size());
    for (std::size_t i = 0; i < onThreads.size(); ++i)
        EXPECT_EQ(onThreads[i].Path, FProblems[i].Path);
    EXPECT_EQ(FReader.Opened, 2 * 9);
    for (const char* file :
         {"descript.ion", "Jazz/descript.ion", "Pink Floyd/descript.ion",
          "Pink Floyd/The Wall CD1/descript.ion", "Jazz/Miles Davis Kind o/descript.ion"})
        EXPECT_EQ(Read(file), TTempDir::Read(fs::path(sequential) / file)) << file;
}

TEST_F(MusicCatalogue, AlbumsAreKeptByThePrintOfTheirSongsAndOnlyAChangedSongIsOpened) {
    Describe();
    const fs::path index = fs::path(Catalogue()) / std::string(IndexFileName);
    const auto prints = [&] {
        const std::string text = TTempDir::Read(index);
        std::size_t count = 0;
        for (auto at = text.find("\nsongs\t"); at != std::string::npos;
             at = text.find("\nsongs\t", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(prints(), 6U);
    // An index from before prints: nothing is opened, nothing described changes, and the index
    // gains the prints.
    std::string text = TTempDir::Read(index);
    for (auto at = text.find("\nsongs\t"); at != std::string::npos; at = text.find("\nsongs\t"))
        text.erase(at + 1, text.find('\n', at + 1) - at);
    FCatalogue.Write("cat/" + std::string(IndexFileName), text);
    ASSERT_EQ(prints(), 0U);
    FReader.Opened = 0;
    EXPECT_EQ(Describe().FilesChanged, 0);
    EXPECT_EQ(FReader.Opened, 0);
    EXPECT_EQ(prints(), 6U);
    // A song whose time alone changes is the only one read again.
    const fs::path song = Music() / "Pink Floyd/The Wall/CD1/01 - In the Flesh.mp3";
    fs::last_write_time(song, fs::last_write_time(song) + std::chrono::hours(1));
    Describe();
    EXPECT_EQ(FReader.Opened, 1);
    Describe();
    EXPECT_EQ(FReader.Opened, 1);
    // The catalogue folder's own file edited: the user's line stays, a category line taken out
    // comes back.
    FCatalogue.Write("cat/descript.ion", "; mine\r\nMusic  Music\r\nPink Floyd  Pink Floyd\r\n");
    EXPECT_EQ(Describe().FilesChanged, 1);
    EXPECT_EQ(Read("descript.ion"),
              "; mine\r\nMusic  Music\r\nPink Floyd  Pink Floyd\r\nJazz  Jazz\r\n");
    EXPECT_EQ(Describe().FilesChanged, 0);
    EXPECT_EQ(Check(), std::vector<std::string>{});
}

TEST_F(MusicCatalogue, SongsNotDescribedOrMissingFromTheIndexAreReadAgain) {
    // A song that cannot be read keeps its album from a print: it is tried on every run.
    const fs::path damaged = Music() / "Jazz/Miles Davis/Kind of Blue/02 - damaged.mp3";
    FMusic.Write("Music/Jazz/Miles Davis/Kind of Blue/02 - damaged.mp3", "x");
    Describe();
    FReader.Opened = 0;
    FProblems.clear();
    Describe();
    EXPECT_EQ(FReader.Opened, 1);
    EXPECT_EQ(FProblems.size(), 1U);
    fs::remove(damaged);
    Describe();
    EXPECT_EQ(FReader.Opened, 1);

    // An album with the same print whose file was edited and one of whose songs lost its index
    // line: that song is read on its own, while new songs elsewhere are read on threads.
    const fs::path index = fs::path(Catalogue()) / std::string(IndexFileName);
    std::string text = TTempDir::Read(index);
    const auto line = text.find("\nsong\tJazz/Miles Davis/Kind of Blue/01 - So What.mp3\t");
    ASSERT_NE(line, std::string::npos);
    text.erase(line + 1, text.find('\n', line + 1) - line);
    FCatalogue.Write("cat/" + std::string(IndexFileName), text);
    const std::string album = "cat/Jazz/Miles Davis Kind o/descript.ion";
    FCatalogue.Write(album, TTempDir::Read(FCatalogue.Path() / album) + "; mine\r\n");
    for (const char* name : {"03 - Have a Cigar.mp3", "04 - Wish You Were Here.mp3"}) {
        FMusic.Write(std::string("Music/Pink Floyd/Wish You Were Here (1975)/") + name,
                     std::string(5000, 'x'));
        FReader.Songs[name] = {0, 3000, std::string("Title of ") + name, ""};
    }
    FReader.Opened = 0;
    TDescribeOptions threads;
    threads.ReadThreads = 4;
    Describe(threads);
    EXPECT_EQ(FReader.Opened, 3);
    EXPECT_NE(TTempDir::Read(FCatalogue.Path() / album).find("01 - So What"), std::string::npos);
    const std::string wish = Read("Pink Floyd/Wish You Were Here/descript.ion");
    EXPECT_NE(wish.find("03 Have a Ciga.mp3  Title of 03 - Have a Cigar.mp3"), std::string::npos)
        << wish;
    EXPECT_NE(wish.find("04 Wish You We.mp3  Title of 04 - Wish You Were He "), std::string::npos)
        << wish;
    EXPECT_EQ(Check(), std::vector<std::string>{});
}

TEST_F(MusicCatalogue, ASecondRunWaitsForTheFirst) {
    fs::create_directories(Catalogue());
    auto held = platform::TryLockFolder(Catalogue());
    ASSERT_TRUE(held);
    std::promise<void> busy;
    TDescribeEvents events;
    events.OnBusy = [&] { busy.set_value(); };
    std::thread run([&] { Describe({}, events); });
    busy.get_future().wait();
    EXPECT_FALSE(fs::exists(Catalogue() + "/descript.ion"));
    held.reset();
    run.join();
    EXPECT_TRUE(fs::exists(Catalogue() + "/descript.ion"));
    EXPECT_FALSE(platform::TryLockFolder(Catalogue()) == nullptr);
}

// The description files of a catalogue by path, and the names of its other entries.
std::map<std::string, std::string> CatalogueFiles(const fs::path& catalogue) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(catalogue)) {
        const auto relative = fs::relative(entry.path(), catalogue).generic_string();
        if (entry.path().filename() == "descript.ion")
            files[relative] = TTempDir::Read(entry.path());
        else if (entry.path().filename() != ".lock" && entry.path().filename() != IndexFileName)
            files[relative] = "";
    }
    return files;
}

TEST_F(MusicCatalogue, AStoppedRunLeavesEveryFileWholeAndTheNextRunFinishesIt) {
    // Each catalogue is described, the music changes in every album, and a second run stops
    // after so many songs: each description file is then the first run's or the finished
    // one's, and a third run gives what a run never stopped gives.
    const std::vector<std::size_t> stops = {0, 1, 2, 3, 4, 5, 6, 7};
    TDescribeOptions prune;
    prune.Prune = true;
    const auto place = [&](const std::string& name) { return (FCatalogue.Path() / name).string(); };
    std::map<std::size_t, std::map<std::string, std::string>> first;
    for (const std::size_t stop : stops) {
        DescribeMusicFolder(Music().string(), place(std::to_string(stop)), FReader, prune, {});
        first[stop] = CatalogueFiles(place(std::to_string(stop)));
    }
    DescribeMusicFolder(Music().string(), place("whole"), FReader, prune, {});
    FMusic.Write("Music/Pink Floyd/Wish You Were Here (1975)/00 - Have a Cigar.mp3",
                 std::string(5000, 'x'));
    FReader.Songs["00 - Have a Cigar.mp3"] = {0, 3000, "Have a Cigar", ""};
    FMusic.Write("Music/Jazz/Miles Davis/Kind of Blue/01 - So What.mp3", std::string(5500, 'y'));
    fs::remove(Music() / "Loose song.mp3");
    FMusic.Write("Music/New Band/First Album/01 - Opening.mp3", std::string(4000, 'z'));
    FReader.Songs["01 - Opening.mp3"] = {0, 2000, "Opening", "First Album"};
    DescribeMusicFolder(Music().string(), place("whole"), FReader, prune, {});
    const auto finished = CatalogueFiles(place("whole"));

    for (const std::size_t stop : stops) {
        const std::string catalogue = place(std::to_string(stop));
        TDescribeEvents events;
        std::size_t songs = 0;
        events.OnSongs = [&](std::size_t described) { songs = described; };
        events.Cancelled = [&] { return songs >= stop; };
        const auto stopped =
            DescribeMusicFolder(Music().string(), catalogue, FReader, prune, events);
        EXPECT_TRUE(stopped.Stopped) << stop;
        EXPECT_GE(songs, stop);
        EXPECT_LT(songs, 8u);
        for (const auto& [file, bytes] : CatalogueFiles(catalogue)) {
            if (!file.ends_with("descript.ion"))
                continue;
            const auto old = first[stop].find(file);
            const bool isOld = old != first[stop].end() && old->second == bytes;
            const bool isNew = finished.contains(file) && finished.at(file) == bytes;
            EXPECT_TRUE(isOld || isNew) << "after " << stop << " songs: " << file << "\n" << bytes;
        }
        const auto next = DescribeMusicFolder(Music().string(), catalogue, FReader, prune, {});
        EXPECT_FALSE(next.Stopped);
        EXPECT_EQ(next.SongsDescribed, 8);
        EXPECT_EQ(CatalogueFiles(catalogue), finished) << "after " << stop << " songs";
    }
}

TEST_F(MusicCatalogue, AJobDescribesEachFolderInTurnAndTellsWhatItCouldNot) {
    TTempDir empty;
    fs::create_directories(empty.Path() / "Music");
    const std::string emptyCatalogue = (FCatalogue.Path() / "empty").string();
    DescribeMusicFolder(Music().string(), emptyCatalogue, FReader, {}, {});
    const auto emptyBefore = CatalogueFiles(emptyCatalogue);
    const std::vector<TMusicFolder> folders = {
        {Music().string(), Catalogue()},
        {(FMusic.Path() / "missing").string(), (FCatalogue.Path() / "missing").string()},
        {Music().string() + "/../Music", (FCatalogue.Path() / "other").string()},
    };
    // The third names the first music folder again under another catalogue; the empty folder
    // stands for a share not mounted below a catalogue that described it before.
    auto withEmpty = folders;
    withEmpty.push_back({(empty.Path() / "Music").string(), emptyCatalogue});
    std::promise<void> ended;
    int changes = 0;
    TDescribeJob job(
        withEmpty, [this] { return std::make_unique<TForward>(FReader); }, 4, [&] { ++changes; },
        [&] { ended.set_value(); });
    ended.get_future().wait();
    job.Wait();
    const auto outcome = job.Outcome();
    EXPECT_FALSE(outcome.Stopped);
    EXPECT_EQ(outcome.Described, (std::vector<TMusicFolder>{folders[0], folders[2]}));
    EXPECT_EQ(outcome.Songs, 14);
    EXPECT_EQ(outcome.Albums, 12);
    ASSERT_EQ(outcome.Details.size(), 4u);
    EXPECT_NE(outcome.Details[1].find("cannot read folder"), std::string::npos);
    EXPECT_NE(outcome.Details[3].find("the folder is empty"), std::string::npos);
    EXPECT_EQ(CatalogueFiles(emptyCatalogue), emptyBefore);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(job.Progress().MusicDone, 4u);

    // Stopped before it began: nothing described, nothing left half done.
    TDescribeJob stopped(folders, [this] { return std::make_unique<TForward>(FReader); }, 1, {},
                         {});
    stopped.Stop();
    stopped.Wait();
    EXPECT_TRUE(stopped.Outcome().Described.size() < folders.size());
    EXPECT_TRUE(stopped.Outcome().Stopped);
}

TEST_F(MusicCatalogue, ACatalogueOfAnotherMusicFolderIsRefused) {
    Describe();
    TTempDir other;
    other.Write("A/B/c.mp3", "x");
    EXPECT_THROW(
        DescribeMusicFolder(other.Path().string(), Catalogue(), FReader, {}, TDescribeEvents{}),
        EInOutError);
    EXPECT_EQ(CatalogueSource(Catalogue()), MusicFolderPath(Music().string()));
}

} // namespace

namespace {

// Songs of five seconds, whatever their names; the size is the file's own.
class TFiveSecondSongs : public TSongFactsReader {
public:
    TSongFacts Read(const std::string& path) override {
        return {platform::LookAt(path).Size, 5000, "", ""};
    }
};

} // namespace

// Names beyond ASCII are written into the lines as this system's file calls take them (the
// file system's bytes on POSIX, the ANSI code page on Windows), so the program finds them again.
TEST(DescribeNames, FoldersAndSongsNamedBeyondAsciiAreDescribedAndFoundAgain) {
#ifdef _WIN32
    const std::string artist = "Bj\xF6rk", song = "01 J\xF3ga.mp3";
#else
    const std::string artist = "Bj\xC3\xB6rk", song = "01 J\xC3\xB3ga.mp3";
#endif
    TTempDir dir;
    const std::string music = JoinPath(dir.Path().string(), "music");
    const std::string album = JoinPath(JoinPath(music, artist), "Homogenic");
    platform::MakeFolders(album);
    platform::WriteFileBytes(JoinPath(album, song), std::string(20000, 'x'));
    TFiveSecondSongs reader;
    std::vector<std::string> problems;
    const TDescribeEvents events{
        [&](const TProblem& problem) { problems.push_back(problem.Path + ": " + problem.Message); },
        {},
        {},
        {},
        {},
        {},
        {}};
    const auto report = [&](const std::string& problem) { problems.push_back(problem); };

    DescribeCatalogue(music, reader, {}, events);
    CheckCatalogue(music, report);
    const std::string catalogue = JoinPath(dir.Path().string(), "catalogue");
    DescribeMusicFolder(music, catalogue, reader, {}, events);
    CheckCatalogue(catalogue, report);
    EXPECT_EQ(problems, std::vector<std::string>{});
    EXPECT_NE(platform::ReadFileBytes(JoinPath(catalogue, "descript.ion")).find(artist + "  "),
              std::string::npos);
}
