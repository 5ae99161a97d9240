// Finds the MP3 player the system has registered, for the first run's preferences.
#pragma once

#include "platform/Registry.h"

#include <functional>
#include <optional>
#include <string>

// The player program of an association command: the text up to and including the first
// ".exe" in any letter case, without the quotation mark that opens a quoted program path; a
// command without ".exe" gives its first word, taken from inside its quotation marks when it
// is quoted.
std::string PlayerFromCommand(const std::string& command);

// The program path of a file type's open command: the text inside the quotation marks of a
// quoted program path, whatever it holds; an unquoted one as PlayerFromCommand cuts it.
std::string ProgramOfOpenCommand(const std::string& command);

// A text value of the registry under root: key path, value name. Nothing when the key or the
// value is absent or the value holds no text.
using TRegistryTextReader = std::function<std::optional<std::string>(
    platform::HKEY root, const std::string& key, const std::string& name)>;
// An environment variable's value; nothing when it is not set.
using TVariableReader = std::function<std::optional<std::string>(const std::string& name)>;

// Replaces every %NAME% whose variable is set by its value, as the system expands a path kept
// as an expandable text; a name that is not set, and a lone "%", stay as written.
std::string ExpandVariables(const std::string& text, const TVariableReader& variable);

// The player that opens .mp3 files: the file type the user chose for them (HKEY_CURRENT_USER's
// Explorer FileExts\.mp3\UserChoice, value "ProgId"), else the one HKEY_CLASSES_ROOT\.mp3
// names; the first of them whose shell\open\command gives a program path, with its variables
// expanded. Empty when neither does.
std::string PlayerOfFileType(const TRegistryTextReader& read, const TVariableReader& variable);
