#include "catalogue/AlbumSearch.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"

namespace Catalogue {

namespace {

char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (auto& c : upper)
        c = UpperChar(c);
    return upper;
}

bool ContainsQuery(std::string_view text, std::string_view upperQuery) {
    if (upperQuery.empty() || upperQuery.size() > text.size())
        return false;
    const auto last = text.size() - upperQuery.size();
    for (std::size_t at = 0; at <= last; ++at) {
        std::size_t i = 0;
        while (i < upperQuery.size() && UpperChar(text[at + i]) == upperQuery[i])
            ++i;
        if (i == upperQuery.size())
            return true;
    }
    return false;
}

TSearchOutcome SearchAlbums(std::string_view base, std::string_view query,
                            const TSearchEvents& events) {
    TSearchOutcome outcome;
    outcome.DescPath = DescFilePath(base);
    TDescFile baseFile;
    if (!baseFile.Open(outcome.DescPath)) {
        if (events.OnBaseFileMissing)
            events.OnBaseFileMissing(DescFileMissingMessage(outcome.DescPath));
        return outcome;
    }
    outcome.BaseOpened = true;
    const auto upperQuery = UpperAscii(query);
    TDescFile categoryFile;
    std::string categoryDesc;
    auto baseLines = baseFile.Lines();
    std::string_view baseLine;
    while (baseLines.NextLine(baseLine)) {
        const auto category = ExtractDesc(baseLine, outcome.DescPath, events.OnSyntaxError);
        const bool categoryMatch = ContainsQuery(category, upperQuery);
        const auto categoryDir = ExtractDir(baseLine);
        ComposePath(categoryDesc, {base, categoryDir, DescFileName});
        if (!categoryFile.Open(categoryDesc)) {
            if (events.OnCategoryFileMissing)
                events.OnCategoryFileMissing(DescFileMissingMessage(categoryDesc));
            continue;
        }
        auto albumLines = categoryFile.Lines();
        std::string_view albumLine;
        while (albumLines.NextLine(albumLine)) {
            auto album = ExtractDesc(albumLine, categoryDesc, events.OnSyntaxError);
            if (!categoryMatch && !ContainsQuery(album, upperQuery))
                continue;
            TSearchResult result;
            result.Album = std::move(album);
            result.Category = category;
            result.CdNumber = std::string(CdNumberField(albumLine));
            ComposePath(result.Path, {base, categoryDir, ExtractDir(albumLine)});
            if (events.OnResult)
                events.OnResult(result);
            outcome.Results.push_back(std::move(result));
        }
    }
    return outcome;
}

} // namespace Catalogue
