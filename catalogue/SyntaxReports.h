// The syntax-error boxes of one reading of the album tree, one song listing or one search:
// the first faulty line of each description file is reported, the others of the same file
// are not, so that a file written without the two-blank separator shows one box and not one
// for each of its lines.
#pragma once

#include "catalogue/DescLine.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace Catalogue {

class TSyntaxReports {
public:
    // handler receives the box texts; it may be empty.
    explicit TSyntaxReports(const TSyntaxErrorHandler& handler) : FHandler(handler) {}

    // A line of the description file descPath has failed the syntax test: its box text goes to
    // the handler when it is the file's first such line in this operation.
    void Report(std::string_view descPath);

    // The description of a line of descPath, reporting it when it fails the syntax test; the
    // result is then the syntax-error text for that file.
    std::string Describe(std::string_view line, std::string_view descPath);

private:
    const TSyntaxErrorHandler& FHandler;
    std::unordered_set<std::string> FReported;
};

} // namespace Catalogue
