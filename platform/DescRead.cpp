#include "platform/DescRead.h"

#include <cstring>
#include <filesystem>

namespace platform {

namespace {

std::function<void(const std::string&)>& OpenHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

} // namespace

char* TReadBuffer::Reserve(std::size_t size) {
    if (size > FCapacity) {
        std::size_t capacity = FCapacity < 4096 ? 4096 : FCapacity;
        while (capacity < size)
            capacity *= 2;
        auto grown = std::unique_ptr<char[]>(new char[capacity]);
        if (FSize > 0)
            std::memcpy(grown.get(), FData.get(), FSize);
        FData = std::move(grown);
        FCapacity = capacity;
    }
    return FData.get();
}

void SetDescOpenHook(std::function<void(const std::string& path)> hook) {
    OpenHook() = std::move(hook);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return size;
}

bool AnnounceDescOpen(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        return false;
    if (const auto& hook = OpenHook())
        hook(path);
    return true;
}

} // namespace platform
