#include "app/CommandLine.h"

#include "app/Version.h"

namespace {
const char* const Synopsis = "Usage: mp3tunestead [--print-tree] [--help] [--version] [PLAYLIST]\n";
} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    for (const auto& argument : arguments) {
        TRunMode mode;
        if (argument == "--help" || argument == "-h")
            mode = TRunMode::rmHelp;
        else if (argument == "--version")
            mode = TRunMode::rmVersion;
        else if (argument == "--print-tree")
            mode = TRunMode::rmPrintTree;
        else if (!argument.empty() && argument[0] != '-' && line.PlaylistFile.empty()) {
            // The desktop opens a playlist file with the program by naming it.
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
           "Settings are kept in $XDG_CONFIG_HOME/mp3tunestead/ (default ~/.config).\n";
}

std::string UsageErrorText(const std::string& rejected) {
    return "mp3tunestead: unknown option or argument '" + rejected + "'\n" + Synopsis +
           "Try 'mp3tunestead --help' for more information.\n";
}
