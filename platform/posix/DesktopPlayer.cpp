#include "platform/DesktopPlayer.h"

#include "platform/posix/XdgFolders.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

namespace fs = std::filesystem;
using TStrings = std::vector<std::string>;
using TGroup = std::map<std::string, std::string>;
using TKeyFile = std::map<std::string, TGroup>;

const std::string MimeType = "audio/mpeg";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

TStrings Split(const std::string& text, char delimiter) {
    TStrings parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(delimiter, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
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

// The groups of a key file; the first occurrence of a key counts. Empty when unreadable.
TKeyFile ReadKeyFile(const fs::path& file) {
    TKeyFile groups;
    std::ifstream in(file);
    std::string line;
    TGroup* group = nullptr;
    while (std::getline(in, line)) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto equals = line.find('=');
        if (line.empty() || line[0] == '#') {
            continue;
        } else if (line[0] == '[' && line.back() == ']') {
            group = &groups[line.substr(1, line.size() - 2)];
        } else if (group != nullptr && equals != std::string::npos) {
            std::string key = line.substr(0, equals);
            key.erase(key.find_last_not_of(" \t") + 1);
            const auto valueStart = line.find_first_not_of(" \t", equals + 1);
            group->emplace(key, valueStart == std::string::npos ? "" : line.substr(valueStart));
        }
    }
    return groups;
}

// The desktop ids listed for our MIME type in `group`.
TStrings ListedIds(const TKeyFile& file, const std::string& group) {
    TStrings ids;
    const auto found = file.find(group);
    if (found == file.end() || !found->second.contains(MimeType))
        return ids;
    for (const auto& id : Split(found->second.at(MimeType), ';'))
        if (!id.empty())
            ids.push_back(id);
    return ids;
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

// A value of string type with its escapes (\s \n \t \r \\) replaced; any other
// backslash stays for the argument quoting to read.
std::string UnescapeValue(const std::string& value) {
    static const std::map<char, char> escapes = {
        {'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto escape =
            i + 1 < value.size() && value[i] == '\\' ? escapes.find(value[i + 1]) : escapes.end();
        text += escape != escapes.end() ? escape->second : value[i];
        i += escape != escapes.end() ? 1 : 0;
    }
    return text;
}

// The arguments of an Exec command line: blanks separate them, and inside quotation marks
// \" \` \$ \\ stand for the second character. Nothing when a quotation is not closed.
std::optional<TStrings> SplitArguments(const std::string& line) {
    TStrings args;
    std::string current;
    bool started = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '\\' && i + 1 < line.size() && std::strchr("\"`$\\", line[i + 1])) {
            current += line[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            if (started)
                args.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (started)
        args.push_back(current);
    return args;
}

// Removes the field codes (%f, %U, %i and the like), turns %% into %, and drops the
// arguments that were nothing but field codes.
TStrings RemoveFieldCodes(const TStrings& args) {
    TStrings result;
    for (const auto& arg : args) {
        std::string text;
        bool hadCode = false;
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] == '%' && i + 1 < arg.size()) {
                if (arg[++i] == '%')
                    text += '%';
                else
                    hadCode = true;
            } else {
                text += arg[i];
            }
        }
        if (!text.empty() || !hadCode)
            result.push_back(text);
    }
    return result;
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

std::string QuotedArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\"") == std::string::npos)
        return arg;
    std::string text = "\"";
    for (const char c : arg)
        text += c == '"' ? std::string("\\\"") : std::string(1, c);
    return text + "\"";
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
