// The message texts of the catalogue readers: syntax errors, and description files missing
// or refused. Lines of a message are separated by a carriage return alone.
#pragma once

#include "catalogue/DescFile.h"

#include <string>
#include <string_view>

namespace Catalogue {

// Box text for a line of descPath that fails the syntax test:
// Syntax error in file "Ddescript.ion". CR You must separate ... TWO spaces.
// where D is the directory part of descPath.
std::string SyntaxErrorMessage(std::string_view descPath);

// The description that stands for a line failing the syntax test: <Ddescript.ion : syntax error>.
std::string SyntaxErrorText(std::string_view descPath);

// The box text for a category description file missing while the album tree is read
// (ends with a blank).
std::string CategoryFileMissingMessage(std::string_view descPath);

// The box text for a description file missing when songs are listed or albums are
// searched (no trailing blank).
std::string DescFileMissingMessage(std::string_view descPath);

// The box text for a description file refused unread: "PATH" is not a regular file. or
// "PATH" is larger than 64 MiB.
std::string RefusedFileMessage(std::string_view descPath, TDescRead result);

// The box text for a category description file not read while the album tree is read: missing
// (it cannot be opened) or refused.
std::string CategoryFileNotReadMessage(std::string_view descPath, TDescRead result);

// The box text for a description file not read when songs are listed or albums are searched.
std::string DescFileNotReadMessage(std::string_view descPath, TDescRead result);

} // namespace Catalogue
