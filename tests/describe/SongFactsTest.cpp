// The reader of song facts on real MP3 files made with lame: lengths within half a second of
// what a decoder gets out of each kind of stream and tag, files without audio reported, and a
// bounded search through a large file that holds no audio.
#include "describe/AudioScan.h"
#include "describe/TagLibSongFacts.h"
#include "platform/Errors.h"
#include "tests/support/LameSongs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <ostream>
#include <random>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

// What is done to the file beyond lame's own encoding.
enum class TExtra { None, CoverArt, CutShort, ApeTag };

struct TLengthCase {
    TLameSong Song;
    TExtra Extra = TExtra::None;
};

// Songs of a few seconds each; "-t" leaves out the Xing/Info header frame.
const TLengthCase LengthCases[] = {
    {{"cbr.mp3", 44100, 300000, "-b 128 --tt Cbr --tl Album"}},
    {{"cbr bare.mp3", 44100, 300000, "-b 160 -t"}},
    {{"abr.mp3", 44100, 300000, "--abr 96"}},
    {{"vbr.mp3", 44100, 300000, "-V 2"}},
    {{"vbr bare.mp3", 44100, 300000, "-V 2 -t"}},
    {{"vbr bare low.mp3", 44100, 300000, "-V 8 -t -m m"}},
    {{"mpeg1 48.mp3", 48000, 250000, "-V 4 -t"}},
    {{"mpeg1 32.mp3", 32000, 200000, "-b 96"}},
    {{"mpeg2 24.mp3", 24000, 150000, "-V 5 -t"}},
    {{"mpeg2 22.mp3", 44100, 300000, "--resample 22.05 -m m -V 3"}},
    {{"mpeg2 16.mp3", 16000, 100000, "-b 32 -m m"}},
    {{"mpeg25 12.mp3", 12000, 80000, "-V 6 -t"}},
    {{"mpeg25 11.mp3", 11025, 70000, "-b 24"}},
    {{"mpeg25 8.mp3", 44100, 300000, "--resample 8 -m m"}},
    {{"free.mp3", 44100, 300000, "--freeformat -b 400"}},
    {{"free low.mp3", 22050, 150000, "--freeformat -b 50 -t"}},
    {{"id3v1.mp3", 44100, 300000, "-V 2 -t --id3v1-only --tt Title --tl Album"}},
    {{"padding.mp3", 44100, 300000, "-V 2 --id3v2-only --pad-id3v2-size 200000 --tt T"}},
    {{"cover.mp3", 44100, 300000, "-V 2 -t --tt Cover"}, TExtra::CoverArt},
    {{"ape.mp3", 44100, 300000, "-V 2"}, TExtra::ApeTag},
    {{"ape id3v1.mp3", 44100, 300000, "-V 2 -t --id3v1-only --tt Title"}, TExtra::ApeTag},
    {{"cut.mp3", 44100, 300000, "-V 2 --tt Cut"}, TExtra::CutShort},
    {{"cut cbr.mp3", 44100, 300000, "-b 128"}, TExtra::CutShort},
};

void AppendLittle(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An APEv2 tag with a header, a title item and a footer.
std::string ApeTag() {
    std::string item;
    const std::string value = "Ape title";
    AppendLittle(item, static_cast<std::uint32_t>(value.size()));
    AppendLittle(item, 0);
    item += std::string("Title") + '\0' + value;
    auto frame = [&](std::uint32_t flags) {
        std::string bytes = "APETAGEX";
        AppendLittle(bytes, 2000);
        AppendLittle(bytes, static_cast<std::uint32_t>(item.size() + 32));
        AppendLittle(bytes, 1);
        AppendLittle(bytes, flags);
        return bytes + std::string(8, '\0');
    };
    return frame(0xA0000000) + item + frame(0x80000000);
}

// Puts the APE tag at the end of the audio, before an ID3v1 tag when there is one.
void AddApeTag(const fs::path& file) {
    std::string bytes = TTempDir::Read(file);
    const bool id3v1 = bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
    bytes.insert(id3v1 ? bytes.size() - 128 : bytes.size(), ApeTag());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// A picture of 1 MB that lame takes for a JPEG.
fs::path WriteCoverArt(const fs::path& folder) {
    std::string picture = "\xFF\xD8\xFF\xE0";
    std::mt19937 random(7);
    while (picture.size() < 1024 * 1024)
        picture += static_cast<char>(random() & 0xFF);
    picture += "\xFF\xD9";
    const fs::path file = folder / "cover.jpg";
    std::ofstream(file, std::ios::binary) << picture;
    return file;
}

fs::path MakeCase(const fs::path& folder, const TLengthCase& test) {
    TLameSong song = test.Song;
    if (test.Extra == TExtra::CoverArt)
        song.LameOptions += " --ti '" + WriteCoverArt(folder).string() + "'";
    const fs::path file = MakeLameSong(folder, song);
    if (test.Extra == TExtra::ApeTag)
        AddApeTag(file);
    // An interrupted download: the header frame still counts the whole song.
    if (test.Extra == TExtra::CutShort)
        fs::resize_file(file, fs::file_size(file) / 3);
    return file;
}

class SongLength : public ::testing::TestWithParam<TLengthCase> {
protected:
    void SetUp() override {
        if (!LameAvailable())
            GTEST_SKIP() << "lame is not on PATH: no MP3 files can be made";
    }
    TTempDir FDir;
};

TEST_P(SongLength, IsTheDecodedLength) {
    const fs::path file = MakeCase(FDir.Path(), GetParam());
    const double decoded = DecodedSeconds(file);
    const auto facts = TTagLibSongFacts().Read(file.string());
    ASSERT_TRUE(facts.LengthMs);
    EXPECT_NEAR(*facts.LengthMs / 1000.0, decoded, 0.5);
    EXPECT_EQ(facts.Size, fs::file_size(file));
    // The title lies behind the picture, beyond the blocks read for the length.
    if (GetParam().Extra == TExtra::CoverArt) {
        EXPECT_EQ(facts.Title, "Cover");
    }
    if (GetParam().Extra != TExtra::CutShort) {
        EXPECT_NEAR(decoded, GetParam().Song.Seconds(), 0.2) << "the decoder misread the file";
    }
}

void PrintTo(const TLengthCase& test, std::ostream* out) {
    *out << test.Song.Name << " (lame " << test.Song.LameOptions << ")";
}

std::string CaseName(const ::testing::TestParamInfo<TLengthCase>& test) {
    std::string name = test.param.Song.Name;
    for (char& c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Streams, SongLength, ::testing::ValuesIn(LengthCases), CaseName);

TEST(SongFacts, TagsComeFromTagLib) {
    if (!LameAvailable())
        GTEST_SKIP() << "lame is not on PATH: no MP3 files can be made";
    TTempDir dir;
    const fs::path v2 =
        MakeLameSong(dir.Path(), {"v2.mp3", 44100, 50000,
                                  "--tt 'Caf\xC3\xA9' --tl '\xE6\x97\xA5' --id3v2-only"});
    const fs::path v1 = MakeLameSong(
        dir.Path(), {"v1.mp3", 44100, 50000, "-t --id3v1-only --tt 'Old title' --tl Old"});
    const fs::path ape = MakeLameSong(dir.Path(), {"ape.mp3", 44100, 50000, "-V 2"});
    AddApeTag(ape);
    TTagLibSongFacts reader;
    const auto v2Facts = reader.Read(v2.string());
    EXPECT_EQ(v2Facts.Title, "Caf\xC3\xA9");
    EXPECT_EQ(v2Facts.Album, "\xE6\x97\xA5");
    const auto v1Facts = reader.Read(v1.string());
    EXPECT_EQ(v1Facts.Title, "Old title");
    EXPECT_EQ(v1Facts.Album, "Old");
    EXPECT_EQ(reader.Read(ape.string()).Title, "Ape title");
}

// Files that hold no MPEG audio are reported, not given a length.
TEST(SongFacts, FilesWithoutAudioAreReported) {
    TTempDir dir;
    std::string id3v1Only = "TAG" + std::string(125, ' ');
    std::string tagOnly = "ID3";
    tagOnly += std::string("\x03\x00\x00\x00\x00\x01\x00", 7) + std::string(128, '\0');
    const std::pair<const char*, std::string> files[] = {
        {"empty.mp3", ""},
        {"text.mp3", "This is a text file with a name that ends in .mp3.\n"},
        {"id3v1 only.mp3", id3v1Only},
        {"id3v2 only.mp3", tagOnly},
        {"zeros.mp3", std::string(200000, '\0')},
    };
    TTagLibSongFacts reader;
    for (const auto& [name, bytes] : files)
        EXPECT_THROW(reader.Read(dir.Write(name, bytes).string()), EError) << name;
#ifndef _WIN32
    // A pipe named like a song is refused at once, not waited on for a writer.
    const fs::path pipe = dir.Path() / "pipe.mp3";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(reader.Read(pipe.string()), EError);
#endif
    EXPECT_THROW(reader.Read((dir.Path() / "missing.mp3").string()), EError);
}

// The bytes this process has read so far, or -1 where the system does not tell.
std::int64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

// Large files: the search for audio gives up after a bounded number of bytes, and a scan ends
// where the audio ends. The bound is counted in bytes read, not in time.
TEST(SongFacts, LargeFilesAreNotSearchedThrough) {
    if (BytesRead() < 0)
        GTEST_SKIP() << "the system does not count the bytes read";
    TTempDir dir;
    constexpr std::uintmax_t Large = 100u * 1024 * 1024;
    const fs::path zeros = dir.Write("zeros.mp3", "");
    fs::resize_file(zeros, Large);
    std::string noise;
    std::mt19937 random(11);
    while (noise.size() < 4 * 1024 * 1024)
        noise += static_cast<char>(random() & 0xFF);
    const fs::path noisy = dir.Write("noise.mp3", noise);
    fs::resize_file(noisy, Large);
    TTagLibSongFacts reader;
    for (const auto& file : {zeros, noisy}) {
        const auto before = BytesRead();
        EXPECT_THROW(reader.Read(file.string()), EError) << file;
        EXPECT_LT(BytesRead() - before, 1024 * 1024) << file;
    }
    if (!LameAvailable())
        return;
    // A download given its full size before its audio came: ten seconds, then zeros.
    const fs::path song = MakeLameSong(dir.Path(), {"song.mp3", 44100, 441000, "-V 2 -t"});
    const auto audio = fs::file_size(song);
    fs::resize_file(song, Large);
    const auto before = BytesRead();
    const auto facts = reader.Read(song.string());
    EXPECT_LT(BytesRead() - before, static_cast<std::int64_t>(audio) + 1024 * 1024);
    ASSERT_TRUE(facts.LengthMs);
    EXPECT_NEAR(*facts.LengthMs / 1000.0, 10.0, 0.5);
}

// A song whose header frame fits the file is not read through: its length is the header's.
TEST(SongFacts, AFittingHeaderFrameSparesTheCount) {
    if (BytesRead() < 0 || !LameAvailable())
        GTEST_SKIP() << "lame is missing, or the system does not count the bytes read";
    TTempDir dir;
    const fs::path song = MakeLameSong(dir.Path(), {"long.mp3", 44100, 44100 * 60, "-b 128"});
    const auto before = BytesRead();
    const auto facts = TTagLibSongFacts().Read(song.string());
    EXPECT_LT(BytesRead() - before, static_cast<std::int64_t>(fs::file_size(song) / 3));
    ASSERT_TRUE(facts.LengthMs);
    EXPECT_NEAR(*facts.LengthMs / 1000.0, 60.0, 0.1);
}

// A long stream without a header frame is counted only so far, and the rest reckoned at the rate
// of the frames counted: the reading stays bounded however long the song.
TEST(SongFacts, ALongCountIsBounded) {
    if (BytesRead() < 0 || !LameAvailable())
        GTEST_SKIP() << "lame is missing, or the system does not count the bytes read";
    TTempDir dir;
    const fs::path song =
        MakeLameSong(dir.Path(), {"long.mp3", 44100, 44100 * 60, "-b 128 -t --tt Long"});
    constexpr std::int64_t ScanBytes = 64 * 1024;
    ASSERT_GT(fs::file_size(song), 4u * ScanBytes);
    const auto before = BytesRead();
    const auto lengthMs = ScanAudioLengthMs(song.string(), ScanBytes);
    EXPECT_LT(BytesRead() - before, 4 * ScanBytes);
    EXPECT_NEAR(lengthMs / 1000.0, 60.0, 60.0 * 0.02);
    EXPECT_NEAR(ScanAudioLengthMs(song.string()) / 1000.0, 60.0, 0.1);
}

} // namespace
