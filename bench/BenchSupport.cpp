#include "bench/BenchSupport.h"

#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <psapi.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Bench {

namespace {

double ElapsedMs(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(stop - start).count();
}

} // namespace

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto middle = times.size() / 2;
    return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

double MedianMs(int repeats, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(ElapsedMs(action));
    return Median(std::move(times));
}

TComparedTimes CompareMedians(int repeats, const std::function<void()>& floor,
                              const std::function<void()>& action,
                              const std::function<void()>& prepare) {
    std::vector<double> measured;
    std::vector<double> floors;
    for (int i = 0; i < repeats; ++i) {
        if (prepare)
            prepare();
        floors.push_back(ElapsedMs(floor));
        if (prepare)
            prepare();
        measured.push_back(ElapsedMs(action));
    }
    return {Median(std::move(measured)), Median(std::move(floors))};
}

double PeakMemoryMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
}

bool DropPageCache() {
#ifdef _WIN32
    return false;
#else
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3\n";
    control.flush();
    return control.good();
#endif
}

TScratchFolder::TScratchFolder(const std::filesystem::path& under) {
    std::random_device seed;
    const auto base = under.empty() ? std::filesystem::temp_directory_path() : under;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("tunestead-bench-" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate)) {
            FPath = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a folder below " + base.string());
}

TScratchFolder::~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

namespace {

// The file-name fields of a description file's lines, each joined to the directory.
std::vector<std::string> ChildDirectories(const std::string& directory) {
    std::vector<std::string> children;
    Catalogue::TDescFile file;
    if (!file.Open(Catalogue::DescFilePath(directory)))
        return children;
    auto lines = file.Lines();
    std::string_view line;
    while (lines.NextLine(line))
        children.push_back(Catalogue::JoinPath(directory, Catalogue::ExtractDir(line)));
    return children;
}

} // namespace

std::vector<std::string> CatalogueWalkFiles(const std::string& root) {
    std::vector<std::string> files{Catalogue::DescFilePath(root)};
    for (const auto& category : ChildDirectories(root)) {
        files.push_back(Catalogue::DescFilePath(category));
        for (const auto& album : ChildDirectories(category))
            files.push_back(Catalogue::DescFilePath(album));
    }
    return files;
}

std::vector<std::string> SearchWalkFiles(const std::string& base) {
    std::vector<std::string> files{Catalogue::DescFilePath(base)};
    for (const auto& category : ChildDirectories(base))
        files.push_back(Catalogue::DescFilePath(category));
    return files;
}

std::int64_t ReadFilesBare(const std::vector<std::string>& files) {
    std::vector<char> buffer(64 * 1024);
    std::int64_t total = 0;
    for (const auto& path : files) {
#ifdef _WIN32
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        if (static_cast<std::size_t>(size.QuadPart) > buffer.size())
            buffer.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (ReadFile(file, buffer.data(), static_cast<DWORD>(size.QuadPart), &got, nullptr))
            total += got;
        CloseHandle(file);
#else
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0) {
            const auto size = static_cast<std::size_t>(info.st_size);
            if (size > buffer.size())
                buffer.resize(size);
            const ssize_t got = ::read(fd, buffer.data(), size);
            if (got > 0)
                total += got;
        }
        ::close(fd);
#endif
    }
    return total;
}

} // namespace Bench
