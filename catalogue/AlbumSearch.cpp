#include "catalogue/AlbumSearch.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/TextScan.h"

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
    return TQueryMatcher(upperQuery).FoundIn(text);
}

TSearchOutcome SearchAlbums(std::string_view base, std::string_view query,
                            const TSearchEvents& events, std::string_view otherSpelling) {
    TSearchOutcome outcome;
    outcome.DescPath = DescFilePath(base);
    TDescFile baseFile;
    if (!baseFile.Open(outcome.DescPath)) {
        if (events.OnBaseFileMissing)
            events.OnBaseFileMissing(DescFileMissingMessage(outcome.DescPath));
        return outcome;
    }
    outcome.BaseOpened = true;
    const TQueryMatcher matcher(UpperAscii(query));
    const TQueryMatcher other(UpperAscii(otherSpelling));
    const auto found = [&](std::string_view text) {
        return matcher.FoundIn(text) || other.FoundIn(text);
    };
    TDescFile categoryFile;
    std::string categoryDesc;
    std::string errorText;
    auto baseLines = baseFile.Lines();
    std::string_view baseLine;
    while (baseLines.NextLine(baseLine)) {
        const auto category = ExtractDesc(baseLine, outcome.DescPath, events.OnSyntaxError);
        const bool categoryMatch = found(category);
        const auto categoryDir = ExtractDir(baseLine);
        ComposePath(categoryDesc, {base, categoryDir, DescFileName});
        if (!categoryFile.Open(categoryDesc)) {
            if (events.OnCategoryFileMissing)
                events.OnCategoryFileMissing(DescFileMissingMessage(categoryDesc));
            continue;
        }
        // A description is part of its line, so a file that holds the query nowhere has no
        // matching description; unless one of its lines fails the syntax test, nothing of it
        // is shown or reported.
        if (!categoryMatch && !MayHoldSyntaxErrorsOrQuery(categoryFile.Text(), matcher) &&
            (otherSpelling.empty() || !MayHoldSyntaxErrorsOrQuery(categoryFile.Text(), other)))
            continue;
        errorText.clear();
        auto albumLines = categoryFile.Lines();
        std::string_view albumLine;
        while (albumLines.NextLine(albumLine)) {
            std::string_view album;
            if (PassesSyntaxTest(albumLine)) {
                album = ParseDescription(albumLine).Text;
            } else {
                if (events.OnSyntaxError)
                    events.OnSyntaxError(SyntaxErrorMessage(categoryDesc));
                if (errorText.empty())
                    errorText = SyntaxErrorText(categoryDesc);
                album = errorText;
            }
            if (!categoryMatch && !found(album))
                continue;
            TSearchResult result;
            result.Album = std::string(album);
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
