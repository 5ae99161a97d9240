// The describing of a whole catalogue: walks ROOT/CATEGORY/ALBUM/*.mp3, merges what it finds
// into the description file of every level and writes each changed file whole (or shows
// the change as a diff); what the format cannot hold is reported, never dropped unseen.
#pragma once

#include "describing/DescCodePage.h"
#include "describing/SongFacts.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace Catalogue {

struct TDescribeOptions {
    TCodePage CodePage = TCodePage::Auto;
    // Drop the lines of entries gone from disk.
    bool Prune = false;
    // Write nothing; hand each change over as a unified diff.
    bool DryRun = false;
    // Songs read at once when describing into a catalogue of its own (the reader must then
    // allow calls from several threads); 1 reads each in its turn.
    unsigned ReadThreads = 1;
};

enum class TProblemKind {
    // An entry that could not be described, or described only in part.
    NameTooLong,
    NameUnwritable,
    DescriptionCut,
    NotRepresentable,
    SongUnreadable,
    NumbersNotHeld,
    FolderUnreadable,
    // A song whose link in the catalogue could not be made.
    LinkNotMade,
    // A song or folder where the layout of the description files has no line for it.
    OutsideLayout,
    // A description file that could not be read or written: it was left as it was.
    FileError,
};
inline constexpr std::size_t ProblemKindCount = 10;

// The words that name a kind of problem in a count ("name(s) too long", ...).
std::string_view ProblemKindText(TProblemKind kind);

struct TProblem {
    TProblemKind Kind;
    // The song file, folder or description file concerned.
    std::string Path;
    std::string Message;
};

struct TDescribeEvents {
    std::function<void(const TProblem&)> OnProblem;
    // A dry run's change of one file: its unified diff with paths relative to the root.
    std::function<void(const std::string& diff)> OnDiff;
    // After each album: albums done and albums in all.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    // Another run holds the catalogue: this one waits until it is done.
    std::function<void()> OnBusy;
    // Before each album: the folder of songs about to be read.
    std::function<void(const std::string& folder)> OnAlbum;
    // After each song described, and after an album kept as it was: songs described so far.
    std::function<void(std::size_t songs)> OnSongs;
    // Asked before each album and each song; true stops the run there. Every description file
    // is then left whole (the old one or the new one), and what was done is recorded so that
    // the next run goes on from there.
    std::function<bool()> Cancelled;
};

struct TDescribeSummary {
    std::array<int, ProblemKindCount> Problems{};
    // Files written, or in a dry run files that would be.
    int FilesChanged = 0;
    int LinesAdded = 0;
    int LinesRefreshed = 0;
    int LinesPruned = 0;
    // Songs and albums that have their lines after the run, and songs opened to be read.
    int SongsDescribed = 0;
    int AlbumsDescribed = 0;
    int SongsRead = 0;
    // The run stopped early because Cancelled said so.
    bool Stopped = false;

    int Count(TProblemKind kind) const { return Problems[static_cast<std::size_t>(kind)]; }
    // Problems of entries, file errors left out.
    int EntryProblems() const;
};

// Describes the catalogue below root. Throws EInOutError when root itself cannot be read;
// every other failure is reported through events and the walk goes on.
TDescribeSummary DescribeCatalogue(const std::string& root, TSongFactsReader& reader,
                                   const TDescribeOptions& options, const TDescribeEvents& events);

} // namespace Catalogue
