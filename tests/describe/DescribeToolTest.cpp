// Runs the built mp3tunestead-describe on a collection of real MP3 files made with lame.
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/LameSongs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace Catalogue;
namespace fs = std::filesystem;

namespace {

constexpr const char* Album = "Pop/Album";

const TLameSong Samples[] = {
    {"01 cbr.mp3", 44100, 114660,
     "-b 128 --tt 'Caf\xC3\xA9' --tl '\xC3\x89t\xC3\xA9' --id3v2-only"},
    {"02 vbr.mp3", 44100, 74970, "-V 2 --tt '\xE6\x97\xA5\xE6\x9C\xAC' --id3v2-utf16"},
    {"03 mono.mp3", 44100, 101430, "--resample 22.05 -m m"},
};

struct TResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// The files of a folder tree (description files only) with their bytes and change times.
std::map<std::string, std::pair<std::string, fs::file_time_type>> DescFiles(const fs::path& root) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename() == "descript.ion")
            files[entry.path().string()] = {TTempDir::Read(entry.path()),
                                            fs::last_write_time(entry.path())};
    return files;
}

class DescribeTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!LameAvailable())
            return;
        FSongs = new TTempDir;
        for (const auto& sample : Samples)
            MakeLameSong(FSongs->Path(), sample);
    }
    static void TearDownTestSuite() {
        delete FSongs;
        FSongs = nullptr;
    }

    void SetUp() override {
        if (FSongs == nullptr)
            GTEST_SKIP() << "lame is not on PATH: no MP3 files can be made";
        fs::create_directories(Root() / Album);
        for (const auto& sample : Samples)
            fs::copy_file(FSongs->Path() / sample.Name, Root() / Album / sample.Name);
        // A name of 19 characters and a file that holds no audio.
        fs::copy_file(FSongs->Path() / Samples[0].Name, Root() / Album / "abcdefghijklmno.mp3");
        FDir.Write("root/Pop/Album/04 bad.mp3", "this is no MP3 file");
    }

    fs::path Root() const { return FDir.Path() / "root"; }
    fs::path AlbumFile() const { return Root() / Album / "descript.ion"; }

    // Runs the tool, started through the wrapper command when one is given.
    TResult Run(const std::string& arguments, const std::string& wrapper = "") const {
        const auto out = FDir.Path() / "out.txt";
        const auto err = FDir.Path() / "err.txt";
        const std::string command = "XDG_DATA_HOME='" + (FDir.Path() / "data").string() + "' " +
                                    wrapper + "'" TUNESTEAD_DESCRIBE_TOOL "' " + arguments + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        TResult result;
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Out = TTempDir::Read(out);
        result.Err = TTempDir::Read(err);
        return result;
    }
    TResult Describe(const std::string& options = "") const {
        return Run("--in-place " + options + " '" + Root().string() + "'");
    }

    // The description lines of the album file by name; each must pass the syntax test.
    std::map<std::string, std::string> AlbumLines() const {
        const std::string text = TTempDir::Read(AlbumFile());
        std::map<std::string, std::string> lines;
        TDescLines reader(text);
        std::string_view line;
        while (reader.NextLine(line)) {
            EXPECT_TRUE(PassesSyntaxTest(line)) << line;
            lines[std::string(ExtractDir(line))] = std::string(line);
        }
        return lines;
    }

    static TTempDir* FSongs;
    TTempDir FDir;
};

TTempDir* DescribeTool::FSongs = nullptr;

} // namespace

TEST_F(DescribeTool, DescribesRealSongsAndReportsWhatItCannot) {
    const auto result = Describe();
    EXPECT_EQ(result.ExitCode, 1) << result.Err;
    EXPECT_NE(result.Err.find("abcdefghijklmno.mp3: name longer than 18 characters"),
              std::string::npos)
        << result.Err;
    EXPECT_NE(result.Err.find("04 bad.mp3: cannot read song"), std::string::npos) << result.Err;
    EXPECT_EQ(result.Err.find("not representable"), std::string::npos) << result.Err;

    const auto lines = AlbumLines();
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& sample : Samples) {
        ASSERT_TRUE(lines.contains(sample.Name)) << sample.Name;
        const auto time = ExtractTime(lines.at(sample.Name));
        const double truth = sample.Seconds();
        EXPECT_LE(std::abs(time.Minutes * 60 + time.Seconds - truth), 1.0) << sample.Name;
        EXPECT_EQ(ParseNumberField(lines.at(sample.Name).substr(51, 10)),
                  static_cast<std::int32_t>(fs::file_size(Root() / Album / sample.Name)));
    }
    // Each title in Windows-1252 when it fits, in UTF-8 otherwise.
    EXPECT_EQ(ParseDescription(lines.at("01 cbr.mp3")).Text, "Caf\xE9");
    EXPECT_EQ(ParseDescription(lines.at("02 vbr.mp3")).Text, "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(ParseDescription(lines.at("03 mono.mp3")).Text, "03 mono");
    EXPECT_EQ(TTempDir::Read(Root() / "Pop/descript.ion"), "Album  \xC9t\xE9\r\n");
    EXPECT_EQ(TTempDir::Read(Root() / "descript.ion"), "Pop  Pop\r\n");

    // The check names the songs that the tool could not describe in place.
    const auto check = Run("--check '" + Root().string() + "'");
    EXPECT_EQ(check.ExitCode, 1) << check.Out;
    const std::string album = (Root() / Album).string();
    EXPECT_EQ(check.Out, album + "/04 bad.mp3: MP3 file that no description line reaches\n" +
                             album +
                             "/abcdefghijklmno.mp3: MP3 file that no description line reaches\n");
}

TEST_F(DescribeTool, Windows1252WritesWhatItCannotHoldAsQuestionMarks) {
    const auto result = Describe("--encoding windows-1252");
    EXPECT_EQ(result.ExitCode, 1) << result.Err;
    EXPECT_NE(result.Err.find("02 vbr.mp3: 2 character(s) of \"\xE6\x97\xA5\xE6\x9C\xAC\" not "
                              "representable in windows-1252"),
              std::string::npos)
        << result.Err;
    const auto lines = AlbumLines();
    EXPECT_EQ(ParseDescription(lines.at("01 cbr.mp3")).Text, "Caf\xE9");
    EXPECT_EQ(ParseDescription(lines.at("02 vbr.mp3")).Text, "??");
}

TEST_F(DescribeTool, Utf8KeepsEveryCharacter) {
    const auto result = Describe("--encoding utf-8");
    EXPECT_EQ(result.ExitCode, 1) << result.Err;
    EXPECT_EQ(result.Err.find("not representable"), std::string::npos) << result.Err;
    const auto lines = AlbumLines();
    EXPECT_EQ(ParseDescription(lines.at("01 cbr.mp3")).Text, "Caf\xC3\xA9");
    EXPECT_EQ(ParseDescription(lines.at("02 vbr.mp3")).Text, "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(TTempDir::Read(Root() / "Pop/descript.ion"), "Album  \xC3\x89t\xC3\xA9\r\n");
}

TEST_F(DescribeTool, LaterRunsKeepTheUsersWordsAndChangeOnlyWhatChanged) {
    Describe();
    const auto first = DescFiles(Root());
    const auto again = Describe();
    EXPECT_EQ(again.ExitCode, 1) << again.Err;
    EXPECT_EQ(DescFiles(Root()), first);

    std::string text = TTempDir::Read(AlbumFile());
    text.replace(text.find("03 mono   "), 10, "My words  ");
    FDir.Write("root/Pop/Album/descript.ion", text);
    fs::copy_file(FSongs->Path() / Samples[0].Name, Root() / Album / "05 new.mp3");
    Describe();
    const std::string after = TTempDir::Read(AlbumFile());
    EXPECT_EQ(after.substr(0, text.size()), text);
    const auto added = after.substr(text.size());
    EXPECT_EQ(added.rfind("05 new.mp3  Caf\xE9 ", 0), 0u) << added;
    EXPECT_EQ(added.find("\r\n"), added.size() - 2) << added;
}

TEST_F(DescribeTool, GoneSongsStayUnlessPrunedAndDryRunWritesNothing) {
    Describe();
    fs::remove(Root() / Album / "02 vbr.mp3");
    Describe();
    EXPECT_TRUE(AlbumLines().contains("02 vbr.mp3"));

    const auto before = DescFiles(Root());
    const auto dry = Describe("--dry-run --prune");
    EXPECT_EQ(DescFiles(Root()), before);
    EXPECT_NE(dry.Out.find("--- a/Pop/Album/descript.ion\n+++ b/Pop/Album/descript.ion\n@@ -1,3 "
                           "+1,2 @@\n"),
              std::string::npos)
        << dry.Out;
    EXPECT_NE(dry.Out.find("\n-02 vbr.mp3  \xE6\x97\xA5\xE6\x9C\xAC"), std::string::npos)
        << dry.Out;

    Describe("--prune");
    EXPECT_FALSE(AlbumLines().contains("02 vbr.mp3"));
    EXPECT_EQ(AlbumLines().size(), 2u);
}

TEST_F(DescribeTool, CheckListsProblemsByFileAndLine) {
    Describe();
    const std::string text = TTempDir::Read(AlbumFile());
    FDir.Write("root/Pop/Album/descript.ion", "; notes\r\nno double blank in this line\r\n" + text);
    fs::resize_file(Root() / Album / "03 mono.mp3", 1000);
    fs::create_directories(Root() / "Pop/Empty");
    FDir.Write("root/Pop/descript.ion",
               TTempDir::Read(Root() / "Pop/descript.ion") + "Empty  E\r\n");

    const auto check = Run("--check '" + Root().string() + "'");
    EXPECT_EQ(check.ExitCode, 1);
    const std::string file = AlbumFile().string();
    EXPECT_EQ(
        check.Out,
        file +
            ":2: syntax error: no two blanks after the name within the first "
            "20 columns\n" +
            file + ":5: size " + std::to_string(fs::file_size(FSongs->Path() / "03 mono.mp3")) +
            " differs from the file's 1000 bytes: 03 mono.mp3\n" + (Root() / "Pop/Empty").string() +
            ": description file missing\n" + (Root() / Album).string() +
            "/04 bad.mp3: MP3 file that no description line reaches\n" + (Root() / Album).string() +
            "/abcdefghijklmno.mp3: MP3 file that no description line reaches\n");
}
TEST_F(DescribeTool, UsageVersionAndUnreadableRoot) {
    const auto help = Run("--help");
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("Usage: mp3tunestead-describe"), std::string::npos);
    const auto version = Run("--version");
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out.rfind("mp3tunestead-describe " TUNESTEAD_VERSION, 0), 0u);
    EXPECT_EQ(Run("").ExitCode, 2);
    EXPECT_EQ(Run("--encoding koi8-r '" + Root().string() + "'").ExitCode, 2);
    const auto missing = Run("'" + (FDir.Path() / "nowhere").string() + "'");
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_NE(missing.Err.find("nowhere: cannot read folder"), std::string::npos) << missing.Err;
}

TEST_F(DescribeTool, AReadOnlyMusicFolderIsDescribedBesideItAndNeverTouched) {
    // Root ignores the permission bits: the folder is then mounted read-only in a mount
    // namespace of the tool's own.
    const std::string root = Root().string();
    const bool mount = geteuid() == 0 && std::system("command -v unshare >/dev/null 2>&1") == 0;
    if (!mount)
        fs::permissions(Root() / Album,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    const auto describe = [&](const std::string& options) {
        if (!mount)
            return Run(options + " '" + root + "'");
        return Run(options + " '" + root + "'",
                   "unshare -m sh -c 'mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro "
                   "\"$0\" \"$0\" && exec \"$@\"' '" +
                       root + "' ");
    };
    const auto before = Snapshot(Root());
    const auto first = describe("");
    EXPECT_EQ(first.ExitCode, 1) << first.Err;
    const fs::path catalogue = FDir.Path() / "data/mp3tunestead/catalogues/root";
    EXPECT_EQ(first.Out, "Catalogue root: " + catalogue.string() + "\n");
    EXPECT_NE(first.Err.find("04 bad.mp3: cannot read song"), std::string::npos) << first.Err;
    const std::string albumFile = TTempDir::Read(catalogue / "Pop/Album/descript.ion");
    for (const char* name :
         {"01 cbr.mp3  ", "02 vbr.mp3  ", "03 mono.mp3  ", "abcdefghijklmn.mp3  "})
        EXPECT_NE(albumFile.find(name), std::string::npos) << name << "\n" << albumFile;
    const auto again = describe("--prune");
    EXPECT_NE(again.Err.find(" 0 file(s) changed"), std::string::npos) << again.Err;
    const auto check = Run("--check '" + catalogue.string() + "'");
    EXPECT_EQ(check.ExitCode, 0) << check.Out;
    EXPECT_EQ(Snapshot(Root()), before);
    if (!mount)
        fs::permissions(Root() / Album, fs::perms::owner_write, fs::perm_options::add);
}
