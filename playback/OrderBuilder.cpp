#include "playback/OrderBuilder.h"

#include "catalogue/CataloguePath.h"

#include <utility>

namespace Playback {

namespace {

constexpr std::size_t MaxFileNameLength = 255;
constexpr std::size_t KeySuffixLength = 6;

// Exchanges two positions, each drawn uniformly from first..last, rounds times.
void ShuffleRange(std::vector<std::string>& paths, std::size_t first, std::size_t last,
                  std::size_t rounds, TRandomSource& random) {
    const int span = static_cast<int>(last - first + 1);
    for (std::size_t round = 0; round < rounds; ++round) {
        const std::size_t a = first + static_cast<std::size_t>(random.Random(span));
        const std::size_t b = first + static_cast<std::size_t>(random.Random(span));
        std::swap(paths[a], paths[b]);
    }
}

// Every run of neighbouring paths with equal keys is shuffled within itself. The number
// of rounds, 2 * j - i + 1 for the run i..j, grows with the run's place in the list.
void ShuffleRuns(std::vector<std::string>& paths, TRandomSource& random) {
    std::size_t i = 0;
    while (i < paths.size()) {
        const std::string key = LocalRandomKey(paths[i]);
        std::size_t j = i;
        while (j + 1 < paths.size() && LocalRandomKey(paths[j + 1]) == key)
            ++j;
        ShuffleRange(paths, i, j, 2 * j - i + 1, random);
        i = j + 1;
    }
}

} // namespace

int TStdRandom::Random(int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(FEngine);
}

std::uint32_t TimeOfDaySeed(std::chrono::system_clock::time_point now) {
    constexpr std::int64_t millisecondsPerDay = 24LL * 60 * 60 * 1000;
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::int64_t ofDay =
        ((sinceEpoch % millisecondsPerDay) + millisecondsPerDay) % millisecondsPerDay;
    return static_cast<std::uint32_t>(ofDay);
}

std::string LocalRandomKey(std::string_view path) {
    std::string_view name = path.substr(Catalogue::DirectoryPart(path).size());
    name = name.substr(0, MaxFileNameLength);
    if (name.size() <= KeySuffixLength)
        return {};
    return std::string(name.substr(0, name.size() - KeySuffixLength));
}

std::vector<std::string> BuildPlayOrder(const std::vector<TPlaylistEntry>& rows, TPlayMode mode,
                                        TRandomSource& random) {
    random.Randomize(TimeOfDaySeed(std::chrono::system_clock::now()));
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    for (const auto& row : rows)
        if (!IsAlbumHeader(row.Caption))
            paths.push_back(row.Path);
    if (paths.empty())
        return paths;
    const std::size_t last = paths.size() - 1;
    if (mode == pmFullRandom)
        ShuffleRange(paths, 0, last, 2 * last + 1, random);
    else if (mode == pmLocalRandom)
        ShuffleRuns(paths, random);
    return paths;
}

std::vector<std::string> BuildPlayOrder(const std::vector<TPlaylistEntry>& rows, TPlayMode mode) {
    static TStdRandom programRandom;
    return BuildPlayOrder(rows, mode, programRandom);
}

} // namespace Playback
