#include "describe/AudioScan.h"

#include "describe/BlockFile.h"
#include "describe/HeaderFrame.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <mpg123.h>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

mpg123_ssize_t ReadBlockFile(void* handle, void* buffer, std::size_t count) {
    return static_cast<mpg123_ssize_t>(
        static_cast<TBlockFile*>(handle)->Read(static_cast<char*>(buffer), count));
}

off_t SeekBlockFile(void* handle, off_t offset, int whence) {
    return static_cast<off_t>(static_cast<TBlockFile*>(handle)->Seek(offset, whence));
}

// Where the audio lies between an ID3v2 tag and APEv2 and ID3v1 tags, and whether it starts
// with a Xing or Info header frame whose byte count matches it and that tells the samples.
struct TAudioSpan {
    std::int64_t Start = 0;
    std::int64_t End = 0;
    std::optional<THeaderFrame> FittingHeader;
};

TAudioSpan FindAudioSpan(TBlockFile& file) {
    const std::int64_t size = file.Size();
    const std::string tail = file.ReadAt(std::max<std::int64_t>(size - 160, 0), 160);
    TAudioSpan span;
    span.Start = static_cast<std::int64_t>(Id3v2Bytes(file.ReadAt(0, 10)));
    span.End = size - static_cast<std::int64_t>(TrailingTagBytes(tail));
    const auto header = ParseHeaderFrame(file.ReadAt(span.Start, 200));
    if (header && header->Samples > 0 && span.End > span.Start &&
        HeaderFits(*header, static_cast<std::uint64_t>(span.End - span.Start)))
        span.FittingHeader = header;
    return span;
}

// A decoder ready for streams read through a TBlockFile.
mpg123_handle* NewDecoder() {
    int result = MPG123_OK;
    mpg123_handle* decoder = mpg123_new(nullptr, &result);
    if (!decoder)
        throw EError(mpg123_plain_strerror(result));
    // Quiet, and an ID3v2 tag is skipped by its size without being parsed: TagLib reads tags.
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2, 0);
    if (mpg123_replace_reader_handle(decoder, ReadBlockFile, SeekBlockFile, nullptr) != MPG123_OK) {
        const std::string problem = mpg123_strerror(decoder);
        mpg123_delete(decoder);
        throw EError(problem);
    }
    return decoder;
}

// Decoders kept from file to file, one lent to each reading at a time: making one costs as
// much as reading a short song's tags. They are freed at the program's end, not at a reading
// thread's end: MinGW's runtime runs a thread's destructors after freeing its thread storage.
class TDecoderPool {
public:
    TDecoderPool() = default;
    TDecoderPool(const TDecoderPool&) = delete;
    TDecoderPool& operator=(const TDecoderPool&) = delete;
    ~TDecoderPool() {
        for (auto* decoder : FIdle)
            mpg123_delete(decoder);
    }

    mpg123_handle* Take() {
        {
            const std::lock_guard<std::mutex> guard(FLock);
            if (!FIdle.empty()) {
                auto* decoder = FIdle.back();
                FIdle.pop_back();
                return decoder;
            }
        }
        return NewDecoder();
    }

    void GiveBack(mpg123_handle* decoder) {
        const std::lock_guard<std::mutex> guard(FLock);
        FIdle.push_back(decoder);
    }

private:
    std::mutex FLock;
    std::vector<mpg123_handle*> FIdle;
};

// A decoder of the pool for one reading.
class TLentDecoder {
public:
    TLentDecoder() : FDecoder(Pool().Take()) {}
    ~TLentDecoder() { Pool().GiveBack(FDecoder); }
    TLentDecoder(const TLentDecoder&) = delete;
    TLentDecoder& operator=(const TLentDecoder&) = delete;
    mpg123_handle* Get() const { return FDecoder; }

private:
    static TDecoderPool& Pool() {
        static TDecoderPool pool;
        return pool;
    }
    mpg123_handle* FDecoder;
};

// The decoder's stream, closed again when the file has been read.
class TOpenStream {
public:
    TOpenStream(mpg123_handle* decoder, TBlockFile& file) : FDecoder(decoder) {
        if (mpg123_open_handle(decoder, &file) != MPG123_OK)
            throw EError(mpg123_strerror(decoder));
    }
    ~TOpenStream() { mpg123_close(FDecoder); }
    TOpenStream(const TOpenStream&) = delete;
    TOpenStream& operator=(const TOpenStream&) = delete;

private:
    mpg123_handle* FDecoder;
};

} // namespace

std::int64_t ScanAudioLengthMs(const std::string& path, std::int64_t scanBytes) {
    TBlockFile file(path);
    return ScanAudioLengthMs(file, scanBytes);
}

std::int64_t ScanAudioLengthMs(TBlockFile& file, std::int64_t scanBytes) {
    const TAudioSpan span = FindAudioSpan(file);
    // A header frame that fits gives the length as libmpg123 would, without a decoder: making
    // one ready for a stream costs more than all the rest of a song's reading.
    if (const auto& header = span.FittingHeader)
        return static_cast<std::int64_t>(static_cast<double>(header->Samples) * 1000 /
                                         static_cast<double>(header->Rate));
    file.Seek(0, SEEK_SET);
    const TLentDecoder lent;
    mpg123_handle* decoder = lent.Get();
    const TOpenStream stream(decoder, file);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    const int result = mpg123_getformat(decoder, &rate, &channels, &encoding);
    if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) || rate <= 0)
        throw EError("no MPEG audio found");
    // Without a header frame that fits, the frames are counted: libmpg123 would otherwise
    // estimate the length from the first frame's bit rate or take the header's word for it. The
    // count reads no further than scanBytes into the audio; the rest of a longer stream is
    // reckoned at the rate of the frames counted.
    const std::int64_t limit = span.Start + scanBytes;
    file.LimitTo(limit);
    const int scanned = mpg123_scan(decoder);
    // The rest of the file stays readable for the tags, which lie anywhere in it.
    file.LimitTo(INT64_MAX);
    if (scanned != MPG123_OK)
        throw EError(mpg123_strerror(decoder));
    const off_t samples = mpg123_length(decoder);
    if (samples < 0)
        throw EError("no MPEG audio found");
    auto lengthMs = static_cast<double>(samples) * 1000 / static_cast<double>(rate);
    if (file.LimitReached() && span.End > limit)
        lengthMs *= static_cast<double>(span.End - span.Start) / static_cast<double>(scanBytes);
    return static_cast<std::int64_t>(lengthMs);
}
