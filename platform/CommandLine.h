// Windows passes a program one command-line text, which the program splits into its
// arguments; this writes one argument so that it comes back whole and unchanged.
#pragma once

#include <string>

namespace platform {

// The argument as it must stand in a Windows command line to be read back as this one
// argument by the usual splitting (CommandLineToArgvW and the C runtimes): unchanged when it
// is not empty and holds no blank, tab, line break or double quote; otherwise wrapped in
// double quotes, each double quote escaped with a backslash and the backslashes right before
// a double quote (or before the closing one) doubled.
std::string QuoteCommandLineArgument(const std::string& argument);

} // namespace platform
