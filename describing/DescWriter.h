// The writing of one folder's description file during a describing: the lines of the entries
// found on disk are merged into the existing file and the file is replaced whole when its bytes
// change (or the change is handed over as a diff); what a line cannot hold is reported.
#pragma once

#include "describing/DescMerge.h"
#include "describing/DescribeWalk.h"

#include <optional>
#include <string>
#include <vector>

namespace Catalogue {

// An entry found on disk with what its new line would need reporting for.
struct TPendingEntry {
    std::string Path;
    std::string Title;
    bool Cut = false;
    int Unrepresentable = 0;
};

// The entries of one folder's description file, gathered before it is written.
struct TFolderEntries {
    TMergeInput Input;
    std::vector<TPendingEntry> Pending;
};

class TDescWriter {
public:
    TDescWriter(const TDescribeOptions& options, const TDescribeEvents& events)
        : FOptions(options), FEvents(events) {}

    void Report(TProblemKind kind, const std::string& path, const std::string& message);
    // False (and reported) for a name no line can carry.
    bool Describable(const std::string& name, const std::string& path);
    // The numbers of a song line for facts, or nothing (reported) when the fields cannot hold
    // them.
    std::optional<TSongNumbers> SongNumbers(const std::string& path, const TSongFacts& facts);
    // Adds the entry's line to the folder's entries.
    void AddEntry(TFolderEntries& entries, const std::string& name, const std::string& path,
                  const std::string& title, const std::optional<TSongNumbers>& numbers);
    // Merges and writes the description file of folder; relative names it in a diff.
    void Update(const std::string& folder, const std::string& relative, TFolderEntries& entries);
    // Waits until the description files made new (not yet on the disk) are there: on the file
    // system that holds folder.
    void SyncNewFiles(const std::string& folder);

    TDescribeSummary& Summary() { return FSummary; }

private:
    // The file's bytes, nothing when there is none, or a report and false when it cannot be
    // read.
    bool ReadExisting(const std::string& descPath, std::optional<std::string>& existing);

    const TDescribeOptions& FOptions;
    const TDescribeEvents& FEvents;
    TDescribeSummary FSummary;
    // A description file was made new since the last SyncNewFiles.
    bool FUnsynced = false;
};

// The text with blanks and tabs taken off both ends.
std::string Trimmed(std::string_view text);

} // namespace Catalogue
