// The songs of one album: the rows of a song list built from the album's description
// file, and the album's play time.
#pragma once

#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "catalogue/PlayTime.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {

// One row of a song list.
struct TSongRow {
    // Prefix, running number (at least two digits), ". " and the description (or the
    // syntax-error text).
    std::string Caption;
    // Sub-item 1: the length text.
    std::string LengthText;
    // Sub-item 2: the song file's full path (album directory and file-name field).
    std::string Path;
    TPlayTime Time;
    bool SyntaxError = false;
};

// Called while the description file is walked, so that a form can add each row in line order
// and show each syntax-error box with the faulty row already in its list.
struct TSongListEvents {
    // Each row as soon as its length text and path are known, before its caption is made.
    std::function<void(const TSongRow&)> OnAppend;
    // The syntax-error box text for the first failing line of the listing, between OnAppend
    // and OnRow of that line; the other failing lines carry the syntax-error text without a
    // report.
    TSyntaxErrorHandler OnSyntaxError;
    // Each row once its caption is made.
    std::function<void(const TSongRow&)> OnRow;
};

struct TSongListing {
    // False when the album's description file cannot be opened; there are no rows then.
    bool Opened = false;
    // The album's description file (the path that the missing-file message quotes).
    std::string DescPath;
    // When it was not read: whether it cannot be opened or was refused.
    TDescRead Result = TDescRead::NotOpened;
    std::vector<TSongRow> Rows;
    // The sums of the known times; seconds not yet carried.
    TDuration Total;
};

// Lists the songs of the album directory albumDir: one row per description line, in
// file order. Syntax errors are reported against the album's description file.
TSongListing ListSongs(std::string_view albumDir, std::string_view prefix,
                       const TSongListEvents& events = {});

// The sums of the known times of the description lines; seconds carried into minutes.
TDuration SumPlayTimes(TDescLines lines);

// The play time of the album directory albumDir: minutes and seconds below 60, never
// hours; 0:00 when its description file cannot be opened.
TDuration CalcAlbumPlaytime(std::string_view albumDir);

} // namespace Catalogue
