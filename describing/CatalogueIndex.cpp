#include "describing/CatalogueIndex.h"

#include <charconv>
#include <vector>

namespace Catalogue {

namespace {

constexpr std::string_view Header = "mp3tunestead catalogue index 2";

void AppendField(std::string& line, std::string_view field) {
    line += '\t';
    for (const char c : field) {
        switch (c) {
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\\':
            line += "\\\\";
            break;
        default:
            line += c;
        }
    }
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

template <typename T>
bool Number(const std::string& text, T& value) {
    const auto end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string WriteIndex(const TCatalogueIndex& index) {
    std::string text(Header);
    text += '\n';
    std::string line = "source";
    AppendField(line, index.Source);
    text += line + '\n';
    for (const auto& [source, entry] : index.Categories) {
        line = "category";
        AppendField(line, source);
        AppendField(line, entry);
        text += line + '\n';
    }
    for (const auto& [source, album] : index.Albums) {
        line = "album";
        AppendField(line, source);
        AppendField(line, album.Entry);
        AppendField(line, std::to_string(album.FolderModifiedNs));
        AppendField(line, std::to_string(album.DescSize));
        AppendField(line, std::to_string(album.DescModifiedNs));
        text += line + '\n';
    }
    for (const auto& [source, song] : index.Songs) {
        line = "song";
        AppendField(line, source);
        AppendField(line, song.Entry);
        AppendField(line, std::to_string(song.Size));
        AppendField(line, std::to_string(song.ModifiedNs));
        AppendField(line, song.LengthMs ? std::to_string(*song.LengthMs) : "-");
        AppendField(line, song.Title);
        AppendField(line, song.Album);
        text += line + '\n';
    }
    return text;
}

TCatalogueIndex ReadIndex(std::string_view text) {
    TCatalogueIndex index;
    if (!text.starts_with(Header))
        return index;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const auto fields = Fields(text.substr(start, end - start));
        start = end + 1;
        const auto& kind = fields.front();
        if (kind == "source" && fields.size() == 2) {
            index.Source = fields[1];
        } else if (kind == "category" && fields.size() == 3) {
            index.Categories[fields[1]] = fields[2];
        } else if (kind == "album" && fields.size() == 6) {
            TIndexedAlbum album{fields[2]};
            if (Number(fields[3], album.FolderModifiedNs) && Number(fields[4], album.DescSize) &&
                Number(fields[5], album.DescModifiedNs))
                index.Albums[fields[1]] = std::move(album);
        } else if (kind == "song" && fields.size() == 8) {
            TIndexedSong song;
            song.Entry = fields[2];
            std::int64_t length = 0;
            if (!Number(fields[3], song.Size) || !Number(fields[4], song.ModifiedNs))
                continue;
            if (fields[5] != "-") {
                if (!Number(fields[5], length))
                    continue;
                song.LengthMs = length;
            }
            song.Title = fields[6];
            song.Album = fields[7];
            index.Songs[fields[1]] = std::move(song);
        }
    }
    return index;
}

} // namespace Catalogue
