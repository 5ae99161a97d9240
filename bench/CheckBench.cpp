// Measures the check of a catalogue of 20,000 albums (the check of mp3tunestead-describe)
// against a bare read of the same description files, and against that read plus a look at
// the size of every song file, which the check needs as well.
#include "bench/BenchSupport.h"
#include "bench/GenerateCatalogue.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "describing/DescCheck.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Repeats = 5;
constexpr TCatalogueShape BigCatalogue{200, 100, 15, 1};

// Makes every song file an album's line names, of the size the line gives (sparse: nothing
// is written), and returns their paths.
std::vector<std::string> MakeSongFiles(const std::filesystem::path& root,
                                       const std::vector<std::string>& descFiles) {
    std::vector<std::string> songs;
    Catalogue::TDescFile file;
    for (const auto& descFile : descFiles) {
        const auto folder = std::filesystem::path(descFile).parent_path();
        if (folder.parent_path().parent_path() != root || !file.Open(descFile))
            continue;
        auto lines = file.Lines();
        std::string_view line;
        while (lines.NextLine(line)) {
            const auto size =
                line.size() > 51 ? Catalogue::ParseNumberField(line.substr(51, 10)) : std::nullopt;
            if (!size)
                break;
            const auto song = folder / Catalogue::ExtractDir(line);
            std::ofstream(song, std::ios::binary).close();
            std::filesystem::resize_file(song, static_cast<std::uintmax_t>(*size));
            songs.push_back(song.string());
        }
    }
    return songs;
}

std::uintmax_t SizesOf(const std::vector<std::string>& files) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (const auto& file : files)
        total += std::filesystem::file_size(file, error);
    return total;
}

} // namespace

int main() {
    try {
        Bench::TScratchFolder scratch;
        const auto root = (scratch.Path() / "catalogue").string();
        const auto written = GenerateCatalogue(root, BigCatalogue);
        const auto descFiles = Bench::CatalogueWalkFiles(root);
        const auto songs = MakeSongFiles(root, descFiles);
        std::printf("Catalogue: %lld albums, %lld songs, %lld description files\n",
                    static_cast<long long>(written.Albums), static_cast<long long>(songs.size()),
                    static_cast<long long>(descFiles.size()));

        int problems = 0;
        const auto check = [&] {
            problems = Catalogue::CheckCatalogue(root, [](const std::string&) {});
        };
        const auto bare = Bench::CompareMedians(
            Repeats, [&] { Bench::ReadFilesBare(descFiles); }, check);
        const auto withSizes = Bench::CompareMedians(
            Repeats,
            [&] {
                Bench::ReadFilesBare(descFiles);
                SizesOf(songs);
            },
            check);
        std::printf("%-40s %9.2f ms\n", "check (median)", bare.Measured);
        std::printf("%-40s %9.2f ms   ratio %.2f\n", "bare read of the description files",
                    bare.Floor, bare.Ratio());
        std::printf("%-40s %9.2f ms   ratio %.2f\n", "bare read and the size of every song",
                    withSizes.Floor, withSizes.Ratio());
        std::printf("problems found: %d\n", problems);
        return problems == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
