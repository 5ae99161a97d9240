// Measuring helpers of the benchmark: medians of repeated timings, the process's peak
// memory, a private folder for settings and catalogues, and the bare file reader that
// gives the physical floor of a catalogue reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace Bench {

// The middle value (of an even count, the mean of the two middle ones).
double Median(std::vector<double> times);

// Runs action repeats times and returns the median duration in milliseconds.
double MedianMs(int repeats, const std::function<void()>& action);

// The medians of a measured action and of its floor, in milliseconds.
struct TComparedTimes {
    double Measured = 0;
    double Floor = 0;
    double Ratio() const { return Measured / Floor; }
};

// Runs the floor and the action in turn, repeats times each, so that both meet the same
// load of the machine, and returns both medians. prepare, when set, runs before each of them
// outside the timing.
TComparedTimes CompareMedians(int repeats, const std::function<void()>& floor,
                              const std::function<void()>& action,
                              const std::function<void()>& prepare = {});

// Writes every changed file to the disk and empties the system's page cache, so that the next
// reading of a file comes from the disk; false when the system does not allow it (it needs
// root rights on Linux).
bool DropPageCache();

// The process's peak resident memory in MiB (VmHWM), or -1 when the system does not tell.
double PeakMemoryMiB();

// A fresh folder below the system's temporary folder (or below base), removed with its content
// at the end.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::filesystem::path& base = {});
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

// Every description file a full reading of the root opens, in the reading's order: the
// root file, then each category file followed by the files of its albums.
std::vector<std::string> CatalogueWalkFiles(const std::string& root);

// The root file and its category files, in the search's order.
std::vector<std::string> SearchWalkFiles(const std::string& base);

// Opens, reads whole and closes each file with a buffer kept between files; returns the
// bytes read so that the work cannot be left out.
std::int64_t ReadFilesBare(const std::vector<std::string>& files);

} // namespace Bench
