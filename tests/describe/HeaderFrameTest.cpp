// The reading of Xing, Info and VBRI header frames and of the tags around the audio, on frames
// built byte by byte.
#include "describe/HeaderFrame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

void AppendBig(std::string& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
}

// A layer III frame header and its side information, then a header frame of the given kind.
std::string Frame(const std::string& header, int sideInfo, const std::string& kind,
                  std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes) {
    std::string frame = header + std::string(static_cast<std::size_t>(sideInfo), '\0');
    if (kind == "VBRI") {
        frame.resize(36);
        frame += "VBRI" + std::string(6, '\0');
        AppendBig(frame, bytes);
        AppendBig(frame, frames);
    } else {
        frame += kind;
        AppendBig(frame, flags);
        AppendBig(frame, frames);
        AppendBig(frame, bytes);
    }
    return frame + std::string(100, '\0');
}

TEST(HeaderFrame, CountsAndLengthOfEachKind) {
    const std::string mpeg1Stereo("\xFF\xFB\x90\x64", 4);
    const std::string mpeg1Mono("\xFF\xFB\x90\xC4", 4);
    const std::string mpeg2Stereo("\xFF\xF3\x90\x64", 4); // 22.05 kHz
    const std::string mpeg25Mono("\xFF\xE3\x94\xC4", 4);  // 12 kHz
    const std::string layer2("\xFF\xFD\x90\x64", 4);
    struct TCase {
        std::string Bytes;
        std::optional<std::uint32_t> Frames;
        double Seconds = 0;
    } cases[] = {
        {Frame(mpeg1Stereo, 32, "Xing", 15, 384, 50004), 384, 384 * 1152 / 44100.0},
        {Frame(mpeg1Mono, 17, "Info", 3, 100, 9000), 100, 100 * 1152 / 44100.0},
        {Frame(mpeg2Stereo, 17, "Xing", 15, 200, 20000), 200, 200 * 576 / 22050.0},
        {Frame(mpeg25Mono, 9, "Xing", 15, 50, 3000), 50, 50 * 576 / 12000.0},
        {Frame(mpeg1Stereo, 32, "VBRI", 0, 384, 50004), 384, 384 * 1152 / 44100.0},
        // No byte count, no frame count, the wrong side information, not layer III, no sync.
        {Frame(mpeg1Stereo, 32, "Xing", 1, 384, 50004), std::nullopt},
        {Frame(mpeg1Stereo, 32, "Xing", 15, 0, 50004), std::nullopt},
        {Frame(mpeg1Stereo, 17, "Xing", 15, 384, 50004), std::nullopt},
        {Frame(layer2, 32, "Xing", 15, 384, 50004), std::nullopt},
        {"ID3" + Frame(mpeg1Stereo, 32, "Xing", 15, 384, 50004), std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& test : cases) {
        const auto header = ParseHeaderFrame(test.Bytes);
        ASSERT_EQ(header.has_value(), test.Frames.has_value()) << test.Bytes.size();
        if (header) {
            EXPECT_EQ(header->Frames, *test.Frames);
            EXPECT_NEAR(header->Seconds, test.Seconds, 1e-9);
        }
    }
}

TEST(HeaderFrame, TagsAroundTheAudio) {
    EXPECT_EQ(Id3v2Bytes(std::string("ID3\x03\x00\x00\x00\x00\x02\x01", 10)), 10u + 257);
    EXPECT_EQ(Id3v2Bytes(std::string("ID3\x04\x00\x10\x00\x00\x00\x05", 10)), 10u + 5 + 10);
    EXPECT_EQ(Id3v2Bytes(std::string("ID3\x03\x00\x00\x00\x00\x80\x01", 10)), 0u);
    EXPECT_EQ(Id3v2Bytes("ID3"), 0u);
    EXPECT_EQ(Id3v2Bytes(std::string(10, '\xFF')), 0u);

    const std::string id3v1 = "TAG" + std::string(125, ' ');
    // An APEv2 footer of 100 bytes of items and footer, with a header of 32 before them.
    std::string ape = "APETAGEX";
    ape += std::string("\xD0\x07\x00\x00\x64\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x80", 16);
    ape += std::string(8, '\0');
    const std::string audio(200, '\x55');
    EXPECT_EQ(TrailingTagBytes(audio), 0u);
    EXPECT_EQ(TrailingTagBytes(audio + id3v1), 128u);
    EXPECT_EQ(TrailingTagBytes(audio + ape), 132u);
    EXPECT_EQ(TrailingTagBytes(audio + ape + id3v1), 260u);
    EXPECT_EQ(TrailingTagBytes(id3v1.substr(0, 100)), 0u);
}

// The samples a Xing or Info frame stands for, as libmpg123 decodes them: its own delay of 529
// samples and the encoder's delay off the start, the encoder's padding off the end only beyond
// that delay. Where the frame cannot tell, only a count of the frames can.
TEST(HeaderFrame, SamplesAsTheDecoderGivesThem) {
    const std::string mpeg1Stereo("\xFF\xFB\x90\x64", 4); // 128 kbit/s, 417 bytes
    const std::string freeFormat("\xFF\xFB\x00\x64", 4);
    // MPEG-2.5, 8 kHz, 8 kbit/s: 72 bytes, too few for a table of contents and a LAME tag.
    const std::string tiny("\xFF\xE3\x18\xC4", 4);
    // Frames and bytes only, then a LAME tag (when delay or padding is given): its version,
    // eleven bytes of other facts, then the delay and padding in twelve bits each.
    const auto frame = [](const std::string& header, int sideInfo, int delay, int padding) {
        std::string bytes =
            Frame(header, sideInfo, "Info", 3, 100, 41700).substr(0, 4 + sideInfo + 16);
        if (delay >= 0)
            bytes += "LAME3.100" + std::string(12, '\x01') + static_cast<char>(delay >> 4) +
                     static_cast<char>((delay & 15) << 4 | padding >> 8) +
                     static_cast<char>(padding & 0xFF);
        return bytes + std::string(200 - bytes.size(), '\0');
    };
    std::string sideInfoUsed = frame(mpeg1Stereo, 32, 576, 1200);
    sideInfoUsed[10] = 1;
    const struct {
        std::string Bytes;
        std::uint64_t Samples;
    } cases[] = {
        {frame(mpeg1Stereo, 32, 576, 1200), 100 * 1152 - 576 - 1200},
        {frame(mpeg1Stereo, 32, 576, 300), 100 * 1152 - 576 - 529},
        {frame(mpeg1Stereo, 32, -1, 0), 100 * 1152 - 529},
        {sideInfoUsed, 0},
        {frame(freeFormat, 32, 576, 1200), 0},
        {Frame(tiny, 9, "Info", 15, 100, 41700) + std::string(100, '\0'), 0},
        {Frame(mpeg1Stereo, 32, "VBRI", 0, 100, 41700), 0},
    };
    for (const auto& test : cases) {
        const auto header = ParseHeaderFrame(test.Bytes);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->Samples, test.Samples) << &test - cases;
        EXPECT_EQ(header->Rate, test.Samples > 0 ? 44100u : 0u) << &test - cases;
    }
}

// A header fits the file within a quarter of a second of its audio: an interrupted download,
// and a file with more than its header counts, are counted frame by frame instead.
TEST(HeaderFrame, FitsOnlyAFileOfItsOwnSize) {
    const THeaderFrame header{1000, 1000000, 100.0}; // 10000 bytes a second
    EXPECT_TRUE(HeaderFits(header, 1000000));
    EXPECT_TRUE(HeaderFits(header, 1000000 - 2500));
    EXPECT_TRUE(HeaderFits(header, 1000000 + 2500));
    EXPECT_FALSE(HeaderFits(header, 1000000 - 2600));
    EXPECT_FALSE(HeaderFits(header, 1000000 + 2600));
    EXPECT_FALSE(HeaderFits(header, 8000));
}

} // namespace
