// What a folder holds, to prove that something left it alone: every file's bytes and every
// file's and folder's modification time below it. Links are taken as they are, never followed.
#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>

using TFolderSnapshot =
    std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;

inline TFolderSnapshot Snapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    TFolderSnapshot snapshot;
    snapshot[""] = {"", fs::last_write_time(folder)};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const auto relative = fs::relative(entry.path(), folder).string();
        const bool file = entry.is_regular_file() && !entry.is_symlink();
        snapshot[relative] = {file ? TTempDir::Read(entry.path()) : "",
                              entry.is_symlink() ? fs::file_time_type() : entry.last_write_time()};
    }
    return snapshot;
}
