#include "playback/PlaylistStatus.h"

#include "catalogue/PlayTimeText.h"

#include <algorithm>

namespace Playback {

namespace {

constexpr std::size_t MaxMinutesDigits = 9;

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitsValue(std::string_view digits) {
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

Catalogue::TPlayTime ParseLengthText(std::string_view text) {
    const std::size_t quote = text.find('"');
    if (quote == std::string_view::npos || quote < 4)
        return {};
    const std::string_view seconds = text.substr(quote - 2, 2);
    const std::string_view minutes = text.substr(0, quote - 3);
    if (!AllDigits(seconds) || !AllDigits(minutes) || minutes.size() > MaxMinutesDigits)
        return {};
    return {DigitsValue(minutes), DigitsValue(seconds)};
}

std::string TPlaylistSummary::SongsText() const {
    return Catalogue::SongCountText(Songs);
}

std::string TPlaylistSummary::TimeText() const {
    if (Total.Hours > 0)
        return Catalogue::HoursFormText(Total);
    return Catalogue::MinutesFormText(Total.Minutes, Total.Seconds);
}

TPlaylistSummary SummarizePlaylist(const std::vector<TPlaylistEntry>& entries) {
    TPlaylistSummary summary;
    for (const auto& entry : entries) {
        if (IsAlbumHeader(entry.Caption))
            continue;
        ++summary.Songs;
        summary.Total.Add(ParseLengthText(entry.LengthText));
    }
    summary.Total.CarrySeconds();
    summary.Total.CarryMinutes();
    return summary;
}

TDeleteAction DeleteKeyAction(const std::vector<std::string>& captions, std::size_t selected) {
    TDeleteAction action;
    if (selected >= captions.size())
        return action;
    // The positions of the entries still in the list, in the original numbering.
    std::vector<std::size_t> remaining(captions.size());
    for (std::size_t i = 0; i < remaining.size(); ++i)
        remaining[i] = i;
    const auto captionAt = [&](std::size_t p) -> const std::string& {
        return captions[remaining[p]];
    };
    const auto erase = [&](std::size_t p) {
        action.Deleted.push_back(remaining[p]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(p));
    };

    std::size_t p = selected;
    if (IsAlbumHeader(captionAt(p))) {
        erase(p);
        while (p < remaining.size() && IsAlbumSong(captionAt(p)))
            erase(p);
    } else {
        erase(p);
        if (!remaining.empty() && p > 0 && IsAlbumHeader(captionAt(p - 1)) &&
            (p >= remaining.size() || !IsAlbumSong(captionAt(p)))) {
            erase(p - 1);
            --p;
        }
    }
    if (!remaining.empty())
        action.Selected = std::min(p, remaining.size() - 1);
    std::sort(action.Deleted.begin(), action.Deleted.end());
    return action;
}

} // namespace Playback
