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

} // namespace

std::string TCatalogueTotals::AlbumCountText() const {
    return Catalogue::AlbumCountText(Albums);
}

std::string TCatalogueTotals::TotalText() const {
    return CatalogueTotalText(Time);
}

TCatalogueTotals WalkCatalogue(const std::vector<std::string>& roots,
                               const TCatalogueWalkEvents& events) {
    TCatalogueTotals totals;
    TSyntaxReports reports(events.OnSyntaxError);
    TDescFile rootFile;
    TDescFile categoryFile;
    TDescFile albumFile;
    std::string rootDesc;
    std::string categoryDesc;
    std::string albumPath;
    std::string albumDesc;
    std::string categoryError;
    std::string albumError;
    for (const auto& root : roots) {
        ComposePath(rootDesc, {root, DescFileName});
        if (!rootFile.Open(rootDesc))
            continue;
        const TDescFolder rootFolder(DirectoryPart(rootDesc));
        auto rootLines = rootFile.Lines();
        std::string_view rootLine;
        while (rootLines.NextLine(rootLine)) {
            const auto categoryText = NodeText(rootLine, rootDesc, reports, categoryError);
            if (events.OnCategory)
                events.OnCategory(categoryText);
            const auto categoryDir = ExtractDir(rootLine);
            ComposePath(categoryDesc, {root, categoryDir, DescFileName});
            if (!categoryFile.Open(categoryDesc, &rootFolder)) {
                if (events.OnCategoryFileMissing)
                    events.OnCategoryFileMissing(
                        CategoryFileNotReadMessage(categoryDesc, categoryFile.Result()));
                continue;
            }
            const TDescFolder categoryFolder(DirectoryPart(categoryDesc), &rootFolder);
            auto albumLines = categoryFile.Lines();
            std::string_view albumLine;
            while (albumLines.NextLine(albumLine)) {
                ComposePath(albumPath, {root, categoryDir, ExtractDir(albumLine)});
                const auto albumText = NodeText(albumLine, categoryDesc, reports, albumError);
                ComposePath(albumDesc, {albumPath, DescFileName});
                const auto time = albumFile.Open(albumDesc, &categoryFolder)
                                      ? SumPlayTimes(albumFile.Lines())
                                      : TDuration{};
                totals.Time.Add(time);
                ++totals.Albums;
                if (events.OnAlbum)
                    events.OnAlbum(albumText, albumPath, time);
            }
        }
        totals.Time.CarrySeconds();
        totals.Time.CarryMinutes();
        if (events.OnRootDone)
            events.OnRootDone(totals);
    }
    return totals;
}

} // namespace Catalogue
