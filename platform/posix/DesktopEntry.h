// The texts behind the desktop's default player: key files (desktop entries and the
// mimeapps lists), their value escapes and the Exec command line. Pure readings of text, kept
// apart from the file lookups so that tests and fuzz targets can feed them any bytes.
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform::desktop {

using TStrings = std::vector<std::string>;
using TGroup = std::map<std::string, std::string>;
using TKeyFile = std::map<std::string, TGroup>;

// The parts of text between the delimiters, empty ones included.
TStrings Split(const std::string& text, char delimiter);

// The groups of a key file: "[group]" lines and "key=value" lines, blanks around the key and
// before the value removed, "#" comments skipped; the first occurrence of a key counts.
TKeyFile ParseKeyFile(std::istream& in);

// The non-empty ids of the ";"-separated list that group gives for key; none without it.
TStrings ListedIds(const TKeyFile& file, const std::string& group, const std::string& key);

// A value of string type with its escapes (\s \n \t \r \\) replaced; any other
// backslash stays for the argument quoting to read.
std::string UnescapeValue(const std::string& value);

// The arguments of an Exec command line: blanks separate them, and inside quotation marks
// \" \` \$ \\ stand for the second character. Nothing when a quotation is not closed.
std::optional<TStrings> SplitArguments(const std::string& line);

// Removes the field codes (%f, %U, %i and the like), turns %% into %, and drops the
// arguments that were nothing but field codes.
TStrings RemoveFieldCodes(const TStrings& args);

// An argument of the player command: as it is, or in quotation marks (with \" inside) when
// it is empty or holds a blank or a quotation mark.
std::string QuotedArgument(const std::string& arg);

} // namespace platform::desktop
