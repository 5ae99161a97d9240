#include "describe/BlockFile.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::int64_t BlockBytes = 64 * 1024;

} // namespace

TBlockFile::TBlockFile(const std::string& path) {
    FIn.rdbuf()->pubsetbuf(nullptr, 0);
    FIn.open(path, std::ios::binary | std::ios::ate);
    FSize = FIn ? static_cast<std::int64_t>(FIn.tellg()) : -1;
    if (FSize < 0)
        throw EError("cannot open the file");
    for (auto& block : FBlocks)
        block.Bytes = std::make_unique<char[]>(BlockBytes);
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
    FIn.clear();
    FIn.seekg(FPosition);
    FIn.read(block.Bytes.get(), std::min(BlockBytes, FSize - FPosition));
    block.Start = FPosition;
    block.Size = FIn.gcount();
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
        const TBlock* block = BlockAtPosition();
        if (block == nullptr)
            return FIn.bad() ? -1 : copied;
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
