#include "describing/CatalogueIndex.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace Catalogue {

namespace {

constexpr std::string_view Header = "mp3tunestead catalogue index 2";

void AppendField(std::string& line, std::string_view field) {
    line += '\t';
    // The bytes between two escapes go over in one piece.
    std::size_t start = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '\t' && c != '\n' && c != '\r' && c != '\\')
            continue;
        line.append(field.substr(start, i - start));
        line += c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\\\";
        start = i + 1;
    }
    line.append(field.substr(start));
}

// The field with its escapes undone.
std::string Unescaped(std::string_view field) {
    if (field.find('\\') == std::string_view::npos)
        return std::string(field);
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            const char next = field[++i];
            c = next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        }
        text += c;
    }
    return text;
}

// The fields of a line, still escaped (an escaped tab ends no field), into fields.
void Fields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    // Most lines hold no escape: every tab ends a field.
    if (line.find('\\') == std::string_view::npos) {
        for (auto tab = line.find('\t'); tab != std::string_view::npos;
             tab = line.find('\t', start)) {
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        fields.push_back(line.substr(start));
        return;
    }
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '\\') {
            ++i;
        } else if (i == line.size() || line[i] == '\t') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
}

// The entries of a map in the order of their keys, so that the same index is the same text.
template <typename TMap>
std::vector<const typename TMap::value_type*> InKeyOrder(const TMap& map) {
    std::vector<const typename TMap::value_type*> entries;
    entries.reserve(map.size());
    for (const auto& entry : map)
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    return entries;
}

template <typename T>
bool Number(std::string_view text, T& value) {
    const auto end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string WriteIndex(const TCatalogueIndex& index) {
    std::string text(Header);
    // Room for the lines as long as they usually are, so that the text is rarely copied.
    text.reserve(text.size() + 128 * (index.Categories.size() + index.Albums.size()) +
                 256 * index.Songs.size());
    text += '\n';
    std::string line = "source";
    AppendField(line, index.Source);
    text.append(line) += '\n';
    for (const auto& [kind, folders] :
         {std::pair{"category", &index.Categories}, std::pair{"album", &index.Albums}}) {
        for (const auto* entry : InKeyOrder(*folders)) {
            const auto& [source, folder] = *entry;
            line = kind;
            AppendField(line, source);
            AppendField(line, folder.Entry);
            AppendField(line, std::to_string(folder.DescSize));
            AppendField(line, std::to_string(folder.DescModifiedNs));
            text.append(line) += '\n';
        }
    }
    for (const auto* entry : InKeyOrder(index.Songs)) {
        const auto& [source, song] = *entry;
        line = "song";
        AppendField(line, source);
        AppendField(line, song.Entry);
        AppendField(line, std::to_string(song.Size));
        AppendField(line, std::to_string(song.ModifiedNs));
        AppendField(line, song.LengthMs ? std::to_string(*song.LengthMs) : "-");
        AppendField(line, song.Title);
        AppendField(line, song.Album);
        text.append(line) += '\n';
    }
    return text;
}

TCatalogueIndex ReadIndex(std::string_view text) {
    TCatalogueIndex index;
    if (!text.starts_with(Header))
        return index;
    // A song's line takes well over a hundred bytes: room for them all without rehashing.
    index.Songs.reserve(text.size() / 100);
    std::size_t start = 0;
    std::vector<std::string_view> fields;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        Fields(text.substr(start, end - start), fields);
        start = end + 1;
        const auto& kind = fields.front();
        if (kind == "source" && fields.size() == 2) {
            index.Source = Unescaped(fields[1]);
        } else if ((kind == "category" || kind == "album") && fields.size() == 5) {
            TIndexedFolder folder{Unescaped(fields[2])};
            if (Number(fields[3], folder.DescSize) && Number(fields[4], folder.DescModifiedNs))
                (kind == "category" ? index.Categories : index.Albums)[Unescaped(fields[1])] =
                    std::move(folder);
        } else if (kind == "song" && fields.size() == 8) {
            TIndexedSong song;
            song.Entry = Unescaped(fields[2]);
            std::int64_t length = 0;
            if (!Number(fields[3], song.Size) || !Number(fields[4], song.ModifiedNs))
                continue;
            if (fields[5] != "-") {
                if (!Number(fields[5], length))
                    continue;
                song.LengthMs = length;
            }
            song.Title = Unescaped(fields[6]);
            song.Album = Unescaped(fields[7]);
            index.Songs.emplace(Unescaped(fields[1]), std::move(song));
        }
    }
    return index;
}

} // namespace Catalogue
