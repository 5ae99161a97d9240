#include "describing/MusicCatalogue.h"

#include "catalogue/CataloguePath.h"
#include "describing/CatalogueIndex.h"
#include "describing/CataloguePlace.h"
#include "describing/DescWriter.h"
#include "describing/FactsAhead.h"
#include "describing/FolderListing.h"
#include "describing/MusicScan.h"
#include "describing/OldCatalogue.h"
#include "describing/ShortNames.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/MusicFiles.h"

#include <algorithm>
#include <future>
#include <unordered_map>
#include <unordered_set>

namespace Catalogue {

namespace {

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
    return NameText(songName.substr(0, songName.size() - SongExtension.size()));
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
    std::string EntryPath(std::string_view entry) const {
        return entry.empty() ? FCatalogue : JoinPath(FCatalogue, entry);
    }
    TShortNames& NamesIn(const std::string& folderEntry);
    // The entry of a category or album: the one it had, or a new short name in parent.
    std::string EntryFor(const std::string_view* old, const std::string& parent,
                         const std::string& longName, const std::string& mark);
    void MakeFolder(const std::string& entry);
    // The names in a catalogue folder, none for a folder this run named anew.
    std::unordered_set<std::string> EntryNamesOnDisk(const std::string& folderEntry) const;
    // Describes one album into its entry and returns its title.
    std::string DescribeAlbum(const TMusicAlbum& album, TOldAlbum& old,
                              const std::string& albumEntry, bool& kept);
    // Describes the albums [first, next) of one category into its entry; true when the
    // category and every album were kept as the last run left them.
    bool DescribeCategory(const std::vector<TMusicAlbum>& albums, std::size_t first,
                          std::size_t next, const std::string& categoryEntry);
    // Describes the categories into the catalogue folder's own file, unless every category and
    // the file are kept as the last run left them.
    struct TCategoryLine {
        std::string Entry;
        std::string Source;
        std::string Name;
    };
    void DescribeRoot(const std::vector<TCategoryLine>& lines, bool allKept);
    // True when the folder's description file (entry) is as the last run left it.
    bool DescKept(const TReadIndexedFolder& old, const std::string& entry);
    // True when the folder's entry and description file are as the last run left them, with
    // as many entries below it as then.
    bool Kept(const std::unordered_map<std::string_view, TReadIndexedFolder>& old,
              const std::string& source, const std::string& entry, std::size_t children,
              std::size_t oldChildren);
    // The folder's entry with its description file's size and time as they are now.
    TIndexedFolder Stamped(const std::string& entry) const;
    // The title of an album whose first tagged song names tagAlbum.
    static std::string Title(const TMusicAlbum& album, const std::string& tagAlbum);
    // For an album as the last run left it: its title, its songs and itself kept in the index.
    std::optional<std::string> KeptAlbum(const TMusicAlbum& album, const TOldAlbum& old,
                                         const std::string& albumEntry);
    // Compares every album's songs with the old index (FOldAlbums), looks up the songs of the
    // albums whose print differs and starts reading ahead the songs it does not hold as they are.
    void StartReading(const std::vector<TMusicAlbum>& albums);
    // Fills the song's facts from the index when the file is unchanged, else from the file
    // (taken from the reading ahead when it was started for it).
    bool Facts(const TMusicSong& song, const std::string& path, const TReadIndexedSong* old,
               bool ahead, TSongFacts& facts);
    // Removes an entry of the catalogue's own (a link or a description file).
    void RemoveOwn(std::string_view entry);
    // Drops (or with --prune removes) the old entries below parent that this run did not see.
    void HandleGone(const std::string& parent, std::unordered_set<std::string>& present);
    void RemoveAlbum(std::string_view albumEntry);
    void KeepUnseen();
    // True once the caller asked the run to stop; asked before each album and song.
    bool Stopping();
    // Records a folder left half done by a stopped run under its entry, so that the next run
    // gives it the same name and, since no description file has this size and time, does it
    // again.
    static TIndexedFolder Unfinished(const std::string& entry) { return {entry, 0, -1}; }
    void CountSongs(std::size_t songs);

    std::string FMusic;
    const std::string& FCatalogue;
    TSongFactsReader& FReader;
    const TDescribeOptions& FOptions;
    const TDescribeEvents& FEvents;
    TDescWriter FWriter;
    TReadIndex FOld;
    TCatalogueIndex FIndex;
    // Something this run found differs from the old index, which must then be written.
    bool FChanged = false;
    // The description files of the old index's folders by their entries, as they were found
    // when the run started.
    TOldFiles FOldFiles;
    std::unordered_map<std::string, TShortNames> FNames;
    std::unordered_set<std::string> FPrunedEntries;
    // The category and album entries this run named anew.
    std::unordered_set<std::string> FNewEntries;
    // The old index's songs of every album, in the order of the albums.
    std::vector<TOldAlbum> FOldAlbums;
    std::unique_ptr<TFactsAhead> FAhead;
    std::size_t FAlbumsDone = 0;
    std::size_t FAlbumsTotal = 0;
    std::size_t FNextRead = 0;
    std::size_t FSongsDescribed = 0;
    bool FStopped = false;
};

bool TMusicDescribing::Stopping() {
    if (!FStopped && FEvents.Cancelled && FEvents.Cancelled())
        FStopped = true;
    return FStopped;
}

void TMusicDescribing::CountSongs(std::size_t songs) {
    FSongsDescribed += songs;
    if (FEvents.OnSongs)
        FEvents.OnSongs(FSongsDescribed);
}

TShortNames& TMusicDescribing::NamesIn(const std::string& folderEntry) {
    const auto found = FNames.find(folderEntry);
    if (found != FNames.end())
        return found->second;
    ReadIndexSongs(FOld);
    auto& names = FNames[folderEntry];
    for (const auto source : Sources(FOld.CategoriesIn, folderEntry))
        names.Reserve(EntryLeaf(FOld.Categories.at(source).Entry));
    for (const auto source : Sources(FOld.AlbumsIn, folderEntry))
        names.Reserve(EntryLeaf(FOld.Albums.at(source).Entry));
    for (const auto source : Sources(FOld.SongsIn, folderEntry))
        names.Reserve(EntryLeaf(FOld.Songs.at(source).Entry));
    for (const auto& name : EntryNamesOnDisk(folderEntry))
        names.Reserve(name);
    names.Reserve(DescFileName);
    return names;
}

std::string TMusicDescribing::EntryFor(const std::string_view* old, const std::string& parent,
                                       const std::string& longName, const std::string& mark) {
    if (old != nullptr && EntryParent(*old) == parent)
        return std::string(*old);
    auto entry = EntryChild(parent, NamesIn(parent).Make(longName + mark, mark));
    FNewEntries.insert(entry);
    return entry;
}

std::unordered_set<std::string>
TMusicDescribing::EntryNamesOnDisk(const std::string& folderEntry) const {
    // A folder named anew this run was named apart from everything on disk: it holds only what
    // this run puts there.
    if (FNewEntries.contains(folderEntry))
        return {};
    return NamesOnDisk(EntryPath(folderEntry));
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

bool TMusicDescribing::Facts(const TMusicSong& song, const std::string& path,
                             const TReadIndexedSong* old, bool ahead, TSongFacts& facts) {
    if (Unchanged(song, old)) {
        facts.Size = old->Size;
        facts.LengthMs = old->LengthMs;
        facts.Title = old->Title;
        facts.Album = old->Album;
        return true;
    }
    try {
        ++FWriter.Summary().SongsRead;
        facts = ahead && FAhead ? FAhead->Take(FNextRead++) : FReader.Read(path);
        facts.Size = song.Facts.Size;
        return true;
    } catch (const std::exception& error) {
        FWriter.Report(TProblemKind::SongUnreadable, path,
                       std::string("cannot read song: ") + error.what());
        return false;
    }
}

void TMusicDescribing::StartReading(const std::vector<TMusicAlbum>& albums) {
    std::vector<std::string> paths;
    FOldAlbums.resize(albums.size());
    for (std::size_t i = 0; i < albums.size(); ++i) {
        const auto& album = albums[i];
        auto& old = FOldAlbums[i];
        old = CompareAlbum(FOld, album);
        if (old.Printed)
            continue;
        LookUpSongs(FOld, album, old);
        old.ReadAhead = true;
        for (std::size_t song = 0; song < album.Songs.size(); ++song)
            if (!Unchanged(album.Songs[song], old.Songs[song]) && FOptions.ReadThreads > 1)
                paths.push_back(SourcePath(SongSource(album, album.Songs[song])));
    }
    if (paths.size() > 1)
        FAhead = std::make_unique<TFactsAhead>(FReader, std::move(paths), FOptions.ReadThreads);
}

std::string TMusicDescribing::Title(const TMusicAlbum& album, const std::string& tagAlbum) {
    // The songs lying loose in a folder of their own come from many albums: their tags do not
    // name this one.
    if (album.Source == album.Category || tagAlbum.empty())
        return NameText(album.Prefix + album.Name) + album.Suffix;
    return NameText(album.Prefix) + tagAlbum + album.Suffix;
}

bool TMusicDescribing::Kept(const std::unordered_map<std::string_view, TReadIndexedFolder>& old,
                            const std::string& source, const std::string& entry,
                            std::size_t children, std::size_t oldChildren) {
    const auto found = old.find(source);
    return found != old.end() && found->second.Entry == entry && oldChildren == children &&
           DescKept(found->second, entry);
}

bool TMusicDescribing::DescKept(const TReadIndexedFolder& old, const std::string& entry) {
    if (FOptions.DryRun)
        return false;
    return FOldFiles.Kept(FCatalogue, old, entry);
}

TIndexedFolder TMusicDescribing::Stamped(const std::string& entry) const {
    const auto desc = platform::LookAt(DescFilePath(EntryPath(entry)));
    return {entry, desc.Size, desc.ModifiedNs};
}

std::optional<std::string> TMusicDescribing::KeptAlbum(const TMusicAlbum& album,
                                                       const TOldAlbum& old,
                                                       const std::string& albumEntry) {
    // The songs' index entries stay as they are: they are taken over only when the index is
    // written again.
    std::string tagAlbum;
    if (old.Printed) {
        // The print stands for the songs, their number included.
        if (!Kept(FOld.Albums, album.Source, albumEntry, 0, 0))
            return std::nullopt;
        tagAlbum = FOld.AlbumSongs.at(album.Source).TagAlbum;
    } else {
        const auto& olds = old.Songs;
        for (std::size_t i = 0; i < album.Songs.size(); ++i)
            if (!Unchanged(album.Songs[i], olds[i]) || EntryParent(olds[i]->Entry) != albumEntry)
                return std::nullopt;
        if (!Kept(FOld.Albums, album.Source, albumEntry, album.Songs.size(),
                  Sources(FOld.SongsIn, albumEntry).size()))
            return std::nullopt;
        for (std::size_t i = 0; i < olds.size() && tagAlbum.empty(); ++i)
            tagAlbum = Trimmed(olds[i]->Album);
        // The index gains the album's print (an index from before prints, or an album a song
        // of which could not be described until it went).
        FChanged = true;
    }
    FIndex.Albums[album.Source] = Owned(FOld.Albums.at(album.Source));
    FIndex.AlbumSongs[album.Source] = {old.Print, tagAlbum};
    return Title(album, tagAlbum);
}

std::string TMusicDescribing::DescribeAlbum(const TMusicAlbum& album, TOldAlbum& old,
                                            const std::string& albumEntry, bool& kept) {
    // An album whose songs, entries and description file are as the last run left them needs
    // neither a listing nor a reading.
    if (auto title = KeptAlbum(album, old, albumEntry)) {
        kept = true;
        CountSongs(album.Songs.size());
        return *title;
    }
    kept = false;
    FChanged = true;
    if (!old.LookedUp)
        LookUpSongs(FOld, album, old);
    const auto& olds = old.Songs;
    // Every song ended up in the description file: only then the index keeps the album's print.
    bool whole = true;
    MakeFolder(albumEntry);
    TFolderEntries entries;
    entries.Input.Present = EntryNamesOnDisk(albumEntry);
    entries.Input.Prune = FOptions.Prune;
    std::string tagAlbum;
    for (std::size_t i = 0; i < album.Songs.size(); ++i) {
        if (Stopping())
            break;
        const auto& song = album.Songs[i];
        const TReadIndexedSong* oldSong = olds[i];
        const std::string source = SongSource(album, song);
        const std::string path = SourcePath(source);
        TSongFacts facts;
        if (!Facts(song, path, oldSong, old.ReadAhead, facts)) {
            whole = false;
            continue;
        }
        const std::string entry =
            oldSong && EntryParent(oldSong->Entry) == albumEntry
                ? std::string(oldSong->Entry)
                : EntryChild(albumEntry, NamesIn(albumEntry).Make(song.Name, SongExtension));
        if (!entries.Input.Present.contains(EntryLeaf(entry)) && !FOptions.DryRun) {
            try {
                platform::MakeSongLink(path, EntryPath(entry));
            } catch (const EError& error) {
                FWriter.Report(TProblemKind::LinkNotMade, path,
                               "cannot make its entry " + EntryPath(entry) + ": " + error.what());
                whole = false;
                continue;
            }
        }
        entries.Input.Present.insert(EntryLeaf(entry));
        const auto numbers = FWriter.SongNumbers(path, facts);
        std::string title = Trimmed(facts.Title);
        if (title.empty())
            title = Stem(song.Name);
        if (tagAlbum.empty())
            tagAlbum = Trimmed(facts.Album);
        FWriter.AddEntry(entries, EntryLeaf(entry), path, title, numbers);
        FIndex.Songs[source] = {entry,          song.Facts.Size, song.Facts.ModifiedNs,
                                facts.LengthMs, facts.Title,     facts.Album};
        CountSongs(1);
    }
    if (FStopped) {
        // The songs done keep their entries in the index; the description file stays the old
        // one until a run gets through the whole album.
        FIndex.Albums[album.Source] = Unfinished(albumEntry);
        return {};
    }
    HandleGone(albumEntry, entries.Input.Present);
    FWriter.Update(EntryPath(albumEntry), albumEntry, entries);
    FIndex.Albums[album.Source] = Stamped(albumEntry);
    // A song gone and not pruned keeps its line, so the songs there are not only these.
    const auto& oldSongs = Sources(FOld.SongsIn, albumEntry);
    whole = whole && std::all_of(oldSongs.begin(), oldSongs.end(), [&](std::string_view source) {
                return FIndex.Songs.contains(std::string(source)) ||
                       FPrunedEntries.contains(std::string(FOld.Songs.at(source).Entry));
            });
    if (whole)
        FIndex.AlbumSongs[album.Source] = {old.Print, tagAlbum};
    return Title(album, tagAlbum);
}

void TMusicDescribing::RemoveOwn(std::string_view entry) {
    FPrunedEntries.emplace(entry);
    FChanged = true;
    if (FOptions.DryRun)
        return;
    platform::RemoveEntry(EntryPath(entry));
}

void TMusicDescribing::RemoveAlbum(std::string_view albumEntry) {
    const std::string album(albumEntry);
    for (const auto source : Sources(FOld.SongsIn, album))
        RemoveOwn(FOld.Songs.at(source).Entry);
    RemoveOwn(EntryChild(album, std::string(DescFileName)));
    // Only an emptied folder goes: anything the user put there keeps it.
    RemoveOwn(albumEntry);
}

void TMusicDescribing::HandleGone(const std::string& parent,
                                  std::unordered_set<std::string>& present) {
    if (!FOptions.Prune)
        return;
    ReadIndexSongs(FOld);
    for (const auto source : Sources(FOld.SongsIn, parent))
        if (!FIndex.Songs.contains(std::string(source))) {
            const auto entry = FOld.Songs.at(source).Entry;
            RemoveOwn(entry);
            present.erase(EntryLeaf(entry));
        }
    for (const auto source : Sources(FOld.AlbumsIn, parent))
        if (!FIndex.Albums.contains(std::string(source))) {
            const auto entry = FOld.Albums.at(source).Entry;
            RemoveAlbum(entry);
            present.erase(EntryLeaf(entry));
        }
    for (const auto source : Sources(FOld.CategoriesIn, parent))
        if (!FIndex.Categories.contains(std::string(source))) {
            const std::string entry(FOld.Categories.at(source).Entry);
            for (const auto album : Sources(FOld.AlbumsIn, entry))
                RemoveAlbum(FOld.Albums.at(album).Entry);
            RemoveOwn(EntryChild(entry, std::string(DescFileName)));
            RemoveOwn(entry);
            present.erase(EntryLeaf(entry));
        }
}

void TMusicDescribing::KeepUnseen() {
    ReadIndexSongs(FOld);
    const auto kept = [&](std::string_view entry) {
        return !FPrunedEntries.contains(std::string(entry));
    };
    // An album not seen keeps its print; one seen has the print this run gave it, or none.
    for (const auto& [source, songs] : FOld.AlbumSongs) {
        const auto album = FOld.Albums.find(source);
        std::string key(source);
        if (album != FOld.Albums.end() && kept(album->second.Entry) && !FIndex.Albums.contains(key))
            FIndex.AlbumSongs.try_emplace(std::move(key), Owned(songs));
    }
    // Each entry is made only for a source this run did not see.
    const auto keep = [&](auto& index, const auto& old) {
        for (const auto& [source, entry] : old)
            if (kept(entry.Entry))
                if (auto [at, added] = index.try_emplace(std::string(source)); added)
                    at->second = Owned(entry);
    };
    keep(FIndex.Categories, FOld.Categories);
    keep(FIndex.Albums, FOld.Albums);
    keep(FIndex.Songs, FOld.Songs);
}

bool TMusicDescribing::DescribeCategory(const std::vector<TMusicAlbum>& albums, std::size_t first,
                                        std::size_t next, const std::string& categoryEntry) {
    const std::string& category = albums[first].Category;
    // An album's line, made only when the category's file is written.
    struct TLine {
        std::size_t Album;
        std::string Entry;
        std::string Title;
    };
    std::vector<TLine> lines;
    bool allKept = true;
    for (std::size_t i = first; i < next; ++i) {
        if (Stopping())
            break;
        const auto& album = albums[i];
        if (FEvents.OnAlbum)
            FEvents.OnAlbum(SourcePath(album.Source));
        const auto oldAlbum = FOld.Albums.find(album.Source);
        const std::string albumEntry =
            EntryFor(oldAlbum != FOld.Albums.end() ? &oldAlbum->second.Entry : nullptr,
                     categoryEntry, album.Prefix + album.Name, album.DiscMark);
        bool kept = false;
        std::string title = DescribeAlbum(album, FOldAlbums[i], albumEntry, kept);
        if (FStopped)
            break;
        ++FWriter.Summary().AlbumsDescribed;
        allKept = allKept && kept;
        lines.push_back({i, albumEntry, std::move(title)});
        if (FEvents.OnProgress)
            FEvents.OnProgress(++FAlbumsDone, FAlbumsTotal);
    }
    if (FStopped) {
        // The category's file is left as it was; the next run writes it with every album.
        FChanged = true;
        FIndex.Categories[category] = Unfinished(categoryEntry);
        return false;
    }
    // The albums' lines are as they were when every album was kept and the category's file is
    // as the last run left it.
    if (allKept && Kept(FOld.Categories, category, categoryEntry, lines.size(),
                        Sources(FOld.AlbumsIn, categoryEntry).size())) {
        FIndex.Categories[category] = Owned(FOld.Categories.at(category));
        return true;
    }
    FChanged = true;
    MakeFolder(categoryEntry);
    TFolderEntries entries;
    entries.Input.Present = EntryNamesOnDisk(categoryEntry);
    entries.Input.Prune = FOptions.Prune;
    for (const auto& line : lines) {
        const std::string name = EntryLeaf(line.Entry);
        entries.Input.Present.insert(name);
        FWriter.AddEntry(entries, name, SourcePath(albums[line.Album].Source), line.Title,
                         std::nullopt);
    }
    HandleGone(categoryEntry, entries.Input.Present);
    FWriter.Update(EntryPath(categoryEntry), categoryEntry, entries);
    FIndex.Categories[category] = Stamped(categoryEntry);
    return false;
}

void TMusicDescribing::DescribeRoot(const std::vector<TCategoryLine>& lines, bool allKept) {
    if (allKept && FOld.Root && lines.size() == Sources(FOld.CategoriesIn, "").size() &&
        DescKept(*FOld.Root, "")) {
        FIndex.Root = Owned(*FOld.Root);
        return;
    }
    FChanged = true;
    TFolderEntries entries;
    entries.Input.Present = NamesOnDisk(FCatalogue);
    entries.Input.Prune = FOptions.Prune;
    for (const auto& line : lines) {
        entries.Input.Present.insert(line.Entry);
        FWriter.AddEntry(entries, line.Entry, SourcePath(line.Source), NameText(line.Name),
                         std::nullopt);
    }
    HandleGone("", entries.Input.Present);
    FWriter.Update(FCatalogue, "", entries);
    FIndex.Root = Stamped("");
}

TDescribeSummary TMusicDescribing::Run() {
    // An unreadable music folder is told before anything is made for it.
    try {
        platform::CheckFolderReadable(FMusic);
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
    // The old index is read, and the description files it vouches for looked at, while the
    // music folder is scanned: neither needs the other, and on a re-run they are most of the
    // work. A file changed after this look is still merged, never lost: every file is read
    // again just before it is replaced.
    auto oldIndex = std::async(std::launch::async, [this] {
        FOld = ReadOldIndex(FCatalogue, FMusic);
        FOldFiles.LookAt(FCatalogue, FOld);
    });
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
        oldIndex.wait();
        throw EInOutError(FMusic + ": cannot read folder: " + failure.what(), failure.ErrorCode);
    }
    oldIndex.get();

    StartReading(albums);
    FAlbumsTotal = albums.size();
    std::vector<TCategoryLine> rootLines;
    bool allKept = true;
    for (std::size_t first = 0; first < albums.size();) {
        const std::string& category = albums[first].Category;
        const std::string& categoryName = albums[first].CategoryName;
        const auto oldCategory = FOld.Categories.find(category);
        const std::string categoryEntry =
            EntryFor(oldCategory != FOld.Categories.end() ? &oldCategory->second.Entry : nullptr,
                     "", categoryName, "");
        std::size_t next = first;
        while (next < albums.size() && albums[next].Category == category)
            ++next;
        const bool kept = DescribeCategory(albums, first, next, categoryEntry);
        if (FStopped)
            break;
        allKept = allKept && kept;
        rootLines.push_back({categoryEntry, category, categoryName});
        first = next;
    }
    // A stopped run leaves the root's file as it was: it would not name the categories not
    // reached, and a pruning one would drop their lines.
    if (!FStopped)
        DescribeRoot(rootLines, allKept);
    // The index vouches for the description files as they are: they are on the disk first.
    FWriter.SyncNewFiles(FCatalogue);
    if (!FOptions.DryRun && (FChanged || FOld.Source != FMusic)) {
        KeepUnseen();
        try {
            platform::ReplaceFileBytes(JoinPath(FCatalogue, IndexFileName), WriteIndex(FIndex));
        } catch (const EError& failure) {
            FWriter.Report(TProblemKind::FileError, JoinPath(FCatalogue, IndexFileName),
                           std::string("cannot write: ") + failure.what());
        }
    }
    auto& summary = FWriter.Summary();
    summary.SongsDescribed = static_cast<int>(FSongsDescribed);
    summary.Stopped = FStopped;
    return summary;
}

} // namespace

TDescribeSummary DescribeMusicFolder(const std::string& music, const std::string& catalogue,
                                     TSongFactsReader& reader, const TDescribeOptions& options,
                                     const TDescribeEvents& events) {
    return TMusicDescribing(music, catalogue, reader, options, events).Run();
}

} // namespace Catalogue
