#include "catalogue/CatalogueWalk.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/PlayTimeText.h"
#include "catalogue/ReadAhead.h"
#include "catalogue/SongList.h"
#include "catalogue/SyntaxReports.h"

namespace Catalogue {

namespace {

// The line without the characters 0 to 32 around it.
std::string_view TrimmedLine(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32)
        line.remove_prefix(1);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
        line.remove_suffix(1);
    return line;
}

// The text of a node: a view of the description, or of the syntax-error text kept in
// errorText after the line has been reported. A node is never left without text: an
// empty description gives way to the file-name field, and that to the whole line.
std::string_view NodeText(std::string_view line, const std::string& descPath,
                          TSyntaxReports& reports, std::string& errorText) {
    const auto field = ParseDescription(line);
    if (!field.SyntaxError) {
        if (!field.Text.empty())
            return field.Text;
        const auto name = ExtractDir(line);
        return name.empty() ? TrimmedLine(line) : name;
    }
    reports.Report(descPath);
    errorText = SyntaxErrorText(descPath);
    return errorText;
}

// The levels of the catalogue's description files.
enum TWalkLevel { RootLevel, CategoryLevel, AlbumLevel };

// The path a category's album names are joined to: the root and the category's file-name
// field. The walk and its reading ahead make it alike, so that the album files listed ahead
// are the ones the walk asks for.
void CategoryBase(std::string& out, std::string_view root, std::string_view categoryDir) {
    out.assign(root);
    out += PathDelimiter;
    out += categoryDir;
}

// The files the walk opens right after one it has read, with their paths made as the walk makes
// them: after a root's file each of its categories' files, after a category's file each of its
// albums' files (a line without a file name names the folder of the file itself).
void WalkFollowingFiles(const TReadAheadFile& file, std::string_view text,
                        std::vector<TReadAheadFile>& following) {
    if (file.Level == AlbumLevel)
        return;
    const auto folder = std::make_shared<const TDescFolder>(
        DirectoryPart(file.Path), file.Level == RootLevel ? nullptr : file.Folder.get());
    auto lines = TDescLines(text);
    std::string_view line;
    std::string albumPath;
    while (lines.NextLine(line)) {
        TReadAheadFile next;
        next.Folder = folder;
        next.Level = file.Level + 1;
        if (file.Level == RootLevel) {
            CategoryBase(next.Base, file.Base, ExtractDir(line));
            ComposePath(next.Path, {next.Base, DescFileName});
        } else {
            ComposePath(albumPath, {file.Base, ExtractDir(line)});
            ComposePath(next.Path, {albumPath, DescFileName});
        }
        following.push_back(std::move(next));
    }
}

// One reading of the catalogue: the files, texts and reports it keeps from file to file.
class TCatalogueWalker {
public:
    // Each root's file is read when its turn comes, with its marks: nothing is listed ahead of
    // the first root, so that a quick reading of a root goes on alone whichever root it is.
    TCatalogueWalker(const TCatalogueWalkEvents& events, const TReadAheadOptions& readAhead)
        : FEvents(events), FReports(events.OnSyntaxError), FAhead(WalkFollowingFiles, readAhead) {
        FAhead.Start({});
    }

    // The categories of one root; nothing when its description file cannot be read.
    void WalkRoot(const std::string& root);
    const TCatalogueTotals& Totals() const { return FTotals; }

private:
    // The category on one line of the root's description file, and its albums.
    void WalkCategory(const std::string& root, std::string_view rootLine,
                      const TDescFolder& rootFolder);

    const TCatalogueWalkEvents& FEvents;
    TCatalogueTotals FTotals;
    TSyntaxReports FReports;
    TReadAhead FAhead;
    TDescFile FRootFile;
    TDescFile FCategoryFile;
    TDescFile FAlbumFile;
    std::string FRootDesc;
    std::string FCategoryDesc;
    std::string FCategoryBase;
    std::string FAlbumPath;
    std::string FAlbumDesc;
    std::string FCategoryError;
    std::string FAlbumError;
};

void TCatalogueWalker::WalkRoot(const std::string& root) {
    ComposePath(FRootDesc, {root, DescFileName});
    if (!FAhead.Open(FRootFile, {FRootDesc, RootLevel, root}))
        return;
    // The folders the files are opened relative to when they are read where nothing listed them.
    const TDescFolder rootFolder(DirectoryPart(FRootDesc));
    auto rootLines = FRootFile.Lines();
    std::string_view rootLine;
    while (rootLines.NextLine(rootLine))
        WalkCategory(root, rootLine, rootFolder);
    FTotals.Time.CarrySeconds();
    FTotals.Time.CarryMinutes();
    if (FEvents.OnRootDone)
        FEvents.OnRootDone(FTotals);
}

void TCatalogueWalker::WalkCategory(const std::string& root, std::string_view rootLine,
                                    const TDescFolder& rootFolder) {
    const auto categoryText = NodeText(rootLine, FRootDesc, FReports, FCategoryError);
    if (FEvents.OnCategory)
        FEvents.OnCategory(categoryText);
    const auto categoryDir = ExtractDir(rootLine);
    ComposePath(FCategoryDesc, {root, categoryDir, DescFileName});
    CategoryBase(FCategoryBase, root, categoryDir);
    if (!FAhead.Open(FCategoryFile, {FCategoryDesc, CategoryLevel, FCategoryBase, &rootFolder})) {
        if (FEvents.OnCategoryFileMissing)
            FEvents.OnCategoryFileMissing(
                CategoryFileNotReadMessage(FCategoryDesc, FCategoryFile.Result()));
        return;
    }
    const TDescFolder categoryFolder(DirectoryPart(FCategoryDesc), &rootFolder);
    auto albumLines = FCategoryFile.Lines();
    std::string_view albumLine;
    while (albumLines.NextLine(albumLine)) {
        ComposePath(FAlbumPath, {root, categoryDir, ExtractDir(albumLine)});
        const auto albumText = NodeText(albumLine, FCategoryDesc, FReports, FAlbumError);
        ComposePath(FAlbumDesc, {FAlbumPath, DescFileName});
        const auto time = FAhead.Open(FAlbumFile, {FAlbumDesc, AlbumLevel, {}, &categoryFolder})
                              ? SumPlayTimes(FAlbumFile.Lines())
                              : TDuration{};
        FTotals.Time.Add(time);
        ++FTotals.Albums;
        if (FEvents.OnAlbum)
            FEvents.OnAlbum(albumText, FAlbumPath, time);
    }
}

} // namespace

std::string TCatalogueTotals::AlbumCountText() const {
    return Catalogue::AlbumCountText(Albums);
}

std::string TCatalogueTotals::TotalText() const {
    return CatalogueTotalText(Time);
}

TCatalogueTotals WalkCatalogue(const std::vector<std::string>& roots,
                               const TCatalogueWalkEvents& events,
                               const TReadAheadOptions& readAhead) {
    TCatalogueWalker walker(events, readAhead);
    for (const auto& root : roots)
        walker.WalkRoot(root);
    return walker.Totals();
}

} // namespace Catalogue
