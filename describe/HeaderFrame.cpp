#include "describe/HeaderFrame.h"

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
