// make_demo_mp3: writes a short silent MP3 file for every song line of every album description
// file below a catalogue folder, so that the demo catalogue can really be played.
#include "tools/DemoSongs.h"
#include "tools/SilentMp3.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One and a half seconds of silence at 128 kbit/s, 44.1 kHz, stereo.
constexpr int DemoMilliseconds = 1500;

bool IsDescriptionFile(const fs::path& file) {
    std::string name = file.filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "descript.ion";
}

// The album description files: category/album/descript.ion below the catalogue root.
std::vector<fs::path> AlbumDescriptionFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = entry.path().lexically_relative(root);
        if (entry.is_regular_file() && IsDescriptionFile(entry.path()) &&
            std::distance(relative.begin(), relative.end()) == 3)
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes under a temporary name first, so that an interrupted run never leaves a cut file
// that a later run would take as already there.
bool WriteSong(const fs::path& target, const std::string& bytes) {
    fs::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(partial, target, error);
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make_demo_mp3 <catalogue-dir>\n"
                     "Creates every song file that the album description files below the\n"
                     "catalogue folder list and that is not there yet.\n";
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        std::cerr << "make_demo_mp3: " << root.string() << " is not a folder\n";
        return 1;
    }

    const TMp3Format format;
    const std::string song = SilentMp3(format, Mp3FrameCount(format, DemoMilliseconds));
    int created = 0;
    int present = 0;
    int failed = 0;
    try {
        for (const fs::path& descriptionFile : AlbumDescriptionFiles(root)) {
            for (const std::string& line : DescriptionLines(ReadAll(descriptionFile))) {
                const std::string name = FileNameField(line);
                if (!IsPlainFileName(name)) {
                    std::cerr << "make_demo_mp3: no usable file name in a line of "
                              << descriptionFile.string() << ": " << line << '\n';
                    ++failed;
                    continue;
                }
                const fs::path target = descriptionFile.parent_path() / name;
                if (fs::exists(target, error)) {
                    ++present;
                } else if (WriteSong(target, song)) {
                    ++created;
                } else {
                    std::cerr << "make_demo_mp3: cannot write " << target.string() << '\n';
                    ++failed;
                }
            }
        }
    } catch (const fs::filesystem_error& walkError) {
        std::cerr << "make_demo_mp3: " << walkError.what() << '\n';
        return 1;
    }
    std::cout << "make_demo_mp3: " << created << " song file(s) created, " << present
              << " already there";
    if (failed > 0)
        std::cout << ", " << failed << " failed";
    std::cout << '\n';
    return failed > 0 ? 1 : 0;
}
