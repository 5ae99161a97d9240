// The program's command line: what it asks for, and the texts of --help, --version and the
// short usage shown for an option the program does not know. Read before the application
// object exists, so that --help and --version need no display. The options of Qt's
// application object (-platform, -style, -session, ...) are let through with their values:
// the application object takes them.
#pragma once

#include <string>
#include <vector>

enum class TRunMode {
    rmWindows,   // no option: the program with its windows
    rmHelp,      // --help
    rmVersion,   // --version
    rmPrintTree, // --print-tree
    rmUsageError // an unknown option or a second file: reported, exit code 2
};

struct TCommandLine {
    TRunMode Mode = TRunMode::rmWindows;
    // The argument that was not understood, for the usage error.
    std::string Rejected;
    // The one argument that is not an option (a file the desktop opens with the program), as
    // given; empty when there is none.
    std::string PlaylistFile;
};

// The arguments after the program's name.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// "mp3tunestead 1.2".
std::string VersionText();
// The full help: synopsis, every option and where this system keeps the settings.
std::string HelpText();
// The usage error: what was not understood, the synopsis, and where the help is.
std::string UsageErrorText(const std::string& rejected);

// Exit code of a command line that was not understood.
constexpr int UsageExitCode = 2;
