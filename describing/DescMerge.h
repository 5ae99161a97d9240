// The merge of an existing description file with the entries found on disk: the user's
// lines, comments, blank lines and order stay; numbers of changed songs are refreshed; new
// entries are appended; lines of entries gone from disk are dropped only on request.
#pragma once

#include "describing/DescLayout.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace Catalogue {

// One entry that can be described, found on disk.
struct TFoundEntry {
    std::string Name;
    // The whole line written when the file has no line for the entry yet.
    std::string NewLine;
    // For a song whose numbers could be chosen: what its line must hold.
    std::optional<TSongNumbers> Numbers;
};

struct TMergeInput {
    // The file's bytes, or nothing when there is no file yet.
    std::optional<std::string_view> Existing;
    // In name order.
    std::vector<TFoundEntry> Found;
    // Every name present on disk in the folder, described or not: a line naming one of them
    // is never taken for a gone entry.
    std::unordered_set<std::string> Present;
    // Drop the lines whose entries are gone.
    bool Prune = false;
};

struct TMergeResult {
    std::string Text;
    // Indexes into Found of the entries whose NewLine was appended.
    std::vector<std::size_t> Added;
    int Refreshed = 0;
    int Pruned = 0;
};

// The new content of the file. A line is matched to an entry by its file-name field (the
// first such line of a name); a song line is refreshed when its size differs from the file's
// or its play time from the entry's, and then only its columns 52 to 68 are rewritten.
// Lines that fail the syntax test are never refreshed nor dropped.
TMergeResult MergeDescFile(const TMergeInput& input);

} // namespace Catalogue
