#include "describe/BlockFile.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Enough for the first frames and the ID3v2 tag of most songs; a larger tag (cover art) is read
// past the blocks in one call.
constexpr std::int64_t BlockBytes = 16 * 1024;

} // namespace

TBlockFile::TBlockFile(const std::string& path)
    : FFile(path), FSize(static_cast<std::int64_t>(FFile.Size())) {
    for (auto& block : FBlocks)
        block.Bytes = std::make_unique_for_overwrite<char[]>(BlockBytes);
}

TBlockFile::TBlock* TBlockFile::BlockAtPosition() {
    ++FUses;
    for (auto& block : FBlocks)
        if (FPosition >= block.Start && FPosition < block.Start + block.Size) {
            block.LastUse = FUses;
            return &block;
        }
    if (FPosition >= FSize)
        return nullptr;
    auto& block =
        *std::min_element(FBlocks.begin(), FBlocks.end(),
                          [](const auto& a, const auto& b) { return a.LastUse < b.LastUse; });
    const auto read =
        FFile.ReadAt(static_cast<std::uint64_t>(FPosition), block.Bytes.get(),
                     static_cast<std::size_t>(std::min(BlockBytes, FSize - FPosition)));
    FFailed = read < 0;
    block.Start = FPosition;
    block.Size = std::max<std::int64_t>(read, 0);
    block.LastUse = FUses;
    return block.Size > 0 ? &block : nullptr;
}

std::int64_t TBlockFile::Read(char* to, std::size_t count) {
    std::int64_t copied = 0;
    if (FLimit < FSize && FPosition + static_cast<std::int64_t>(count) > FLimit) {
        FLimitReached = true;
        count = FPosition >= FLimit ? 0 : static_cast<std::size_t>(FLimit - FPosition);
    }
    while (count > 0) {
        if (count >= static_cast<std::size_t>(BlockBytes) && !HeldInBlock())
            return ReadPastBlocks(to, count, copied);
        const TBlock* block = BlockAtPosition();
        if (block == nullptr)
            return FFailed ? -1 : copied;
        const auto at = static_cast<std::size_t>(FPosition - block->Start);
        const std::size_t part = std::min(count, static_cast<std::size_t>(block->Size) - at);
        std::memcpy(to, block->Bytes.get() + at, part);
        to += part;
        count -= part;
        copied += static_cast<std::int64_t>(part);
        FPosition += static_cast<std::int64_t>(part);
    }
    return copied;
}

bool TBlockFile::HeldInBlock() const {
    return std::any_of(FBlocks.begin(), FBlocks.end(), [&](const TBlock& block) {
        return FPosition >= block.Start && FPosition < block.Start + block.Size;
    });
}

std::int64_t TBlockFile::ReadPastBlocks(char* to, std::size_t count, std::int64_t copied) {
    const auto read = FFile.ReadAt(static_cast<std::uint64_t>(FPosition), to, count);
    if (read < 0)
        return -1;
    FPosition += read;
    return copied + read;
}

std::int64_t TBlockFile::Seek(std::int64_t offset, int whence) {
    const std::int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? FPosition : FSize;
    if (base + offset < 0)
        return -1;
    FPosition = base + offset;
    return FPosition;
}

std::string TBlockFile::ReadAt(std::int64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    Seek(offset, SEEK_SET);
    const auto read = Read(bytes.data(), count);
    bytes.resize(read < 0 ? 0 : static_cast<std::size_t>(read));
    return bytes;
}
