#include "describe/AudioScan.h"

#include "describe/HeaderFrame.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mpg123.h>
#include <string>

namespace {

// libmpg123 reads a frame's header and its body with one read each, and looks ahead at the next
// header and back again; its own reading would make system calls for each. This file is read in
// large blocks instead, and a look back into the block held costs nothing: the search through
// bytes that are no audio reads each block once however many false frame starts it holds.
constexpr std::size_t ReadBlock = 64 * 1024;

class TBlockFile {
public:
    explicit TBlockFile(const std::string& path) {
        FIn.rdbuf()->pubsetbuf(nullptr, 0);
        FIn.open(path, std::ios::binary | std::ios::ate);
        FSize = FIn ? static_cast<std::int64_t>(FIn.tellg()) : -1;
        if (FSize < 0)
            throw EError("cannot open the file");
    }

    // Reads like POSIX read: the bytes copied, 0 at the end, -1 on an error.
    std::int64_t Read(char* to, std::size_t count) {
        std::int64_t copied = 0;
        while (count > 0) {
            if (FPosition < FBlockStart || FPosition >= FBlockStart + FBlockSize) {
                if (!Fill())
                    return FIn.bad() ? -1 : copied;
            }
            const auto at = static_cast<std::size_t>(FPosition - FBlockStart);
            const std::size_t part = std::min(count, static_cast<std::size_t>(FBlockSize) - at);
            std::memcpy(to, FBlock.get() + at, part);
            to += part;
            count -= part;
            copied += static_cast<std::int64_t>(part);
            FPosition += static_cast<std::int64_t>(part);
        }
        return copied;
    }

    std::int64_t Size() const { return FSize; }

    // The bytes from offset on, fewer at the end of the file.
    std::string ReadAt(std::int64_t offset, std::size_t count) {
        std::string bytes(count, '\0');
        Seek(offset, SEEK_SET);
        const auto read = Read(bytes.data(), count);
        bytes.resize(read < 0 ? 0 : static_cast<std::size_t>(read));
        return bytes;
    }

    // Moves like POSIX lseek: the new position, -1 before the start.
    std::int64_t Seek(std::int64_t offset, int whence) {
        const std::int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? FPosition : FSize;
        if (base + offset < 0)
            return -1;
        FPosition = base + offset;
        return FPosition;
    }

private:
    // Reads the block that starts at the position; false at the end of the file or on an error.
    bool Fill() {
        FBlockSize = 0;
        if (FPosition >= FSize)
            return false;
        FIn.clear();
        FIn.seekg(FPosition);
        FIn.read(FBlock.get(), static_cast<std::streamsize>(ReadBlock));
        FBlockStart = FPosition;
        FBlockSize = FIn.gcount();
        return FBlockSize > 0;
    }

    std::ifstream FIn;
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;
    std::unique_ptr<char[]> FBlock = std::make_unique<char[]>(ReadBlock);
    std::int64_t FBlockStart = 0;
    std::int64_t FBlockSize = 0;
};

mpg123_ssize_t ReadBlockFile(void* handle, void* buffer, std::size_t count) {
    return static_cast<mpg123_ssize_t>(
        static_cast<TBlockFile*>(handle)->Read(static_cast<char*>(buffer), count));
}

off_t SeekBlockFile(void* handle, off_t offset, int whence) {
    return static_cast<off_t>(static_cast<TBlockFile*>(handle)->Seek(offset, whence));
}

// Whether the file starts its audio with a Xing, Info or VBRI header frame whose byte count
// matches the audio the file holds, between an ID3v2 tag and APEv2 and ID3v1 tags.
bool HeaderFrameFits(TBlockFile& file) {
    const std::int64_t size = file.Size();
    const std::string tail = file.ReadAt(std::max<std::int64_t>(size - 160, 0), 160);
    const auto start = static_cast<std::int64_t>(Id3v2Bytes(file.ReadAt(0, 10)));
    const auto header = ParseHeaderFrame(file.ReadAt(start, 200));
    const auto audio = size - start - static_cast<std::int64_t>(TrailingTagBytes(tail));
    return header && audio > 0 && HeaderFits(*header, static_cast<std::uint64_t>(audio));
}

struct TDeleteHandle {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};

// One decoder for each thread, kept from file to file: making one costs as much as reading a
// short song's tags.
mpg123_handle* ThreadDecoder() {
    thread_local std::unique_ptr<mpg123_handle, TDeleteHandle> decoder;
    if (decoder)
        return decoder.get();
    int result = MPG123_OK;
    decoder.reset(mpg123_new(nullptr, &result));
    if (!decoder)
        throw EError(mpg123_plain_strerror(result));
    // Quiet, and an ID3v2 tag is skipped by its size without being parsed: TagLib reads tags.
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2, 0);
    if (mpg123_replace_reader_handle(decoder.get(), ReadBlockFile, SeekBlockFile, nullptr) !=
        MPG123_OK) {
        const std::string problem = mpg123_strerror(decoder.get());
        decoder.reset();
        throw EError(problem);
    }
    return decoder.get();
}

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

std::int64_t ScanAudioLengthMs(const std::string& path) {
    TBlockFile file(path);
    const bool headerFits = HeaderFrameFits(file);
    file.Seek(0, SEEK_SET);
    mpg123_handle* decoder = ThreadDecoder();
    const TOpenStream stream(decoder, file);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    const int result = mpg123_getformat(decoder, &rate, &channels, &encoding);
    if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) || rate <= 0)
        throw EError("no MPEG audio found");
    // Without a header frame that fits, the frames are counted: libmpg123 would otherwise
    // estimate the length from the first frame's bit rate or take the header's word for it.
    if (!headerFits && mpg123_scan(decoder) != MPG123_OK)
        throw EError(mpg123_strerror(decoder));
    const off_t samples = mpg123_length(decoder);
    if (samples < 0)
        throw EError("no MPEG audio found");
    return static_cast<std::int64_t>(samples) * 1000 / rate;
}
