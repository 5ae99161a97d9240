#include "catalogue/CatalogueWalk.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/PlayTimeText.h"
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

// One reading of the catalogue: the files, texts and reports it keeps from file to file.
class TCatalogueWalker {
public:
    explicit TCatalogueWalker(const TCatalogueWalkEvents& events)
        : FEvents(events), FReports(events.OnSyntaxError) {}

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
    TDescFile FRootFile;
    TDescFile FCategoryFile;
    TDescFile FAlbumFile;
    std::string FRootDesc;
    std::string FCategoryDesc;
    std::string FAlbumPath;
    std::string FAlbumDesc;
    std::string FCategoryError;
    std::string FAlbumError;
};

void TCatalogueWalker::WalkRoot(const std::string& root) {
    ComposePath(FRootDesc, {root, DescFileName});
    if (!FRootFile.Open(FRootDesc))
        return;
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
    if (!FCategoryFile.Open(FCategoryDesc, &rootFolder)) {
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
        const auto time = FAlbumFile.Open(FAlbumDesc, &categoryFolder)
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
                               const TCatalogueWalkEvents& events) {
    TCatalogueWalker walker(events);
    for (const auto& root : roots)
        walker.WalkRoot(root);
    return walker.Totals();
}

} // namespace Catalogue
