#include "describing/MusicCatalogue.h"

#include "catalogue/CataloguePath.h"
#include "describing/CatalogueIndex.h"
#include "describing/DescWriter.h"
#include "describing/FactsAhead.h"
#include "describing/FolderListing.h"
#include "describing/MusicScan.h"
#include "describing/ShortNames.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/MusicFiles.h"

#include <unordered_map>
#include <unordered_set>

namespace Catalogue {

namespace {

// Entries are paths relative to the catalogue folder with "/" between their names.
std::string Parent(const std::string& entry) {
    const auto slash = entry.rfind('/');
    return slash == std::string::npos ? std::string() : entry.substr(0, slash);
}

std::string Leaf(const std::string& entry) {
    const auto slash = entry.rfind('/');
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

std::string Child(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + "/" + name;
}

// Every name in a folder; none when it cannot be listed (or does not exist yet).
std::unordered_set<std::string> NamesOnDisk(const std::string& folder) {
    std::unordered_set<std::string> names;
    try {
        for (auto& entry : platform::ListFolderEntries(folder))
            names.insert(std::move(entry.Name));
    } catch (const EError&) {
    }
    return names;
}

std::string Stem(const std::string& songName) {
    return songName.substr(0, songName.size() - SongExtension.size());
}

class TMusicDescribing {
public:
    TMusicDescribing(const std::string& music, const std::string& catalogue,
                     TSongFactsReader& reader, const TDescribeOptions& options,
                     const TDescribeEvents& events)
        : FMusic(MusicFolderPath(music)), FCatalogue(catalogue), FReader(reader), FOptions(options),
          FEvents(events), FWriter(options, events) {}

    TDescribeSummary Run();

private:
    std::string SourcePath(const std::string& relative) const {
        return relative.empty() ? FMusic : JoinPath(FMusic, relative);
    }
    std::string EntryPath(const std::string& entry) const {
        return entry.empty() ? FCatalogue : JoinPath(FCatalogue, entry);
    }
    void ReadOldIndex();
    TShortNames& NamesIn(const std::string& folderEntry);
    // The entry of a category or album: the one it had, or a new short name in parent.
    std::string EntryFor(const std::string* old, const std::string& parent,
                         const std::string& longName, const std::string& mark);
    void MakeFolder(const std::string& entry);
    // Describes one album into its entry and returns its title.
    std::string DescribeAlbum(const TMusicAlbum& album, const std::string& albumEntry);
    // The title of an album whose first tagged song names tagAlbum.
    static std::string Title(const TMusicAlbum& album, const std::string& tagAlbum);
    // For an album as the last run left it: its title, its songs and itself kept in the index.
    std::optional<std::string> KeptAlbum(const TMusicAlbum& album, const std::string& albumEntry);
    // Starts reading ahead the songs that the index does not hold as they are.
    void StartReading(const std::vector<TMusicAlbum>& albums);
    // Fills the song's facts from the index when the file is unchanged, else from the file.
    bool Facts(const TMusicSong& song, const TIndexedSong* old, TSongFacts& facts);
    // Removes an entry of the catalogue's own (a link or a description file).
    void RemoveOwn(const std::string& entry);
    // Drops (or with --prune removes) the old entries below parent that this run did not see.
    void HandleGone(const std::string& parent, std::unordered_set<std::string>& present);
    void RemoveAlbum(const std::string& albumEntry);
    void KeepUnseen();

    std::string FMusic;
    const std::string& FCatalogue;
    TSongFactsReader& FReader;
    const TDescribeOptions& FOptions;
    const TDescribeEvents& FEvents;
    TDescWriter FWriter;
    TCatalogueIndex FOld;
    TCatalogueIndex FIndex;
    // The names of the old index's entries in each catalogue folder.
    std::unordered_map<std::string, std::vector<std::string>> FOldChildren;
    std::unordered_map<std::string, TShortNames> FNames;
    std::unordered_set<std::string> FPrunedEntries;
    std::unique_ptr<TFactsAhead> FAhead;
    std::size_t FNextRead = 0;
};

void TMusicDescribing::ReadOldIndex() {
    const std::string path = JoinPath(FCatalogue, IndexFileName);
    if (!platform::EntryExists(path))
        return;
    FOld = ReadIndex(platform::ReadFileBytes(path));
    if (!FOld.Source.empty() && FOld.Source != FMusic)
        throw EInOutError(FCatalogue + ": the catalogue of " + FOld.Source + ", not of " + FMusic,
                          0);
    for (const auto& [source, entry] : FOld.Categories)
        FOldChildren[Parent(entry)].push_back(Leaf(entry));
    for (const auto& [source, album] : FOld.Albums)
        FOldChildren[Parent(album.Entry)].push_back(Leaf(album.Entry));
    for (const auto& [source, song] : FOld.Songs)
        FOldChildren[Parent(song.Entry)].push_back(Leaf(song.Entry));
}

TShortNames& TMusicDescribing::NamesIn(const std::string& folderEntry) {
    const auto found = FNames.find(folderEntry);
    if (found != FNames.end())
        return found->second;
    auto& names = FNames[folderEntry];
    for (const auto& name : FOldChildren[folderEntry])
        names.Reserve(name);
    for (const auto& name : NamesOnDisk(EntryPath(folderEntry)))
        names.Reserve(name);
    names.Reserve(DescFileName);
    return names;
}

std::string TMusicDescribing::EntryFor(const std::string* old, const std::string& parent,
                                       const std::string& longName, const std::string& mark) {
    if (old != nullptr && Parent(*old) == parent)
        return *old;
    return Child(parent, NamesIn(parent).Make(longName + mark, mark));
}

void TMusicDescribing::MakeFolder(const std::string& entry) {
    if (FOptions.DryRun)
        return;
    try {
        platform::MakeFolders(EntryPath(entry));
    } catch (const EError& error) {
        FWriter.Report(TProblemKind::FileError, EntryPath(entry),
                       std::string("cannot make catalogue folder: ") + error.what());
    }
}

namespace {

// True when the index holds the song's facts as they are: same size and time.
bool Unchanged(const TMusicSong& song, const TIndexedSong* old) {
    return old != nullptr && old->Size == song.Facts.Size &&
           old->ModifiedNs == song.Facts.ModifiedNs;
}

const TIndexedSong* Find(const TCatalogueIndex& index, const std::string& source) {
    const auto found = index.Songs.find(source);
    return found != index.Songs.end() ? &found->second : nullptr;
}

} // namespace

bool TMusicDescribing::Facts(const TMusicSong& song, const TIndexedSong* old, TSongFacts& facts) {
    if (Unchanged(song, old)) {
        facts.Size = old->Size;
        facts.LengthMs = old->LengthMs;
        facts.Title = old->Title;
        facts.Album = old->Album;
        return true;
    }
    try {
        facts = FAhead ? FAhead->Take(FNextRead++) : FReader.Read(SourcePath(song.Source));
        facts.Size = song.Facts.Size;
        return true;
    } catch (const std::exception& error) {
        FWriter.Report(TProblemKind::SongUnreadable, SourcePath(song.Source),
                       std::string("cannot read song: ") + error.what());
        return false;
    }
}

void TMusicDescribing::StartReading(const std::vector<TMusicAlbum>& albums) {
    if (FOptions.ReadThreads <= 1)
        return;
    std::vector<std::string> paths;
    for (const auto& album : albums)
        for (const auto& song : album.Songs)
            if (!Unchanged(song, Find(FOld, song.Source)))
                paths.push_back(SourcePath(song.Source));
    if (paths.size() > 1)
        FAhead = std::make_unique<TFactsAhead>(FReader, std::move(paths), FOptions.ReadThreads);
}

std::string TMusicDescribing::Title(const TMusicAlbum& album, const std::string& tagAlbum) {
    // The songs lying loose in a folder of their own come from many albums: their tags do not
    // name this one.
    if (album.Source == album.Category || tagAlbum.empty())
        return album.Prefix + album.Name + album.Suffix;
    return album.Prefix + tagAlbum + album.Suffix;
}

std::optional<std::string> TMusicDescribing::KeptAlbum(const TMusicAlbum& album,
                                                       const std::string& albumEntry) {
    const auto old = FOld.Albums.find(album.Source);
    if (FOptions.DryRun || old == FOld.Albums.end() || old->second.Entry != albumEntry ||
        FOldChildren[albumEntry].size() != album.Songs.size())
        return std::nullopt;
    for (const auto& song : album.Songs) {
        const auto* oldSong = Find(FOld, song.Source);
        if (!Unchanged(song, oldSong) || Parent(oldSong->Entry) != albumEntry)
            return std::nullopt;
    }
    const auto folder = platform::LookAt(EntryPath(albumEntry));
    const auto desc = platform::LookAt(DescFilePath(EntryPath(albumEntry)));
    if (folder.ModifiedNs != old->second.FolderModifiedNs || desc.Size != old->second.DescSize ||
        desc.ModifiedNs != old->second.DescModifiedNs || desc.Kind != platform::TEntryKind::Regular)
        return std::nullopt;
    std::string tagAlbum;
    for (const auto& song : album.Songs) {
        const auto* oldSong = Find(FOld, song.Source);
        FIndex.Songs[song.Source] = *oldSong;
        if (tagAlbum.empty())
            tagAlbum = Trimmed(oldSong->Album);
    }
    FIndex.Albums[album.Source] = old->second;
    return Title(album, tagAlbum);
}

std::string TMusicDescribing::DescribeAlbum(const TMusicAlbum& album,
                                            const std::string& albumEntry) {
    // An album whose songs, entries and description file are as the last run left them needs
    // neither a listing nor a reading.
    if (auto title = KeptAlbum(album, albumEntry))
        return *title;
    MakeFolder(albumEntry);
    TFolderEntries entries;
    entries.Input.Present = NamesOnDisk(EntryPath(albumEntry));
    entries.Input.Prune = FOptions.Prune;
    std::string tagAlbum;
    for (const auto& song : album.Songs) {
        const TIndexedSong* oldSong = Find(FOld, song.Source);
        const std::string path = SourcePath(song.Source);
        TSongFacts facts;
        if (!Facts(song, oldSong, facts))
            continue;
        const std::string entry =
            oldSong && Parent(oldSong->Entry) == albumEntry
                ? oldSong->Entry
                : Child(albumEntry, NamesIn(albumEntry).Make(song.Name, SongExtension));
        if (!entries.Input.Present.contains(Leaf(entry)) && !FOptions.DryRun) {
            try {
                platform::MakeSongLink(path, EntryPath(entry));
            } catch (const EError& error) {
                FWriter.Report(TProblemKind::LinkNotMade, path,
                               "cannot make its entry " + EntryPath(entry) + ": " + error.what());
                continue;
            }
        }
        entries.Input.Present.insert(Leaf(entry));
        const auto numbers = FWriter.SongNumbers(path, facts);
        std::string title = Trimmed(facts.Title);
        if (title.empty())
            title = Stem(song.Name);
        if (tagAlbum.empty())
            tagAlbum = Trimmed(facts.Album);
        FWriter.AddEntry(entries, Leaf(entry), path, title, numbers);
        FIndex.Songs[song.Source] = {entry,          song.Facts.Size, song.Facts.ModifiedNs,
                                     facts.LengthMs, facts.Title,     facts.Album};
    }
    HandleGone(albumEntry, entries.Input.Present);
    FWriter.Update(EntryPath(albumEntry), albumEntry, entries);
    const auto folder = platform::LookAt(EntryPath(albumEntry));
    const auto desc = platform::LookAt(DescFilePath(EntryPath(albumEntry)));
    FIndex.Albums[album.Source] = {albumEntry, folder.ModifiedNs, desc.Size, desc.ModifiedNs};
    return Title(album, tagAlbum);
}

void TMusicDescribing::RemoveOwn(const std::string& entry) {
    FPrunedEntries.insert(entry);
    if (FOptions.DryRun)
        return;
    platform::RemoveEntry(EntryPath(entry));
}

void TMusicDescribing::RemoveAlbum(const std::string& albumEntry) {
    for (const auto& [source, song] : FOld.Songs)
        if (Parent(song.Entry) == albumEntry)
            RemoveOwn(song.Entry);
    RemoveOwn(Child(albumEntry, std::string(DescFileName)));
    // Only an emptied folder goes: anything the user put there keeps it.
    RemoveOwn(albumEntry);
}

void TMusicDescribing::HandleGone(const std::string& parent,
                                  std::unordered_set<std::string>& present) {
    if (!FOptions.Prune)
        return;
    for (const auto& [source, song] : FOld.Songs)
        if (Parent(song.Entry) == parent && !FIndex.Songs.contains(source)) {
            RemoveOwn(song.Entry);
            present.erase(Leaf(song.Entry));
        }
    for (const auto& [source, album] : FOld.Albums)
        if (Parent(album.Entry) == parent && !FIndex.Albums.contains(source)) {
            RemoveAlbum(album.Entry);
            present.erase(Leaf(album.Entry));
        }
    for (const auto& [source, entry] : FOld.Categories)
        if (Parent(entry) == parent && !FIndex.Categories.contains(source)) {
            for (const auto& [albumSource, album] : FOld.Albums)
                if (Parent(album.Entry) == entry)
                    RemoveAlbum(album.Entry);
            RemoveOwn(Child(entry, std::string(DescFileName)));
            RemoveOwn(entry);
            present.erase(Leaf(entry));
        }
}

void TMusicDescribing::KeepUnseen() {
    const auto kept = [&](const std::string& entry) { return !FPrunedEntries.contains(entry); };
    for (const auto& [source, entry] : FOld.Categories)
        if (!FIndex.Categories.contains(source) && kept(entry))
            FIndex.Categories[source] = entry;
    for (const auto& [source, album] : FOld.Albums)
        if (!FIndex.Albums.contains(source) && kept(album.Entry))
            FIndex.Albums[source] = album;
    for (const auto& [source, song] : FOld.Songs)
        if (!FIndex.Songs.contains(source) && kept(song.Entry))
            FIndex.Songs[source] = song;
}

TDescribeSummary TMusicDescribing::Run() {
    // An unreadable music folder is told before anything is made for it.
    try {
        ListFolder(FMusic);
    } catch (const EInOutError& failure) {
        throw EInOutError(FMusic + ": cannot read folder: " + failure.what(), failure.ErrorCode);
    }
    std::unique_ptr<platform::TFolderLock> lock;
    if (!FOptions.DryRun) {
        try {
            platform::MakeFolders(FCatalogue);
        } catch (const EInOutError& error) {
            throw EInOutError(FCatalogue + ": cannot make the catalogue folder: " + error.what(),
                              error.ErrorCode);
        }
    }
    if (platform::LookAt(FCatalogue).Kind == platform::TEntryKind::Folder) {
        lock = platform::TryLockFolder(FCatalogue);
        if (!lock) {
            if (FEvents.OnBusy)
                FEvents.OnBusy();
            lock = platform::LockFolder(FCatalogue);
        }
    }
    ReadOldIndex();
    FIndex.Source = FMusic;
    std::vector<TMusicAlbum> albums;
    try {
        albums = ScanMusicFolder(
            FMusic, [&](TScanProblem problem, const std::string& path, const std::string& why) {
                FWriter.Report(problem == TScanProblem::NotRegular ? TProblemKind::SongUnreadable
                                                                   : TProblemKind::FolderUnreadable,
                               path, why);
            });
    } catch (const EInOutError& failure) {
        throw EInOutError(FMusic + ": cannot read folder: " + failure.what(), failure.ErrorCode);
    }

    StartReading(albums);
    TFolderEntries rootEntries;
    rootEntries.Input.Present = NamesOnDisk(FCatalogue);
    rootEntries.Input.Prune = FOptions.Prune;
    std::size_t done = 0;
    for (std::size_t first = 0; first < albums.size();) {
        const std::string& category = albums[first].Category;
        const std::string& categoryName = albums[first].CategoryName;
        const auto oldCategory = FOld.Categories.find(category);
        const std::string categoryEntry =
            EntryFor(oldCategory != FOld.Categories.end() ? &oldCategory->second : nullptr, "",
                     categoryName, "");
        FIndex.Categories[category] = categoryEntry;
        MakeFolder(categoryEntry);
        TFolderEntries categoryEntries;
        categoryEntries.Input.Present = NamesOnDisk(EntryPath(categoryEntry));
        categoryEntries.Input.Prune = FOptions.Prune;
        std::size_t next = first;
        for (; next < albums.size() && albums[next].Category == category; ++next) {
            const auto& album = albums[next];
            const auto oldAlbum = FOld.Albums.find(album.Source);
            const std::string albumEntry =
                EntryFor(oldAlbum != FOld.Albums.end() ? &oldAlbum->second.Entry : nullptr,
                         categoryEntry, album.Prefix + album.Name, album.DiscMark);
            const std::string title = DescribeAlbum(album, albumEntry);
            categoryEntries.Input.Present.insert(Leaf(albumEntry));
            FWriter.AddEntry(categoryEntries, Leaf(albumEntry), SourcePath(album.Source), title,
                             std::nullopt);
            if (FEvents.OnProgress)
                FEvents.OnProgress(++done, albums.size());
        }
        HandleGone(categoryEntry, categoryEntries.Input.Present);
        FWriter.Update(EntryPath(categoryEntry), categoryEntry, categoryEntries);
        rootEntries.Input.Present.insert(categoryEntry);
        FWriter.AddEntry(rootEntries, categoryEntry, SourcePath(category), categoryName,
                         std::nullopt);
        first = next;
    }
    HandleGone("", rootEntries.Input.Present);
    FWriter.Update(FCatalogue, "", rootEntries);
    KeepUnseen();
    if (!FOptions.DryRun && !(FIndex == FOld)) {
        try {
            platform::ReplaceFileBytes(JoinPath(FCatalogue, IndexFileName), WriteIndex(FIndex));
        } catch (const EError& failure) {
            FWriter.Report(TProblemKind::FileError, JoinPath(FCatalogue, IndexFileName),
                           std::string("cannot write: ") + failure.what());
        }
    }
    return FWriter.Summary();
}

} // namespace

TDescribeSummary DescribeMusicFolder(const std::string& music, const std::string& catalogue,
                                     TSongFactsReader& reader, const TDescribeOptions& options,
                                     const TDescribeEvents& events) {
    return TMusicDescribing(music, catalogue, reader, options, events).Run();
}

std::string MusicFolderPath(const std::string& music) {
    std::string path = platform::AbsolutePath(music);
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

std::optional<std::string> CatalogueSource(const std::string& catalogue) {
    const std::string path = JoinPath(catalogue, IndexFileName);
    if (platform::LookAt(path).Kind != platform::TEntryKind::Regular)
        return std::nullopt;
    try {
        return ReadIndex(platform::ReadFileBytes(path)).Source;
    } catch (const EError&) {
        return std::nullopt;
    }
}

} // namespace Catalogue
