#include "catalogue/SongList.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/PlayTimeText.h"
#include "catalogue/SyntaxReports.h"

namespace Catalogue {

TSongListing ListSongs(std::string_view albumDir, std::string_view prefix,
                       const TSongListEvents& events) {
    TSongListing listing;
    listing.DescPath = DescFilePath(albumDir);
    TDescFile file;
    const bool opened = file.Open(listing.DescPath);
    listing.Result = file.Result();
    if (!opened)
        return listing;
    listing.Opened = true;
    TSyntaxReports reports(events.OnSyntaxError);
    auto lines = file.Lines();
    std::string_view line;
    int number = 0;
    while (lines.NextLine(line)) {
        TSongRow row;
        row.Time = ExtractTime(line);
        listing.Total.Add(row.Time);
        row.LengthText = LengthText(row.Time);
        row.Path = JoinPath(albumDir, ExtractDir(line));
        if (events.OnAppend)
            events.OnAppend(row);
        ++number;
        const auto field = ParseDescription(line);
        row.SyntaxError = field.SyntaxError;
        row.Caption = std::string(prefix) + dec2str(number, 2, '0') + ". ";
        if (field.SyntaxError) {
            reports.Report(listing.DescPath);
            row.Caption += SyntaxErrorText(listing.DescPath);
        } else {
            row.Caption += field.Text;
        }
        if (events.OnRow)
            events.OnRow(row);
        listing.Rows.push_back(std::move(row));
    }
    return listing;
}

TDuration SumPlayTimes(TDescLines lines) {
    TDuration sum;
    std::string_view line;
    while (lines.NextLine(line))
        sum.Add(ExtractTime(line));
    sum.CarrySeconds();
    return sum;
}

TDuration CalcAlbumPlaytime(std::string_view albumDir) {
    TDescFile file;
    if (!file.Open(DescFilePath(albumDir)))
        return {};
    return SumPlayTimes(file.Lines());
}

} // namespace Catalogue
