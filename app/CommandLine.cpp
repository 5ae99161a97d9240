#include "app/CommandLine.h"

#include "app/Version.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {
const char* const Synopsis = "Usage: mp3tunestead [--print-tree] [--help] [--version] [PLAYLIST]\n";

// Where the settings store of this system keeps its values.
#ifdef _WIN32
const char* const SettingsLocation = "Settings are kept in the registry, under\n"
                                     "HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2.\n";
#else
const char* const SettingsLocation =
    "Settings are kept in $XDG_CONFIG_HOME/mp3tunestead/ (default ~/.config).\n";
#endif

// The options that Qt's application object takes (its own, the widgets' and those of the X11
// platform), written with "-" or "--": those followed by a value, those without one, and those
// that carry their value after "=".
constexpr std::array<std::string_view, 16> QtOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "title",         "icon",       "name",
    "visual"};
constexpr std::array<std::string_view, 5> QtFlags = {"reverse", "widgetcount", "testability",
                                                     "nograb", "dograb"};
constexpr std::array<std::string_view, 3> QtJoinedOptions = {
    "style=", "stylesheet=", "qmljsdebugger="};

enum class TQtOption { qoNone, qoFlag, qoWithValue };

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TQtOption QtOption(std::string_view argument) {
    if (argument.size() < 2 || argument[0] != '-')
        return TQtOption::qoNone;
    argument.remove_prefix(argument[1] == '-' ? 2 : 1);
    if (Contains(QtOptionsWithValue, argument))
        return TQtOption::qoWithValue;
    if (Contains(QtFlags, argument))
        return TQtOption::qoFlag;
    for (const std::string_view joined : QtJoinedOptions)
        if (argument.size() > joined.size() && argument.substr(0, joined.size()) == joined)
            return TQtOption::qoFlag;
    return TQtOption::qoNone;
}
} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        TRunMode mode;
        if (argument == "--help" || argument == "-h")
            mode = TRunMode::rmHelp;
        else if (argument == "--version")
            mode = TRunMode::rmVersion;
        else if (argument == "--print-tree")
            mode = TRunMode::rmPrintTree;
        else if (const TQtOption qt = QtOption(argument); qt != TQtOption::qoNone) {
            // The application object takes the option and its value (a desktop session's id
            // after -session, which the program does not use).
            if (qt == TQtOption::qoWithValue)
                ++i;
            continue;
        } else if (!argument.empty() && argument[0] != '-' && line.PlaylistFile.empty()) {
            line.PlaylistFile = argument;
            continue;
        } else
            return {TRunMode::rmUsageError, argument, {}};
        // --help wins over everything, --version over the tree.
        if (line.Mode == TRunMode::rmWindows || mode < line.Mode)
            line.Mode = mode;
    }
    return line;
}

std::string VersionText() {
    return std::string("mp3tunestead ") + TUNESTEAD_VERSION + "\n";
}

std::string HelpText() {
    return std::string(Synopsis) +
           "A catalogue of MP3 albums described by descript.ion files; it hands songs,\n"
           "albums and playlists to the MP3 player of your choice.\n"
           "\n"
           "Options:\n"
           "  --print-tree  read the catalogue of the stored settings without showing a\n"
           "                window, print the album tree and its totals, then exit\n"
           "  -h, --help    show this help and exit\n"
           "  --version     show the version and exit\n"
           "  PLAYLIST      a playlist file to open in the playlist editor: the program's\n"
           "                own, an M3U or M3U8, or a text PLS\n"
           "\n"
           "Qt's own options (-platform, -style, -reverse, ...) are taken as Qt defines them.\n"
           "\n" +
           SettingsLocation;
}

std::string UsageErrorText(const std::string& rejected) {
    return "mp3tunestead: unknown option or argument '" + rejected + "'\n" + Synopsis +
           "Try 'mp3tunestead --help' for more information.\n";
}
