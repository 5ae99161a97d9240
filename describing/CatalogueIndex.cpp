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

// The field with its escapes undone; a field that holds none is shown as it stands, one that
// does is unescaped into unescaped.
std::string_view Unescaped(std::string_view field, std::deque<std::string>& unescaped) {
    if (field.find('\\') == std::string_view::npos)
        return field;
    std::string& text = unescaped.emplace_back();
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

// The fields of a line, still escaped (an escaped tab ends no field), into fields; true when the
// line holds an escape.
bool Fields(std::string_view line, std::vector<std::string_view>& fields) {
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
        return false;
    }
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '\\') {
            ++i;
        } else if (i == line.size() || line[i] == '\t') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return true;
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

// Adds sources to the sources of its entry's folder. The lines of one folder's entries mostly
// come one after another: the folder is looked up once for them.
class TSorter {
public:
    explicit TSorter(TReadIndex::TSources& in) : FIn(in) {}
    void Add(std::string_view source, std::string_view entry) {
        const auto folder = EntryParent(entry);
        if (FSources == nullptr || folder != FFolder) {
            FFolder = folder;
            FSources = &FIn[folder];
        }
        FSources->push_back(source);
    }

private:
    TReadIndex::TSources& FIn;
    std::string_view FFolder;
    std::vector<std::string_view>* FSources = nullptr;
};

template <typename T>
bool Number(std::string_view text, T& value) {
    const auto end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string_view EntryParent(std::string_view entry) {
    const auto slash = entry.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : entry.substr(0, slash);
}

std::string EntryLeaf(std::string_view entry) {
    const auto slash = entry.rfind('/');
    return std::string(slash == std::string_view::npos ? entry : entry.substr(slash + 1));
}

std::string EntryChild(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + "/" + name;
}

std::string WriteIndex(const TCatalogueIndex& index) {
    std::string text(Header);
    // Room for the lines as long as they usually are, so that the text is rarely copied.
    text.reserve(text.size() + 128 * (index.Categories.size() + index.Albums.size()) +
                 256 * index.Songs.size());
    text += '\n';
    std::string line = "source";
    AppendField(line, index.Source);
    text.append(line) += '\n';
    if (index.Root)
        text.append("root\t" + std::to_string(index.Root->DescSize) + '\t' +
                    std::to_string(index.Root->DescModifiedNs)) += '\n';
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
    for (const auto* entry : InKeyOrder(index.AlbumSongs)) {
        const auto& [source, songs] = *entry;
        line = "songs";
        AppendField(line, source);
        AppendField(line, std::to_string(songs.Print));
        AppendField(line, songs.TagAlbum);
        text.append(line) += '\n';
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

TIndexedSong Owned(const TReadIndexedSong& song) {
    return {std::string(song.Entry), song.Size,
            song.ModifiedNs,         song.LengthMs,
            std::string(song.Title), std::string(song.Album)};
}

TIndexedFolder Owned(const TReadIndexedFolder& folder) {
    return {std::string(folder.Entry), folder.DescSize, folder.DescModifiedNs};
}

TAlbumSongs Owned(const TReadAlbumSongs& songs) {
    return {songs.Print, std::string(songs.TagAlbum)};
}

namespace {

// Reads the lines of the index text into the index: every line but the songs', or only the
// songs'.
class TIndexLines {
public:
    TIndexLines(TReadIndex& index, bool songs) : FIndex(index), FSongs(songs) {}

    // Reads the lines before the songs', or the songs'.
    void Read() {
        const std::string_view text = FIndex.Text;
        std::size_t start = FSongs ? FIndex.SongsFrom : 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            const auto line = text.substr(start, end - start);
            if (!FSongs && line.starts_with(SongKind)) {
                FIndex.SongsFrom = start;
                return;
            }
            start = end + 1;
            if (!FSongs || line.starts_with(SongKind))
                ReadLine(line);
        }
        if (!FSongs)
            FIndex.SongsFrom = text.size();
    }

private:
    static constexpr std::string_view SongKind = "song\t";

    // The field as it reads, kept in the text unless its line holds an escape.
    std::string_view Field(std::size_t i) {
        return FEscaped ? Unescaped(FFields[i], FIndex.Unescaped) : FFields[i];
    }

    void ReadLine(std::string_view line) {
        FEscaped = Fields(line, FFields);
        const auto kind = FFields.front();
        if (kind == "source" && FFields.size() == 2)
            FIndex.Source = Field(1);
        else if ((kind == "category" || kind == "album") && FFields.size() == 5)
            ReadFolder(kind == "category");
        else if (kind == "root" && FFields.size() == 3)
            ReadRoot();
        else if (kind == "songs" && FFields.size() == 4)
            ReadAlbumSongs();
        else if (kind == "song" && FFields.size() == 8)
            ReadSong();
    }

    void ReadFolder(bool category) {
        TReadIndexedFolder folder{Field(2)};
        if (!Number(FFields[3], folder.DescSize) || !Number(FFields[4], folder.DescModifiedNs))
            return;
        const auto [at, added] =
            (category ? FIndex.Categories : FIndex.Albums).insert_or_assign(Field(1), folder);
        if (added)
            (category ? FCategories : FAlbums).Add(at->first, folder.Entry);
    }

    void ReadRoot() {
        TReadIndexedFolder root;
        if (Number(FFields[1], root.DescSize) && Number(FFields[2], root.DescModifiedNs))
            FIndex.Root = root;
    }

    void ReadAlbumSongs() {
        TReadAlbumSongs songs;
        if (Number(FFields[2], songs.Print)) {
            songs.TagAlbum = Field(3);
            FIndex.AlbumSongs.insert_or_assign(Field(1), songs);
        }
    }

    void ReadSong() {
        TReadIndexedSong song;
        std::int64_t length = 0;
        if (!Number(FFields[3], song.Size) || !Number(FFields[4], song.ModifiedNs))
            return;
        if (FFields[5] != "-") {
            if (!Number(FFields[5], length))
                return;
            song.LengthMs = length;
        }
        song.Entry = Field(2);
        song.Title = Field(6);
        song.Album = Field(7);
        if (const auto [at, added] = FIndex.Songs.emplace(Field(1), song); added)
            FSongsIn.Add(at->first, song.Entry);
    }

    TReadIndex& FIndex;
    const bool FSongs;
    std::vector<std::string_view> FFields;
    bool FEscaped = false;
    TSorter FCategories{FIndex.CategoriesIn};
    TSorter FAlbums{FIndex.AlbumsIn};
    TSorter FSongsIn{FIndex.SongsIn};
};

} // namespace

TReadIndex ReadIndex(std::string_view text, std::shared_ptr<const void> keeper) {
    TReadIndex index;
    index.Text = text;
    index.Keeper = std::move(keeper);
    if (text.starts_with(Header))
        TIndexLines(index, false).Read();
    else
        index.SongsRead = true;
    return index;
}

TReadIndex ReadIndex(std::string text) {
    auto kept = std::make_shared<const std::string>(std::move(text));
    return ReadIndex(*kept, kept);
}

void ReadIndexSongs(TReadIndex& index) {
    if (index.SongsRead)
        return;
    index.SongsRead = true;
    // A song's line takes well over a hundred bytes: room for them all without rehashing.
    index.Songs.reserve((index.Text.size() - index.SongsFrom) / 100);
    TIndexLines(index, true).Read();
}

} // namespace Catalogue
