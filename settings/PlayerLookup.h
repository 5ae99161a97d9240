// Finds the MP3 player the system has registered, for the first run's preferences.
#pragma once

#include <string>

// The player program of an association command: the text up to and including the first
// ".exe" in any letter case, without the quotation mark that opens a quoted program path; a
// command without ".exe" gives its first word, taken from inside its quotation marks when it
// is quoted.
std::string PlayerFromCommand(const std::string& command);
