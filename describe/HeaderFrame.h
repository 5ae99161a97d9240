// The counts a Xing, Info or VBRI header frame gives of a whole MP3 stream, and whether they fit
// the file that holds it: a download cut short keeps the header of the whole song.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct THeaderFrame {
    // The stream's frames and bytes (with the header frame itself), and the length they make.
    std::uint32_t Frames = 0;
    std::uint32_t Bytes = 0;
    double Seconds = 0;
    // For a Xing or Info frame: the samples the stream decodes to, the encoder's delay and
    // padding that a LAME tag gives taken off the way libmpg123 takes them off, and their rate;
    // both 0 when only a count of the frames tells (a VBRI frame, which libmpg123 does not read,
    // free format, or a frame too small to hold what libmpg123 looks for).
    std::uint64_t Samples = 0;
    std::uint32_t Rate = 0;
};

// The size of the ID3v2 tag that head (the first 10 bytes of a file or more) starts with, with
// its footer; 0 without one.
std::uint64_t Id3v2Bytes(std::string_view head);

// The bytes that an APEv2 and an ID3v1 tag take at the end of a file, from tail (the file's last
// 160 bytes or all of a smaller file).
std::uint64_t TrailingTagBytes(std::string_view tail);

// The counts of the header frame that frame starts with (a layer III frame and the bytes after
// it, 200 suffice), when there is one and it gives both the frames and the bytes.
std::optional<THeaderFrame> ParseHeaderFrame(std::string_view frame);

// Whether the header's byte count matches the audio bytes the file holds within a quarter of a
// second of audio, so that its length can be trusted without counting the frames.
bool HeaderFits(const THeaderFrame& header, std::uint64_t audioBytes);
