#include "playback/PlaylistFile.h"

#include "platform/Errors.h"
#include "tests/support/SystemErrors.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteFaultScope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace Playback;
namespace fs = std::filesystem;

namespace {

const std::vector<TPlaylistEntry> AlbumAndSingle = {
    {"* Best of Brass *", "", ""},
    {"   + 01. Fanfare", "3'07\"", "/mp3/Brass/FANFAR01.MP3"},
    {"   + 02. March", "12'00\"", "/mp3/Brass/MARCH002.MP3"},
    {"   + 03. Coda", "Unknown", "/mp3/Brass/CODA0003.MP3"},
    {"Lonely song", "0'59\"", "/mp3/Single/LONELY.MP3"},
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(PlaylistFile, SaveThenLoadGivesTheSameEntries) {
    TTempDir dir;
    const auto file = (dir.Path() / "list.PLS").string();
    SavePlaylistFile(file, AlbumAndSingle);
    EXPECT_EQ(fs::file_size(file), 5 * PlaylistRecordSize);
    const auto content = LoadPlaylistFile(file);
    EXPECT_EQ(content.Entries, AlbumAndSingle);
    EXPECT_FALSE(content.CutShort);
    EXPECT_NO_THROW(RaiseIfCutShort(content));
}

TEST(PlaylistFile, RecordLayoutIsByteExact) {
    const auto bytes =
        EncodePlaylist({{"Song", "3'07\"", "/a/b.mp3"}, {"* Hdr *", "9'99\"", "/x"}});
    ASSERT_EQ(bytes.size(), 2 * PlaylistRecordSize);
    std::string expected(2 * PlaylistRecordSize, '\0');
    expected.replace(0, 5, "\x04Song");
    expected.replace(41, 6,
                     "\x05"
                     "3'07\"");
    expected.replace(52, 9, "\x08/a/b.mp3");
    // A header keeps only its name; its length and path fields stay zero.
    expected.replace(181, 8, "\x07* Hdr *");
    EXPECT_EQ(bytes, expected);
}

TEST(PlaylistFile, LongFieldsAreCutSilently) {
    const std::string longHeader = "* " + std::string(50, 'H') + " *";
    const std::string longPath = "/" + std::string(140, 'p');
    const auto loaded = DecodePlaylist(EncodePlaylist({
                                           {longHeader, "", ""},
                                           {std::string(45, 'N'), "123456789012", longPath},
                                       }))
                            .Entries;
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].Caption, longHeader.substr(0, 40));
    EXPECT_TRUE(IsAlbumHeader(loaded[0].Caption));
    EXPECT_EQ(loaded[1],
              (TPlaylistEntry{std::string(40, 'N'), "1234567890", longPath.substr(0, 128)}));
}

TEST(PlaylistFile, HeaderRecordsIgnoreLengthAndPathOnLoad) {
    TPlaylistRecord record;
    record.NameLength = 3;
    std::copy_n("* A", 3, record.Name.data());
    record.LengthLength = 2;
    record.PathLength = 2;
    EXPECT_EQ(DecodeRecord(record), (TPlaylistEntry{"* A", "", ""}));
}

TEST(PlaylistFile, DamagedLengthBytesAreClampedToTheField) {
    TPlaylistRecord record;
    record.NameLength = 255;
    record.Name.fill('n');
    record.LengthLength = 11;
    record.Length.fill('l');
    record.PathLength = 200;
    record.Path.fill('p');
    EXPECT_EQ(DecodeRecord(record),
              (TPlaylistEntry{std::string(40, 'n'), std::string(10, 'l'), std::string(128, 'p')}));
}

TEST(PlaylistFile, EmptyFileIsAnEmptyList) {
    TTempDir dir;
    const auto content = LoadPlaylistFile(dir.Write("empty.PLS", "").string());
    EXPECT_TRUE(content.Entries.empty());
    EXPECT_FALSE(content.CutShort);
}

TEST(PlaylistFile, PartialRecordKeepsTheEntriesBeforeItThenRaises) {
    TTempDir dir;
    const auto bytes = EncodePlaylist(AlbumAndSingle).substr(0, 2 * PlaylistRecordSize + 100);
    const auto content = LoadPlaylistFile(dir.Write("cut.PLS", bytes).string());
    EXPECT_EQ(content.Entries,
              std::vector<TPlaylistEntry>(AlbumAndSingle.begin(), AlbumAndSingle.begin() + 2));
    EXPECT_TRUE(content.CutShort);
    EXPECT_EQ(ErrorOf([&] { RaiseIfCutShort(content); }), "Read beyond end of file");
}

TEST(PlaylistFile, UnreadableFilesRaiseTheFileError) {
    TTempDir dir;
    EXPECT_EQ(ErrorOf([&] { LoadPlaylistFile((dir.Path() / "missing.PLS").string()); }),
              "File not found");
    EXPECT_EQ(ErrorOf([&] { SavePlaylistFile((dir.Path() / "no" / "x.PLS").string(), {}); }),
              MissingFolderText);
}

TEST(PlaylistFile, FailedSaveLeavesTheOldFileWhole) {
    TTempDir dir;
    const auto file = dir.Write("keep.PLS", EncodePlaylist(AlbumAndSingle));
    {
        TWriteFaultScope diskFull(200);
        EXPECT_EQ(ErrorOf([&] {
                      SavePlaylistFile(file.string(), {{"New", "1'00\"", "/n"}});
                  }),
                  "Disk full");
    }
    EXPECT_EQ(LoadPlaylistFile(file.string()).Entries, AlbumAndSingle);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(PlaylistFile, ExistsWhenItCanBeOpenedForReading) {
    TTempDir dir;
    EXPECT_TRUE(PlaylistFileExists(dir.Write("a.PLS", "").string()));
    EXPECT_FALSE(PlaylistFileExists((dir.Path() / "b.PLS").string()));
    EXPECT_FALSE(PlaylistFileExists(dir.Path().string()));
}

TEST(PlaylistFile, OverwriteQuestionUsesACarriageReturnAlone) {
    EXPECT_EQ(OverwriteQuestionText("/home/u/a.PLS"), "/home/u/a.PLS\ralready exist. Overwrite ?");
}
