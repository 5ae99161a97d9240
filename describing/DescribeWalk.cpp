#include "describing/DescribeWalk.h"

#include "catalogue/CataloguePath.h"
#include "describing/DescLayout.h"
#include "describing/DescMerge.h"
#include "describing/UnifiedDiff.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unordered_set>
#include <vector>

namespace Catalogue {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view SongExtension = ".mp3";

// What one folder holds.
struct TListing {
    // Subfolders and song files that are not hidden, in name order.
    std::vector<std::string> Folders;
    std::vector<std::string> Songs;
    // Every name in the folder.
    std::unordered_set<std::string> Present;
};

bool IsSongName(std::string_view name) {
    if (name.size() <= SongExtension.size())
        return false;
    const auto extension = name.substr(name.size() - SongExtension.size());
    return std::equal(extension.begin(), extension.end(), SongExtension.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

// The listing of a folder; throws EInOutError naming the folder when it cannot be read.
TListing ListFolder(const std::string& folder) {
    TListing listing;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        listing.Present.insert(name);
        if (name.front() == '.')
            continue;
        std::error_code ignored;
        if (entries->is_directory(ignored))
            listing.Folders.push_back(std::move(name));
        else if (IsSongName(name) && entries->is_regular_file(ignored))
            listing.Songs.push_back(std::move(name));
    }
    if (error)
        throw EInOutError(error.message(), error.value());
    std::sort(listing.Folders.begin(), listing.Folders.end());
    std::sort(listing.Songs.begin(), listing.Songs.end());
    return listing;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// An entry found on disk with what its new line would need reporting for.
struct TPendingEntry {
    std::string Path;
    std::string Title;
    bool Cut = false;
    int Unrepresentable = 0;
};

class TDescribeWalk {
public:
    TDescribeWalk(TSongFactsReader& reader, const TDescribeOptions& options,
                  const TDescribeEvents& events)
        : FReader(reader), FOptions(options), FEvents(events) {}

    TDescribeSummary Run(const std::string& root);

private:
    void Report(TProblemKind kind, const std::string& path, const std::string& message) {
        ++FSummary.Problems[static_cast<std::size_t>(kind)];
        if (FEvents.OnProblem)
            FEvents.OnProblem({kind, path, message});
    }

    // False (and reported) for a name no line can carry.
    bool Describable(const std::string& name, const std::string& path);
    std::optional<TListing> List(const std::string& folder);
    // Adds the entry to the merge input and to the entries to report on.
    void AddEntry(TMergeInput& input, std::vector<TPendingEntry>& pending, const std::string& name,
                  const std::string& path, const std::string& title,
                  const std::optional<TSongNumbers>& numbers);
    // Describes an album folder and returns its title.
    std::string DescribeAlbum(const std::string& folder, const std::string& relative,
                              const std::string& name);
    // Merges and writes the description file of folder.
    void Update(const std::string& folder, const std::string& relative, TMergeInput& input,
                const std::vector<TPendingEntry>& pending);

    TSongFactsReader& FReader;
    const TDescribeOptions& FOptions;
    const TDescribeEvents& FEvents;
    TDescribeSummary FSummary;
    std::size_t FAlbumsDone = 0;
    std::size_t FAlbumsTotal = 0;
};

bool TDescribeWalk::Describable(const std::string& name, const std::string& path) {
    switch (CheckName(name)) {
    case TNameFault::None:
        return true;
    case TNameFault::TooLong:
        Report(TProblemKind::NameTooLong, path,
               "name longer than " + std::to_string(MaxNameLength) + " characters, not described");
        return false;
    case TNameFault::Unwritable:
        Report(TProblemKind::NameUnwritable, path,
               "name cannot stand in a description line (control character, two blanks in a "
               "row, trailing blank or leading \";\"), not described");
        return false;
    }
    return false;
}

std::optional<TListing> TDescribeWalk::List(const std::string& folder) {
    try {
        return ListFolder(folder);
    } catch (const EError& error) {
        Report(TProblemKind::FolderUnreadable, folder,
               std::string("cannot read folder: ") + error.what());
        return std::nullopt;
    }
}

void TDescribeWalk::AddEntry(TMergeInput& input, std::vector<TPendingEntry>& pending,
                             const std::string& name, const std::string& path,
                             const std::string& title, const std::optional<TSongNumbers>& numbers) {
    auto line = LayOutTitle(name, title, FOptions.CodePage, numbers);
    input.Found.push_back({name, std::move(line.Text), numbers});
    pending.push_back({path, title, line.Cut, line.Unrepresentable});
}

std::string TDescribeWalk::DescribeAlbum(const std::string& folder, const std::string& relative,
                                         const std::string& name) {
    std::string albumTitle;
    const auto listing = List(folder);
    if (!listing)
        return name;
    TMergeInput input;
    input.Present = listing->Present;
    input.Prune = FOptions.Prune;
    std::vector<TPendingEntry> pending;
    for (const auto& song : listing->Songs) {
        const std::string path = JoinPath(folder, song);
        if (!Describable(song, path))
            continue;
        TSongFacts facts;
        try {
            facts = FReader.Read(path);
        } catch (const std::exception& error) {
            Report(TProblemKind::SongUnreadable, path,
                   std::string("cannot read song: ") + error.what());
            continue;
        }
        std::optional<TSongNumbers> numbers;
        if (!facts.LengthMs)
            Report(TProblemKind::NumbersNotHeld, path,
                   "length unknown, line written without size and bit rate");
        else if (facts.Size > static_cast<std::uint64_t>(INT32_MAX))
            Report(TProblemKind::NumbersNotHeld, path,
                   "size of " + std::to_string(facts.Size) +
                       " bytes does not fit the size field, line written without size and bit "
                       "rate");
        else if (!(numbers = ChooseNumbers(facts.Size, *facts.LengthMs)))
            Report(TProblemKind::NumbersNotHeld, path,
                   "no bit rate up to " + std::to_string(MaxBitRate) + " gives " +
                       std::to_string(*facts.LengthMs / 1000) + " s for " +
                       std::to_string(facts.Size) +
                       " bytes, line written without size and bit rate");
        std::string title = Trimmed(facts.Title);
        if (title.empty())
            title = song.substr(0, song.size() - SongExtension.size());
        if (albumTitle.empty())
            albumTitle = Trimmed(facts.Album);
        AddEntry(input, pending, song, path, title, numbers);
    }
    Update(folder, relative, input, pending);
    return albumTitle.empty() ? name : albumTitle;
}

void TDescribeWalk::Update(const std::string& folder, const std::string& relative,
                           TMergeInput& input, const std::vector<TPendingEntry>& pending) {
    const std::string descPath = DescFilePath(folder);
    std::optional<std::string> existing;
    std::error_code error;
    if (fs::exists(fs::symlink_status(descPath, error))) {
        try {
            existing = platform::ReadFileBytes(descPath);
        } catch (const EError& failure) {
            Report(TProblemKind::FileError, descPath,
                   std::string("cannot read description file, left as it is: ") + failure.what());
            return;
        }
    }
    if (existing)
        input.Existing = *existing;
    const auto merged = MergeDescFile(input);
    for (const auto index : merged.Added) {
        const auto& entry = pending[index];
        if (entry.Cut)
            Report(TProblemKind::DescriptionCut, entry.Path,
                   "description cut at column 50: \"" + entry.Title + "\"");
        if (entry.Unrepresentable > 0)
            Report(TProblemKind::NotRepresentable, entry.Path,
                   std::to_string(entry.Unrepresentable) + " character(s) of \"" + entry.Title +
                       "\" not representable in " + std::string(CodePageName(FOptions.CodePage)) +
                       ", written as \"?\"");
    }
    if (existing && *existing == merged.Text)
        return;
    ++FSummary.FilesChanged;
    FSummary.LinesAdded += static_cast<int>(merged.Added.size());
    FSummary.LinesRefreshed += merged.Refreshed;
    FSummary.LinesPruned += merged.Pruned;
    const std::string label =
        relative.empty() ? std::string(DescFileName) : JoinPath(relative, DescFileName);
    if (FOptions.DryRun) {
        std::string diff = UnifiedDiff(existing.value_or(std::string{}), merged.Text,
                                       existing ? "a/" + label : "/dev/null", "b/" + label);
        if (diff.empty())
            diff = "--- /dev/null\n+++ b/" + label + "\n";
        if (FEvents.OnDiff)
            FEvents.OnDiff(diff);
        return;
    }
    try {
        platform::ReplaceFileBytes(descPath, merged.Text);
    } catch (const EError& failure) {
        Report(TProblemKind::FileError, descPath, std::string("cannot write: ") + failure.what());
    }
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
        if (!Describable(name, path))
            continue;
        auto listing = List(path);
        if (listing)
            FAlbumsTotal += listing->Folders.size();
        categories.push_back({name, path, std::move(listing)});
    }

    TMergeInput rootInput;
    rootInput.Present = rootListing.Present;
    rootInput.Prune = FOptions.Prune;
    std::vector<TPendingEntry> rootPending;
    for (const auto& category : categories) {
        AddEntry(rootInput, rootPending, category.Name, category.Path, category.Name, std::nullopt);
        if (!category.Listing)
            continue;
        TMergeInput input;
        input.Present = category.Listing->Present;
        input.Prune = FOptions.Prune;
        std::vector<TPendingEntry> pending;
        for (const auto& album : category.Listing->Folders) {
            const std::string path = JoinPath(category.Path, album);
            if (Describable(album, path)) {
                const std::string title =
                    DescribeAlbum(path, JoinPath(category.Name, album), album);
                AddEntry(input, pending, album, path, title, std::nullopt);
            }
            ++FAlbumsDone;
            if (FEvents.OnProgress)
                FEvents.OnProgress(FAlbumsDone, FAlbumsTotal);
        }
        Update(category.Path, category.Name, input, pending);
    }
    Update(root, "", rootInput, rootPending);
    return FSummary;
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
