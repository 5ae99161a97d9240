#include "platform/DesktopPlayer.h"

#include "platform/posix/DesktopEntry.h"
#include "platform/posix/XdgFolders.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

namespace fs = std::filesystem;
using namespace desktop;

const std::string MimeType = "audio/mpeg";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The per-user base folder, when one is known.
void AddUserDir(TStrings& dirs, xdg::TBase base) {
    if (auto folder = xdg::UserBaseFolder(base); !folder.empty())
        dirs.push_back(std::move(folder));
}

// Relative entries of the shared folder lists are invalid and ignored.
void AddSharedDirs(TStrings& dirs, const char* name, const char* fallback, const char* suffix) {
    const std::string value = Env(name);
    for (const auto& dir : Split(value.empty() ? fallback : value, ':'))
        if (!dir.empty() && dir[0] == '/')
            dirs.push_back(dir + suffix);
}

// The applications folders, most important first.
TStrings ApplicationDirs() {
    TStrings dirs;
    AddUserDir(dirs, xdg::TBase::Data);
    if (!dirs.empty())
        dirs.front() += "/applications";
    AddSharedDirs(dirs, "XDG_DATA_DIRS", "/usr/local/share:/usr/share", "/applications");
    return dirs;
}

// The association lists, most important first: in each configuration folder and then in
// each applications folder, the lists of the current desktops before the general one.
TStrings MimeAppsLists(const TStrings& appDirs) {
    TStrings dirs;
    AddUserDir(dirs, xdg::TBase::Config);
    AddSharedDirs(dirs, "XDG_CONFIG_DIRS", "/etc/xdg", "");
    dirs.insert(dirs.end(), appDirs.begin(), appDirs.end());
    TStrings desktops;
    for (auto desktop : Split(Env("XDG_CURRENT_DESKTOP"), ':')) {
        for (char& c : desktop)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!desktop.empty())
            desktops.push_back(desktop);
    }
    TStrings lists;
    for (const auto& dir : dirs) {
        for (const auto& desktop : desktops)
            lists.push_back(dir + "/" + desktop + "-mimeapps.list");
        lists.push_back(dir + "/mimeapps.list");
    }
    return lists;
}

// The groups of a key file; empty when unreadable.
TKeyFile ReadKeyFile(const fs::path& file) {
    std::ifstream in(file);
    return ParseKeyFile(in);
}

// The desktop ids listed for our MIME type in `group`.
TStrings ListedIds(const TKeyFile& file, const std::string& group) {
    return desktop::ListedIds(file, group, MimeType);
}

// Default applications in the order of their lists; then the added associations and the
// caches of the applications folders, without those a more important list removed.
TStrings CandidateIds(const TStrings& appDirs) {
    TStrings defaults, added;
    std::set<std::string> removed;
    for (const auto& list : MimeAppsLists(appDirs)) {
        const TKeyFile file = ReadKeyFile(list);
        const TStrings fileDefaults = ListedIds(file, "Default Applications");
        defaults.insert(defaults.end(), fileDefaults.begin(), fileDefaults.end());
        for (const auto& id : ListedIds(file, "Removed Associations"))
            removed.insert(id);
        for (const auto& id : ListedIds(file, "Added Associations"))
            if (!removed.contains(id))
                added.push_back(id);
    }
    for (const auto& dir : appDirs)
        for (const auto& id : ListedIds(ReadKeyFile(dir + "/mimeinfo.cache"), "MIME Cache"))
            if (!removed.contains(id))
                added.push_back(id);
    defaults.insert(defaults.end(), added.begin(), added.end());
    return defaults;
}

// The file of desktop id `id` below `dir`: named by the id, or in a subfolder when a dash
// of the id stands for the folder delimiter ("kde-foo.desktop" is also kde/foo.desktop).
std::optional<fs::path> FindBelow(const fs::path& dir, const std::string& id) {
    std::error_code error;
    if (fs::is_regular_file(dir / id, error))
        return dir / id;
    for (auto dash = id.find('-'); dash != std::string::npos; dash = id.find('-', dash + 1))
        if (fs::is_directory(dir / id.substr(0, dash), error))
            if (auto found = FindBelow(dir / id.substr(0, dash), id.substr(dash + 1)))
                return found;
    return std::nullopt;
}

// The full path of an executable program; a name with a folder in it is taken as it is.
std::optional<std::string> ResolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    for (const auto& dir : Split(path != nullptr ? path : "/usr/bin:/bin", ':')) {
        const std::string candidate = dir + "/" + name;
        struct stat info {};
        if (!dir.empty() && dir[0] == '/' && stat(candidate.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

// The arguments of the application `id` when its desktop file is installed, shown and
// valid. The most important folder holding the id decides, even when it hides the entry.
std::optional<TStrings> ApplicationArguments(const std::string& id, const TStrings& appDirs) {
    if (id.find('/') != std::string::npos || !id.ends_with(".desktop"))
        return std::nullopt;
    std::optional<fs::path> file;
    for (auto dir = appDirs.begin(); !file && dir != appDirs.end(); ++dir)
        file = FindBelow(*dir, id);
    if (!file)
        return std::nullopt;
    TGroup entry = ReadKeyFile(*file)["Desktop Entry"];
    if (entry["Hidden"] == "true" || entry["Exec"].empty())
        return std::nullopt;
    if (entry.contains("TryExec") && !ResolveProgram(UnescapeValue(entry["TryExec"])))
        return std::nullopt;
    auto args = SplitArguments(UnescapeValue(entry["Exec"]));
    if (!args)
        return std::nullopt;
    TStrings result = RemoveFieldCodes(*args);
    if (result.empty() || result.front().empty())
        return std::nullopt;
    return result;
}

} // namespace

std::optional<std::string> DesktopPlayerCommand() {
    const TStrings appDirs = ApplicationDirs();
    for (const auto& id : CandidateIds(appDirs)) {
        const auto args = ApplicationArguments(id, appDirs);
        if (!args)
            continue;
        const auto program = ResolveProgram(args->front());
        if (!program)
            return std::nullopt;
        std::string command = QuotedArgument(*program);
        for (auto arg = args->begin() + 1; arg != args->end(); ++arg) {
            command += ' ';
            command += QuotedArgument(*arg);
        }
        return command;
    }
    return std::nullopt;
}

} // namespace platform
