#include "describing/DescCheck.h"

#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "catalogue/ReadAhead.h"
#include "describing/DescLayout.h"
#include "describing/FolderListing.h"
#include "platform/Errors.h"
#include "platform/MusicFiles.h"

#include <optional>
#include <string_view>
#include <unordered_set>

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

// The description files of the folders that one read names, in the order the check reads them:
// every non-blank, non-comment line with a file name names a folder, down to the album level.
void CheckFollowingFiles(const TReadAheadFile& file, std::string_view text,
                         std::vector<TReadAheadFile>& following) {
    if (file.Level == static_cast<int>(TLevel::Album))
        return;
    std::string prefix;
    ComposePath(prefix, {file.Base, ""});
    const auto folder = std::make_shared<const TDescFolder>(prefix, file.Folder.get());
    TDescLines lines(text);
    std::string_view line;
    while (lines.NextRawLine(line)) {
        const auto name = ExtractDir(line);
        if (IsBlankLine(line) || IsCommentLine(line) || name.empty())
            continue;
        TReadAheadFile next;
        ComposePath(next.Base, {file.Base, name});
        next.Path = DescFilePath(next.Base);
        next.Folder = folder;
        next.Level = file.Level + 1;
        following.push_back(std::move(next));
    }
}

class TCatalogueCheck {
public:
    TCatalogueCheck(const TCheckSink& report, const std::string& root,
                    const TReadAheadOptions& readAhead)
        : FReport(report), FAhead(CheckFollowingFiles, readAhead) {
        TReadAheadFile rootDesc;
        rootDesc.Path = DescFilePath(root);
        rootDesc.Base = root;
        FAhead.Start({std::move(rootDesc)});
    }

    // Checks the description file of folder and, below the album level, the folders its
    // lines name.
    void CheckFolder(const std::string& folder, TLevel level, const TDescFolder* parent);
    int Problems() const { return FProblems; }
    // Reports the song files and the folders of songs below folder that no line reaches.
    void CheckUnreached(const std::string& folder);

private:
    void Report(const std::string& where, std::size_t lineNumber, const std::string& message) {
        ++FProblems;
        FReport(where + ":" + std::to_string(lineNumber) + ": " + message);
    }
    void CheckSong(std::string_view line, std::size_t lineNumber, const std::string& descPath,
                   const std::string& songPath, const TDescFolder& folder);

    const TCheckSink& FReport;
    TReadAhead FAhead;
    int FProblems = 0;
    // One buffer for every description file of the walk.
    TDescFile FFile;
    // The album folders and song files that lines reach, and the folders the search for
    // unreached songs has been in (a link back up the tree is followed once).
    std::unordered_set<std::string> FReachedAlbums;
    std::unordered_set<std::string> FReachedSongs;
    std::unordered_set<std::string> FSearched;
};

void TCatalogueCheck::CheckUnreached(const std::string& folder) {
    const std::string identity = platform::FolderIdentity(folder);
    if (!identity.empty() && !FSearched.insert(identity).second)
        return;
    TListing listing;
    try {
        listing = ListFolder(folder);
    } catch (const EError&) {
        return;
    }
    std::string path;
    const bool albumReached = FReachedAlbums.contains(folder);
    if (!listing.Songs.empty() && !albumReached) {
        ++FProblems;
        FReport(folder + ": folder of MP3 files that no description line reaches");
    }
    for (const auto& song : listing.Songs) {
        ComposePath(path, {folder, song});
        if (!FReachedSongs.contains(path)) {
            ++FProblems;
            FReport(path + ": MP3 file that no description line reaches");
        }
    }
    for (const auto& name : listing.NotRegular) {
        ++FProblems;
        ComposePath(path, {folder, name});
        FReport(path + ": named like an MP3 file but not a regular file");
    }
    for (const auto& child : listing.Folders) {
        ComposePath(path, {folder, child});
        CheckUnreached(path);
    }
}

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
    if (!FAhead.Open(FFile, {descPath, static_cast<int>(level), folder, &here})) {
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
        if (level == TLevel::Album) {
            FReachedSongs.insert(childPath);
            CheckSong(line, lineNumber, descPath, childPath, here);
        } else {
            if (level == TLevel::Category)
                FReachedAlbums.insert(childPath);
            CheckFolder(childPath, level == TLevel::Root ? TLevel::Category : TLevel::Album, &here);
        }
    }
}

} // namespace

int CheckCatalogue(const std::string& root, const TCheckSink& report,
                   const TReadAheadOptions& readAhead) {
    TCatalogueCheck check(report, root, readAhead);
    check.CheckFolder(root, TLevel::Root, nullptr);
    check.CheckUnreached(root);
    return check.Problems();
}

} // namespace Catalogue
