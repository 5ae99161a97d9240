#include "catalogue/AlbumSearch.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/DescFile.h"
#include "catalogue/ReadAhead.h"
#include "catalogue/SyntaxReports.h"
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

namespace {

// The files the search opens right after one it has read: after the base's file each of its
// categories' files, with their paths made as the search makes them.
void SearchFollowingFiles(const TReadAheadFile& file, std::string_view text,
                          std::vector<TReadAheadFile>& following) {
    if (file.Level != 0)
        return;
    const auto folder = std::make_shared<const TDescFolder>(DirectoryPart(file.Path));
    auto lines = TDescLines(text);
    std::string_view line;
    while (lines.NextLine(line)) {
        TReadAheadFile next;
        ComposePath(next.Path, {file.Base, ExtractDir(line), DescFileName});
        next.Folder = folder;
        next.Level = 1;
        following.push_back(std::move(next));
    }
}

// One search over the categories listed in a base's description file.
class TAlbumSearch {
public:
    TAlbumSearch(std::string_view base, std::string_view query, std::string_view otherSpelling,
                 const TSearchEvents& events, TSearchOutcome& outcome, TReadAhead& ahead)
        : FBase(base), FEvents(events), FOutcome(outcome), FQuery(UpperAscii(query)),
          FOther(UpperAscii(otherSpelling)), FBaseFolder(DirectoryPart(outcome.DescPath)),
          FAhead(ahead), FReports(events.OnSyntaxError) {}

    // The albums of the category on one line of the base's description file.
    void SearchCategory(std::string_view baseLine) {
        const auto category = FReports.Describe(baseLine, FOutcome.DescPath);
        const bool categoryMatch = Found(category);
        const auto categoryDir = ExtractDir(baseLine);
        ComposePath(FCategoryDesc, {FBase, categoryDir, DescFileName});
        if (!FAhead.Open(FCategoryFile, {FCategoryDesc, 1, {}, &FBaseFolder})) {
            if (FEvents.OnCategoryFileMissing)
                FEvents.OnCategoryFileMissing(
                    DescFileNotReadMessage(FCategoryDesc, FCategoryFile.Result()));
            return;
        }
        FErrorText.clear();
        std::string_view albumLine;
        if (categoryMatch) {
            auto albumLines = FCategoryFile.Lines();
            while (albumLines.NextLine(albumLine))
                VisitAlbum(albumLine, category, categoryDir, true);
            return;
        }
        // A description is part of its line: only the lines that may hold the query, and
        // those that may fail the syntax test, can show or report anything.
        TLineSieve sieve(FCategoryFile.Text(), FQuery, FOther);
        while (sieve.NextLine(albumLine))
            if (!IsBlankLine(albumLine) && !IsCommentLine(albumLine))
                VisitAlbum(albumLine, category, categoryDir, false);
    }

private:
    bool Found(std::string_view text) const { return FQuery.FoundIn(text) || FOther.FoundIn(text); }

    // Tests an album line, reporting it when it fails the syntax test, and lists the album
    // when its category or its own text holds the query.
    void VisitAlbum(std::string_view albumLine, const std::string& category,
                    std::string_view categoryDir, bool categoryMatch) {
        std::string_view album;
        if (PassesSyntaxTest(albumLine)) {
            album = ParseDescription(albumLine).Text;
        } else {
            FReports.Report(FCategoryDesc);
            if (FErrorText.empty())
                FErrorText = SyntaxErrorText(FCategoryDesc);
            album = FErrorText;
        }
        if (!categoryMatch && !Found(album))
            return;
        TSearchResult result;
        result.Album = std::string(album);
        result.Category = category;
        result.CdNumber = std::string(CdNumberField(albumLine));
        ComposePath(result.Path, {FBase, categoryDir, ExtractDir(albumLine)});
        if (FEvents.OnResult)
            FEvents.OnResult(result);
        FOutcome.Results.push_back(std::move(result));
    }

    std::string_view FBase;
    const TSearchEvents& FEvents;
    TSearchOutcome& FOutcome;
    const TQueryMatcher FQuery;
    const TQueryMatcher FOther;
    const TDescFolder FBaseFolder;
    TReadAhead& FAhead;
    TSyntaxReports FReports;
    TDescFile FCategoryFile;
    std::string FCategoryDesc;
    std::string FErrorText;
};

} // namespace

TSearchOutcome SearchAlbums(std::string_view base, std::string_view query,
                            const TSearchEvents& events, std::string_view otherSpelling,
                            const TReadAheadOptions& readAhead) {
    TSearchOutcome outcome;
    outcome.DescPath = DescFilePath(base);
    TReadAhead ahead(SearchFollowingFiles, readAhead);
    TReadAheadFile baseDesc;
    baseDesc.Path = outcome.DescPath;
    baseDesc.Base = base;
    ahead.Start({std::move(baseDesc)});
    TDescFile baseFile;
    if (!ahead.Open(baseFile, {outcome.DescPath, 0, base})) {
        if (events.OnBaseFileMissing)
            events.OnBaseFileMissing(DescFileNotReadMessage(outcome.DescPath, baseFile.Result()));
        return outcome;
    }
    outcome.BaseOpened = true;
    TAlbumSearch search(base, query, otherSpelling, events, outcome, ahead);
    auto baseLines = baseFile.Lines();
    std::string_view baseLine;
    while (baseLines.NextLine(baseLine))
        search.SearchCategory(baseLine);
    return outcome;
}

} // namespace Catalogue
