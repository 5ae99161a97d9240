#include "describing/DescribeWalk.h"

#include "catalogue/CataloguePath.h"
#include "describing/DescWriter.h"
#include "describing/FolderListing.h"
#include "platform/Errors.h"

#include <optional>
#include <vector>

namespace Catalogue {

namespace {

class TDescribeWalk {
public:
    TDescribeWalk(TSongFactsReader& reader, const TDescribeOptions& options,
                  const TDescribeEvents& events)
        : FReader(reader), FOptions(options), FEvents(events), FWriter(options, events) {}

    TDescribeSummary Run(const std::string& root);

private:
    std::optional<TListing> List(const std::string& folder);
    // Reports the songs of a folder that this layout has no line for.
    void ReportOutside(const std::string& folder, const TListing& listing, const std::string& why);
    void ReportNotRegular(const std::string& folder, const TListing& listing);
    // Describes an album folder and returns its title.
    std::string DescribeAlbum(const std::string& folder, const std::string& relative,
                              const std::string& name);

    TSongFactsReader& FReader;
    const TDescribeOptions& FOptions;
    const TDescribeEvents& FEvents;
    TDescWriter FWriter;
    std::size_t FAlbumsDone = 0;
    std::size_t FAlbumsTotal = 0;
};

std::optional<TListing> TDescribeWalk::List(const std::string& folder) {
    try {
        return ListFolder(folder);
    } catch (const EError& error) {
        FWriter.Report(TProblemKind::FolderUnreadable, folder,
                       std::string("cannot read folder: ") + error.what());
        return std::nullopt;
    }
}

void TDescribeWalk::ReportOutside(const std::string& folder, const TListing& listing,
                                  const std::string& why) {
    for (const auto& song : listing.Songs)
        FWriter.Report(TProblemKind::OutsideLayout, JoinPath(folder, song),
                       why + ", not described");
    ReportNotRegular(folder, listing);
}

void TDescribeWalk::ReportNotRegular(const std::string& folder, const TListing& listing) {
    for (const auto& name : listing.NotRegular)
        FWriter.Report(TProblemKind::SongUnreadable, JoinPath(folder, name),
                       "not a regular file, not described");
}

std::string TDescribeWalk::DescribeAlbum(const std::string& folder, const std::string& relative,
                                         const std::string& name) {
    std::string albumTitle;
    const auto listing = List(folder);
    if (!listing)
        return NameText(name);
    TFolderEntries entries;
    entries.Input.Present = listing->Present;
    entries.Input.Prune = FOptions.Prune;
    ReportNotRegular(folder, *listing);
    for (const auto& subfolder : listing->Folders) {
        const std::string path = JoinPath(folder, subfolder);
        if (HoldsSongs(path))
            FWriter.Report(TProblemKind::OutsideLayout, path,
                           "folder of songs below an album folder, not described");
    }
    for (const auto& song : listing->Songs) {
        const std::string path = JoinPath(folder, song);
        if (!FWriter.Describable(song, path))
            continue;
        TSongFacts facts;
        try {
            facts = FReader.Read(path);
        } catch (const std::exception& error) {
            FWriter.Report(TProblemKind::SongUnreadable, path,
                           std::string("cannot read song: ") + error.what());
            continue;
        }
        const auto numbers = FWriter.SongNumbers(path, facts);
        std::string title = Trimmed(facts.Title);
        if (title.empty())
            title = NameText(song.substr(0, song.size() - SongExtension.size()));
        if (albumTitle.empty())
            albumTitle = Trimmed(facts.Album);
        FWriter.AddEntry(entries, song, path, title, numbers);
    }
    FWriter.Update(folder, relative, entries);
    return albumTitle.empty() ? NameText(name) : albumTitle;
}

TDescribeSummary TDescribeWalk::Run(const std::string& root) {
    TListing rootListing;
    try {
        rootListing = ListFolder(root);
    } catch (const EInOutError& error) {
        throw EInOutError(root + ": cannot read folder: " + error.what(), error.ErrorCode);
    }
    struct TCategory {
        std::string Name;
        std::string Path;
        std::optional<TListing> Listing;
    };
    std::vector<TCategory> categories;
    for (const auto& name : rootListing.Folders) {
        const std::string path = JoinPath(root, name);
        if (!FWriter.Describable(name, path))
            continue;
        auto listing = List(path);
        if (listing)
            FAlbumsTotal += listing->Folders.size();
        categories.push_back({name, path, std::move(listing)});
    }

    TFolderEntries rootEntries;
    rootEntries.Input.Present = rootListing.Present;
    rootEntries.Input.Prune = FOptions.Prune;
    ReportOutside(root, rootListing, "song outside a category and album folder");
    for (const auto& category : categories) {
        FWriter.AddEntry(rootEntries, category.Name, category.Path, NameText(category.Name),
                         std::nullopt);
        if (!category.Listing)
            continue;
        ReportOutside(category.Path, *category.Listing, "song outside an album folder");
        TFolderEntries entries;
        entries.Input.Present = category.Listing->Present;
        entries.Input.Prune = FOptions.Prune;
        for (const auto& album : category.Listing->Folders) {
            const std::string path = JoinPath(category.Path, album);
            if (FWriter.Describable(album, path)) {
                const std::string title =
                    DescribeAlbum(path, JoinPath(category.Name, album), album);
                FWriter.AddEntry(entries, album, path, title, std::nullopt);
            }
            ++FAlbumsDone;
            if (FEvents.OnProgress)
                FEvents.OnProgress(FAlbumsDone, FAlbumsTotal);
        }
        FWriter.Update(category.Path, category.Name, entries);
    }
    FWriter.Update(root, "", rootEntries);
    FWriter.SyncNewFiles(root);
    return FWriter.Summary();
}

} // namespace

std::string_view ProblemKindText(TProblemKind kind) {
    switch (kind) {
    case TProblemKind::NameTooLong:
        return "name(s) too long";
    case TProblemKind::NameUnwritable:
        return "name(s) not writable in a line";
    case TProblemKind::DescriptionCut:
        return "description(s) cut at column 50";
    case TProblemKind::NotRepresentable:
        return "text(s) not representable in the code page";
    case TProblemKind::SongUnreadable:
        return "song file(s) unreadable";
    case TProblemKind::NumbersNotHeld:
        return "song(s) without size and bit rate";
    case TProblemKind::FolderUnreadable:
        return "folder(s) unreadable";
    case TProblemKind::LinkNotMade:
        return "song link(s) not made";
    case TProblemKind::OutsideLayout:
        return "song(s) or folder(s) outside the layout";
    case TProblemKind::FileError:
        return "description file(s) not read or written";
    }
    return {};
}

int TDescribeSummary::EntryProblems() const {
    int count = 0;
    for (std::size_t i = 0; i < ProblemKindCount; ++i)
        if (static_cast<TProblemKind>(i) != TProblemKind::FileError)
            count += Problems[i];
    return count;
}

TDescribeSummary DescribeCatalogue(const std::string& root, TSongFactsReader& reader,
                                   const TDescribeOptions& options, const TDescribeEvents& events) {
    return TDescribeWalk(reader, options, events).Run(root);
}

} // namespace Catalogue
