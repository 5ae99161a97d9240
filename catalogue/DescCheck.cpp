#include "catalogue/DescCheck.h"

#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLayout.h"
#include "catalogue/DescLine.h"

#include <optional>
#include <string_view>

namespace Catalogue {

namespace {

enum class TLevel { Root, Category, Album };

// Why the description file of a folder was not read.
std::string NotReadProblem(TDescRead result) {
    switch (result) {
    case TDescRead::NotRegular:
        return "description file is not a regular file";
    case TDescRead::TooLarge:
        return "description file is larger than " +
               std::to_string(MaxDescFileSize / (1024 * 1024)) + " MiB";
    default:
        return "description file missing";
    }
}

class TCatalogueCheck {
public:
    explicit TCatalogueCheck(const TCheckSink& report) : FReport(report) {}

    // Checks the description file of folder and, below the album level, the folders its
    // lines name.
    void CheckFolder(const std::string& folder, TLevel level, const TDescFolder* parent);
    int Problems() const { return FProblems; }

private:
    void Report(const std::string& where, std::size_t lineNumber, const std::string& message) {
        ++FProblems;
        FReport(where + ":" + std::to_string(lineNumber) + ": " + message);
    }
    void CheckSong(std::string_view line, std::size_t lineNumber, const std::string& descPath,
                   const std::string& songPath, const TDescFolder& folder);

    const TCheckSink& FReport;
    int FProblems = 0;
    // One buffer for every description file of the walk.
    TDescFile FFile;
};

void TCatalogueCheck::CheckSong(std::string_view line, std::size_t lineNumber,
                                const std::string& descPath, const std::string& songPath,
                                const TDescFolder& folder) {
    const bool timed = ExtractTime(line).Known();
    if (!timed)
        Report(descPath, lineNumber, "no play time (size or bit rate missing or not a number)");
    const auto size = platform::FileSizeBelow(songPath, folder);
    if (!size) {
        Report(descPath, lineNumber, "song file missing: " + std::string(ExtractDir(line)));
        return;
    }
    const auto written = line.size() > 51 ? ParseNumberField(line.substr(51, 10)) : std::nullopt;
    if (timed && written && static_cast<std::uint64_t>(*written) != *size)
        Report(descPath, lineNumber,
               "size " + std::to_string(*written) + " differs from the file's " +
                   std::to_string(*size) + " bytes: " + std::string(ExtractDir(line)));
}

void TCatalogueCheck::CheckFolder(const std::string& folder, TLevel level,
                                  const TDescFolder* parent) {
    std::string prefix;
    ComposePath(prefix, {folder, ""});
    const TDescFolder here(prefix, parent);
    const std::string descPath = DescFilePath(folder);
    if (!FFile.Open(descPath, &here)) {
        ++FProblems;
        FReport(folder + ": " + NotReadProblem(FFile.Result()));
        return;
    }
    // The lines are copied out before the buffer is reused for the files below.
    const std::string text(FFile.Text());
    TDescLines lines(text);
    std::string_view line;
    std::size_t lineNumber = 0;
    std::string childPath;
    while (lines.NextRawLine(line)) {
        ++lineNumber;
        if (IsBlankLine(line) || IsCommentLine(line))
            continue;
        const auto name = ExtractDir(line);
        if (!PassesSyntaxTest(line)) {
            if (name.size() > MaxNameLength)
                Report(descPath, lineNumber,
                       "name longer than " + std::to_string(MaxNameLength) +
                           " characters: " + std::string(name));
            else
                Report(descPath, lineNumber,
                       "syntax error: no two blanks after the name within the first 20 columns");
        }
        if (name.empty())
            continue;
        ComposePath(childPath, {folder, name});
        if (level == TLevel::Album)
            CheckSong(line, lineNumber, descPath, childPath, here);
        else
            CheckFolder(childPath, level == TLevel::Root ? TLevel::Category : TLevel::Album, &here);
    }
}

} // namespace

int CheckCatalogue(const std::string& root, const TCheckSink& report) {
    TCatalogueCheck check(report);
    check.CheckFolder(root, TLevel::Root, nullptr);
    return check.Problems();
}

} // namespace Catalogue
