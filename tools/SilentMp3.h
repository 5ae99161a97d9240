// Silent MPEG-1 Layer III streams: the bytes of short, playable demo song files.
#pragma once

#include "platform/Errors.h"

#include <array>
#include <cstdint>
#include <string>

enum class TChannelMode : std::uint8_t {
    cmStereo = 0,
    cmJointStereo = 1,
    cmDualChannel = 2,
    cmMono = 3
};

struct TMp3Format {
    int BitRate = 128000;   // bits per second
    int SampleRate = 44100; // samples per second
    TChannelMode ChannelMode = TChannelMode::cmStereo;
};

// Every Layer III frame carries 1152 samples per channel.
inline constexpr int Mp3SamplesPerFrame = 1152;

// The bit-rate index of an MPEG-1 Layer III header (1 to 14).
inline int Mp3BitRateIndex(int bitRate) {
    constexpr std::array<int, 15> rates = {0,      32000,  40000,  48000,  56000,
                                           64000,  80000,  96000,  112000, 128000,
                                           160000, 192000, 224000, 256000, 320000};
    for (int index = 1; index < static_cast<int>(rates.size()); ++index)
        if (rates[index] == bitRate)
            return index;
    throw EError("Unsupported MPEG-1 Layer III bit rate " + std::to_string(bitRate));
}

// The sample-rate index of an MPEG-1 header (0 to 2).
inline int Mp3SampleRateIndex(int sampleRate) {
    switch (sampleRate) {
    case 44100:
        return 0;
    case 48000:
        return 1;
    case 32000:
        return 2;
    default:
        throw EError("Unsupported MPEG-1 sample rate " + std::to_string(sampleRate));
    }
}

// The four header bytes: 11 sync bits, MPEG-1, Layer III, no CRC, the rate indexes, the
// padding bit, no private bit, the channel mode, no mode extension, not copyrighted, original,
// no emphasis. For 128 kbit/s at 44.1 kHz in stereo: FF FB 90 04 (FF FB 92 04 when padded).
inline std::array<std::uint8_t, 4> Mp3FrameHeader(const TMp3Format& format, bool padded) {
    const auto bitRateIndex = static_cast<unsigned>(Mp3BitRateIndex(format.BitRate));
    const auto sampleRateIndex = static_cast<unsigned>(Mp3SampleRateIndex(format.SampleRate));
    const auto mode = static_cast<unsigned>(format.ChannelMode);
    return {0xFF, 0xFB,
            static_cast<std::uint8_t>(bitRateIndex << 4 | sampleRateIndex << 2 |
                                      (padded ? 1u : 0u) << 1),
            static_cast<std::uint8_t>(mode << 6 | 0x04u)};
}

// Bytes of one frame, header included: 144 * bit rate / sample rate, one more when padded.
inline int Mp3FrameLength(const TMp3Format& format, bool padded) {
    return 144 * format.BitRate / format.SampleRate + (padded ? 1 : 0);
}

// Frames needed for at least the given play time.
inline int Mp3FrameCount(const TMp3Format& format, int milliseconds) {
    const long long samples = static_cast<long long>(milliseconds) * format.SampleRate;
    const long long perFrame = 1000LL * Mp3SamplesPerFrame;
    return static_cast<int>((samples + perFrame - 1) / perFrame);
}

// A stream of frameCount silent frames without any tag. After each header the side information
// is all zero bits: every granule has part2_3_length 0, so no spectral value is coded and the
// decoder outputs silence; the rest of the frame is zero filler. Frames are padded as encoders
// do, whenever the fractional bytes add up to one, so the stream keeps its exact bit rate.
inline std::string SilentMp3(const TMp3Format& format, int frameCount) {
    const long long fraction = 144LL * format.BitRate % format.SampleRate;
    long long carried = 0;
    std::string stream;
    for (int frame = 0; frame < frameCount; ++frame) {
        carried += fraction;
        const bool padded = carried >= format.SampleRate;
        if (padded)
            carried -= format.SampleRate;
        const auto header = Mp3FrameHeader(format, padded);
        stream.append(header.begin(), header.end());
        stream.append(static_cast<std::size_t>(Mp3FrameLength(format, padded)) - header.size(),
                      '\0');
    }
    return stream;
}
