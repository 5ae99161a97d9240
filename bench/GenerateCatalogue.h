// Writes a synthetic catalogue (root, category and album description files with
// realistic line layouts) for benchmarks and tests.
#pragma once

#include <cstdint>
#include <filesystem>

struct TCatalogueShape {
    int Categories = 1;
    int AlbumsPerCategory = 1;
    int SongsPerAlbum = 1;
    // The same seed writes the same catalogue.
    std::uint32_t Seed = 1;
    // Without them only the root and category files are written, as they are with them:
    // enough for a search.
    bool AlbumFiles = true;
};

// What was written, for checks against a reading of the catalogue.
struct TGeneratedCatalogue {
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;
    std::int64_t Albums = 0;
    std::int64_t Songs = 0;
    // The sum of every song's whole seconds.
    std::int64_t TotalSeconds = 0;
};

// Writes the catalogue under root (created when missing): root/descript.ion lists the
// categories, each category folder lists its albums, each album folder lists its
// songs with size and bit rate (128000) in their columns. Names have at most 12
// characters, lines end with CR LF, and each file starts with a comment line.
TGeneratedCatalogue GenerateCatalogue(const std::filesystem::path& root,
                                      const TCatalogueShape& shape);
