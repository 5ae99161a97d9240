// Path rules of the catalogue: joining with the platform delimiter, reducing doubled
// delimiters, the description file of a directory and the directory part of a path.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace Catalogue {

#ifdef _WIN32
inline constexpr char PathDelimiter = '\\';
#else
inline constexpr char PathDelimiter = '/';
#endif

// The name of the description file in every directory of the catalogue.
inline constexpr std::string_view DescFileName = "descript.ion";

// Reduces every run of delimiters to a single one (the leading pair of a network
// path included), which is what deleting the first delimiter of the first doubled
// pair until none is left gives.
void ReducePath(std::string& path);

// Writes the parts joined by the delimiter and reduced into out, reusing its storage.
// No part may point into out.
void ComposePath(std::string& out, std::initializer_list<std::string_view> parts);

// parent, delimiter, child; reduced.
std::string JoinPath(std::string_view parent, std::string_view child);

// The description file of a directory: the directory, the delimiter and "descript.ion"; reduced.
std::string DescFilePath(std::string_view directory);

// The path up to and including its last delimiter (on Windows also "/", which its file calls
// take as one, or a colon); empty when there is none.
std::string_view DirectoryPart(std::string_view path);

} // namespace Catalogue
