#include "tools/DemoSongs.h"
#include "tools/SilentMp3.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TEST(SilentMp3, HeaderBytesAndFrameLengths) {
    using enum TChannelMode;
    const struct {
        TMp3Format format;
        bool padded;
        std::array<std::uint8_t, 4> header;
        int length;
    } cases[] = {
        {{128000, 44100, cmStereo}, false, {0xFF, 0xFB, 0x90, 0x04}, 417},
        {{128000, 44100, cmStereo}, true, {0xFF, 0xFB, 0x92, 0x04}, 418},
        {{128000, 44100, cmJointStereo}, false, {0xFF, 0xFB, 0x90, 0x44}, 417},
        {{128000, 44100, cmMono}, true, {0xFF, 0xFB, 0x92, 0xC4}, 418},
        {{320000, 48000, cmStereo}, false, {0xFF, 0xFB, 0xE4, 0x04}, 960},
        {{32000, 32000, cmDualChannel}, false, {0xFF, 0xFB, 0x18, 0x84}, 144},
        {{192000, 44100, cmStereo}, true, {0xFF, 0xFB, 0xB2, 0x04}, 627},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Mp3FrameHeader(c.format, c.padded), c.header) << c.format.BitRate;
        EXPECT_EQ(Mp3FrameLength(c.format, c.padded), c.length) << c.format.BitRate;
    }
    EXPECT_THROW(Mp3FrameHeader({127000, 44100, cmStereo}, false), EError);
    EXPECT_THROW(Mp3FrameHeader({128000, 22050, cmStereo}, false), EError);
}

// Walks the stream frame by frame as a decoder's sync search would.
TEST(SilentMp3, StreamIsContiguousFramesWithSilentSideInfoAndExactBitRate) {
    const TMp3Format format;
    const int frames = Mp3FrameCount(format, 1500);
    EXPECT_EQ(frames, 58); // 58 * 1152 / 44100 s = 1.515 s
    const std::string stream = SilentMp3(format, frames);
    std::size_t at = 0;
    int padded = 0;
    for (int frame = 0; frame < frames; ++frame) {
        ASSERT_LT(at + 36, stream.size());
        ASSERT_EQ(static_cast<unsigned char>(stream[at]), 0xFF) << frame;
        ASSERT_EQ(static_cast<unsigned char>(stream[at + 1]), 0xFB) << frame;
        const bool isPadded = (stream[at + 2] & 0x02) != 0;
        padded += isPadded ? 1 : 0;
        for (std::size_t sideInfo = at + 4; sideInfo < at + 36; ++sideInfo)
            ASSERT_EQ(stream[sideInfo], '\0');
        at += static_cast<std::size_t>(Mp3FrameLength(format, isPadded));
    }
    EXPECT_EQ(at, stream.size());
    // 144 * 128000 / 44100 = 417 + 42300/44100 bytes per frame.
    EXPECT_EQ(padded, frames * 42300 / 44100);
}

TEST(DemoSongs, LinesNamesAndUnsafeNames) {
    const std::string text = "; comment\r\n\r\n \t\r\na.mp3  A\r\n ;b.mp3  B\rc\nd.mp3  C\r\n"
                             "e.mp3  E\x1A"
                             "f.mp3  F\r\n";
    const std::vector<std::string> expected = {"a.mp3  A", " ;b.mp3  B", "c", "d.mp3  C",
                                               "e.mp3  E"};
    EXPECT_EQ(DescriptionLines(text), expected);

    EXPECT_EQ(FileNameField("01 blue hour.mp3  The Blue Hour"), "01 blue hour.mp3");
    EXPECT_EQ(FileNameField("no separator here"), "");
    for (const char* name : {"", ".", "..", "..\\up.mp3", "../up.mp3", "C:x.mp3", "c\nd.mp3"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    EXPECT_TRUE(IsPlainFileName("01 blue hour.mp3"));
}

namespace {

struct TDemoCounts {
    int SyntaxErrors = 0;
    int MissingAlbumFiles = 0;
    int UnknownLengths = 0;
    int Songs = 0;
};

// Checks every description file below root for the layout the reader expects (exact CR LF
// lines, Windows-1252 accents, plain file names, complete song lines) and counts what it finds.
void CheckDemoCatalogue(const fs::path& root, TDemoCounts& counts) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename() != "descript.ion")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        const std::string where = entry.path().string();
        ASSERT_TRUE(text.ends_with("\r\n")) << where;
        for (std::size_t i = 0; i < text.size(); ++i) {
            ASSERT_EQ(text[i] == '\r', i + 1 < text.size() && text[i + 1] == '\n') << where;
            ASSERT_EQ(text[i] == '\n', i > 0 && text[i - 1] == '\r') << where;
        }
        ASSERT_EQ(text.find('\xC3'), std::string::npos) << "UTF-8 accents in " << where;

        const fs::path relative = entry.path().lexically_relative(root);
        const auto level = std::distance(relative.begin(), relative.end());
        for (const std::string& line : DescriptionLines(text)) {
            const std::string name = FileNameField(line);
            ASSERT_TRUE(IsPlainFileName(name)) << line;
            if (line.substr(0, 20).find("  ") == std::string::npos)
                ++counts.SyntaxErrors;
            if (level == 2 && !fs::exists(entry.path().parent_path() / name / "descript.ion"))
                ++counts.MissingAlbumFiles;
            if (level != 3)
                continue;
            ++counts.Songs;
            EXPECT_LE(name.size(), 18u) << line;
            if (line.size() < 52) {
                ++counts.UnknownLengths;
                continue;
            }
            ASSERT_EQ(line.size(), 68u) << line;
            EXPECT_EQ(line.substr(62, 6), "128000") << line;
            EXPECT_GT(std::stol(line.substr(51, 10)), 16000 * 30) << line;
        }
    }
}

} // namespace

// The demo catalogue that the program starts on shows no message; the faulty one holds one
// syntax error and one album without its description file, to show how they are reported.
TEST(DemoCatalogue, FilesHaveTheLayoutTheReaderExpects) {
    const fs::path demo = fs::path(__FILE__).parent_path().parent_path().parent_path() / "demo";
    const struct {
        const char* Folder;
        int SyntaxErrors;
        int MissingAlbumFiles;
        int UnknownLengths;
        int MinSongs;
    } cases[] = {
        {"catalogue", 0, 0, 1, 20},
        {"faulty", 1, 1, 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Folder);
        const fs::path root = demo / c.Folder;
        ASSERT_TRUE(fs::is_regular_file(root / "descript.ion")) << root;
        TDemoCounts counts;
        CheckDemoCatalogue(root, counts);
        EXPECT_EQ(counts.SyntaxErrors, c.SyntaxErrors);
        EXPECT_EQ(counts.MissingAlbumFiles, c.MissingAlbumFiles);
        EXPECT_EQ(counts.UnknownLengths, c.UnknownLengths);
        EXPECT_GE(counts.Songs, c.MinSongs);
    }
}
