#include "bench/GenerateCatalogue.h"

#include <array>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 16> Words = {
    "Night", "Blue",  "Train", "River",  "Golden", "Heart", "Road",   "Summer",
    "Rain",  "Light", "Songs", "Stones", "Dream",  "Fire",  "Winter", "Moon"};

constexpr int BitRate = 128000;
constexpr int BytesPerSecond = BitRate / 8;

class TWriter {
public:
    explicit TWriter(std::uint32_t seed) : FRandom(seed) {}

    std::uint32_t Next(std::uint32_t bound) {
        return static_cast<std::uint32_t>(FRandom() % bound);
    }

    // A description of two or three words with a number, at most 36 characters.
    std::string Description(std::string_view kind, int number) {
        std::string text(kind);
        text += ' ';
        text += std::to_string(number);
        const int words = 2 + static_cast<int>(Next(2));
        for (int i = 0; i < words; ++i) {
            text += ' ';
            text += Words[Next(Words.size())];
        }
        return text.substr(0, 36);
    }

    // Name, two blanks and the description, padded with blanks to column 51.
    static std::string Line(std::string_view name, std::string_view description) {
        std::string line(name);
        line += "  ";
        line += description;
        if (line.size() < 51)
            line.append(51 - line.size(), ' ');
        return line;
    }

    static std::string RightAligned(std::int64_t value, std::size_t width) {
        std::string text = std::to_string(value);
        if (text.size() < width)
            text.insert(0, width - text.size(), ' ');
        return text;
    }

    void WriteFile(const std::filesystem::path& directory, const std::string& text,
                   TGeneratedCatalogue& written) {
        std::filesystem::create_directories(directory);
        const auto file = directory / "descript.ion";
        std::FILE* out = std::fopen(file.string().c_str(), "wb");
        if (!out)
            throw std::runtime_error("cannot write " + file.string());
        const bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
        if (std::fclose(out) != 0 || !ok)
            throw std::runtime_error("cannot write " + file.string());
        ++written.Files;
        written.Bytes += static_cast<std::int64_t>(text.size());
    }

private:
    std::mt19937 FRandom;
};

std::string Numbered(std::string_view prefix, int number, int digits) {
    std::string text = std::to_string(number);
    if (text.size() < static_cast<std::size_t>(digits))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return std::string(prefix) + text;
}

} // namespace

TGeneratedCatalogue GenerateCatalogue(const std::filesystem::path& root,
                                      const TCatalogueShape& shape) {
    TGeneratedCatalogue written;
    TWriter writer(shape.Seed);
    std::string rootText = "; Music collection\r\n";
    for (int c = 1; c <= shape.Categories; ++c) {
        const auto categoryName = Numbered("CAT", c, 5);
        rootText += TWriter::Line(categoryName, writer.Description("Style", c)) + "\r\n";
        std::string categoryText = "; Albums\r\n";
        for (int a = 1; a <= shape.AlbumsPerCategory; ++a) {
            const auto albumName = Numbered("ALBUM", a, 6);
            auto albumLine = TWriter::Line(albumName, writer.Description("Album", a));
            if (writer.Next(2) == 0)
                albumLine += TWriter::RightAligned(1 + writer.Next(999), 6);
            categoryText += albumLine + "\r\n";
            ++written.Albums;
            std::string albumText = "; Songs\r\n";
            for (int s = 1; s <= shape.SongsPerAlbum; ++s) {
                const auto seconds = 60 + static_cast<std::int64_t>(writer.Next(540));
                const auto size = seconds * BytesPerSecond + writer.Next(BytesPerSecond);
                albumText +=
                    TWriter::Line(Numbered("TRACK", s, 3) + ".MP3", writer.Description("Song", s)) +
                    TWriter::RightAligned(size, 10) + " " + TWriter::RightAligned(BitRate, 6) +
                    "\r\n";
                written.TotalSeconds += seconds;
                ++written.Songs;
            }
            if (shape.AlbumFiles)
                writer.WriteFile(root / categoryName / albumName, albumText, written);
        }
        writer.WriteFile(root / categoryName, categoryText, written);
    }
    writer.WriteFile(root, rootText, written);
    return written;
}
