// A file read in large blocks for libmpg123, which reads a frame's header and its body with one
// read each and looks ahead at the next header and back again: read from the file directly, each
// would be a system call. Two blocks are held, so that the tags at the end and the audio at the
// start are read once each, and a look back into a block held costs nothing: a search through
// bytes that are no audio reads each block once however many false frame starts it holds.
#pragma once

#include "platform/SongFile.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TBlockFile {
public:
    // Throws EError when the file cannot be opened or is no regular file.
    explicit TBlockFile(const std::string& path);

    std::int64_t Size() const { return FSize; }

    // Reads like POSIX read: the bytes copied, 0 at the end, -1 on an error.
    std::int64_t Read(char* to, std::size_t count);

    // Moves like POSIX lseek (whence SEEK_SET, SEEK_CUR or SEEK_END): the new position, -1
    // before the start.
    std::int64_t Seek(std::int64_t offset, int whence);

    // The bytes from offset on, fewer at the end of the file.
    std::string ReadAt(std::int64_t offset, std::size_t count);

    // From now on the file reads as if it ended at limit, when it is longer.
    void LimitTo(std::int64_t limit) { FLimit = limit; }
    // Whether a read stopped at that limit.
    bool LimitReached() const { return FLimitReached; }

private:
    struct TBlock {
        std::unique_ptr<char[]> Bytes;
        std::int64_t Start = 0;
        std::int64_t Size = 0;
        std::uint64_t LastUse = 0;
    };

    // The block that holds the position, read into the one used least lately when no block
    // holds it; nullptr at the end of the file or on an error.
    TBlock* BlockAtPosition();
    bool HeldInBlock() const;
    // Reads a large part that no block holds straight into to, after copied bytes.
    std::int64_t ReadPastBlocks(char* to, std::size_t count, std::int64_t copied);

    platform::TSongFile FFile;
    std::int64_t FSize = 0;
    bool FFailed = false;
    std::int64_t FPosition = 0;
    std::array<TBlock, 2> FBlocks;
    std::uint64_t FUses = 0;
    std::int64_t FLimit = INT64_MAX;
    bool FLimitReached = false;
};
