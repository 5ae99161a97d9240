#include "describe/HeaderFrame.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) << 24 | Byte(bytes, at + 1) << 16 | Byte(bytes, at + 2) << 8 |
           Byte(bytes, at + 3);
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at + 3) << 24 | Byte(bytes, at + 2) << 16 | Byte(bytes, at + 1) << 8 |
           Byte(bytes, at);
}

// The bytes of audio a header's length may differ by from the file's and still be trusted.
constexpr double ToleratedSeconds = 0.25;

// The samples libmpg123 holds back at the start of a stream as its decoder's own delay.
constexpr std::int64_t DecoderDelay = 529;

// Layer III bit rates in kbit/s by index, for MPEG-1 and for MPEG-2 and 2.5; 0 is free format,
// and the last index is no bit rate.
constexpr std::array<std::uint32_t, 16> Mpeg1BitRates = {0,   32,  40,  48,  56,  64,  80,  96,
                                                         112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<std::uint32_t, 16> Mpeg2BitRates = {0,  8,  16, 24,  32,  40,  48,  56,
                                                         64, 80, 96, 112, 128, 144, 160, 0};

// The samples libmpg123 gives for the stream a Xing or Info frame heads (xing: where its name
// starts in frame; flags: its flags), or 0 where libmpg123 would have to read on to tell. It
// takes the tag only when the side information before it is zero; a LAME tag after the fields
// gives the encoder's delay and padding, which it takes off at the start and, beyond its own
// delay, at the end.
std::uint64_t GaplessSamples(std::string_view frame, std::size_t xing, std::uint32_t flags,
                             std::uint32_t frames, std::uint32_t samplesPerFrame,
                             std::uint32_t rate, bool mpeg1) {
    const std::size_t bitRateIndex = Byte(frame, 2) >> 4;
    const std::uint32_t bitRate = mpeg1 ? Mpeg1BitRates[bitRateIndex] : Mpeg2BitRates[bitRateIndex];
    if (bitRate == 0)
        return 0;
    const std::uint32_t padding = (Byte(frame, 2) >> 1) & 1;
    const std::size_t frameBytes = (mpeg1 ? 144000 : 72000) * bitRate / rate + padding;
    for (std::size_t i = 4 + 2; i < xing; ++i)
        if (Byte(frame, i) != 0)
            return 0;
    std::size_t lame = xing + 8 + 4 + 4 + ((flags & 4) != 0 ? 100 : 0) + ((flags & 8) != 0 ? 4 : 0);
    if (frameBytes < lame + 24 || frame.size() < lame + 24)
        return 0;
    const std::int64_t total = static_cast<std::int64_t>(frames) * samplesPerFrame;
    std::int64_t begin = DecoderDelay;
    std::int64_t end = total + DecoderDelay;
    if (Byte(frame, lame) != 0) {
        begin += Byte(frame, lame + 21) << 4 | Byte(frame, lame + 22) >> 4;
        end -= (Byte(frame, lame + 22) << 8 | Byte(frame, lame + 23)) & 0xFFF;
    }
    const std::int64_t last = std::min(total, end);
    return last > begin ? static_cast<std::uint64_t>(last - begin) : 0;
}

} // namespace

std::uint64_t Id3v2Bytes(std::string_view head) {
    if (head.size() < 10 || head.substr(0, 3) != "ID3")
        return 0;
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) {
        if ((Byte(head, i) & 0x80) != 0)
            return 0;
        size = size << 7 | Byte(head, i);
    }
    const bool footer = (Byte(head, 5) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

std::uint64_t TrailingTagBytes(std::string_view tail) {
    std::uint64_t bytes = 0;
    if (tail.size() >= 128 && tail.substr(tail.size() - 128, 3) == "TAG") {
        bytes = 128;
        tail.remove_suffix(128);
    }
    if (tail.size() >= 32 && tail.substr(tail.size() - 32, 8) == "APETAGEX") {
        const std::size_t footer = tail.size() - 32;
        const bool header = (LittleEndian(tail, footer + 20) & 0x80000000u) != 0;
        bytes += LittleEndian(tail, footer + 12) + (header ? 32 : 0);
    }
    return bytes;
}

std::optional<THeaderFrame> ParseHeaderFrame(std::string_view frame) {
    if (frame.size() < 4 || Byte(frame, 0) != 0xFF || (Byte(frame, 1) & 0xE0) != 0xE0)
        return std::nullopt;
    const std::uint32_t version = (Byte(frame, 1) >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const std::uint32_t layer = (Byte(frame, 1) >> 1) & 3;   // 1: layer III
    const std::uint32_t rateIndex = (Byte(frame, 2) >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3 || (Byte(frame, 2) >> 4) == 15)
        return std::nullopt;
    static constexpr std::uint32_t Rates[] = {44100, 48000, 32000};
    const std::uint32_t rate = Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    const std::uint32_t samplesPerFrame = version == 3 ? 1152 : 576;
    const bool mono = (Byte(frame, 3) >> 6) == 3;
    const std::size_t sideInfo = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);

    THeaderFrame header;
    const std::size_t xing = 4 + sideInfo;
    const std::size_t vbri = 36;
    if (frame.size() >= xing + 16 &&
        (frame.substr(xing, 4) == "Xing" || frame.substr(xing, 4) == "Info")) {
        if ((BigEndian(frame, xing + 4) & 3) != 3)
            return std::nullopt;
        header.Frames = BigEndian(frame, xing + 8);
        header.Bytes = BigEndian(frame, xing + 12);
        header.Samples = GaplessSamples(frame, xing, BigEndian(frame, xing + 4), header.Frames,
                                        samplesPerFrame, rate, version == 3);
        header.Rate = header.Samples > 0 ? rate : 0;
    } else if (frame.size() >= vbri + 18 && frame.substr(vbri, 4) == "VBRI") {
        header.Bytes = BigEndian(frame, vbri + 10);
        header.Frames = BigEndian(frame, vbri + 14);
    } else {
        return std::nullopt;
    }
    if (header.Frames == 0 || header.Bytes == 0)
        return std::nullopt;
    header.Seconds = static_cast<double>(header.Frames) * samplesPerFrame / rate;
    return header;
}

bool HeaderFits(const THeaderFrame& header, std::uint64_t audioBytes) {
    const double bytesPerSecond = header.Bytes / header.Seconds;
    const double difference =
        std::abs(static_cast<double>(audioBytes) - static_cast<double>(header.Bytes));
    return difference <= bytesPerSecond * ToleratedSeconds;
}
