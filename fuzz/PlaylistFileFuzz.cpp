// Feeds arbitrary bytes to the playlist-file reader, as a damaged or foreign file would,
// and checks what the editor then does with the entries.
#include "playback/PlaylistFile.h"
#include "playback/PlaylistStatus.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace Playback;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TPlaylistContent content = DecodePlaylist(bytes);
    if (content.Entries.size() != size / PlaylistRecordSize ||
        content.CutShort != (size % PlaylistRecordSize != 0))
        std::abort();

    // Read entries always fit their fields, so saving them again gives them back.
    const TPlaylistContent again = DecodePlaylist(EncodePlaylist(content.Entries));
    if (again.Entries != content.Entries || again.CutShort)
        std::abort();

    // Damaged length texts must not break the status bar's totals.
    const TPlaylistSummary summary = SummarizePlaylist(content.Entries);
    if (summary.Total.Seconds < 0 || summary.Total.Seconds > 59 || summary.Total.Minutes < 0 ||
        summary.Total.Minutes > 59 || summary.SongsText().empty() || summary.TimeText().empty())
        std::abort();

    // The Delete key on any entry deletes valid positions and selects a remaining one.
    std::vector<std::string> captions;
    for (const auto& entry : content.Entries)
        captions.push_back(entry.Caption);
    for (std::size_t selected = 0; selected < captions.size(); ++selected) {
        const TDeleteAction action = DeleteKeyAction(captions, selected);
        const bool valid =
            !action.Deleted.empty() &&
            std::adjacent_find(action.Deleted.begin(), action.Deleted.end(),
                               [](std::size_t a, std::size_t b) { return a >= b; }) ==
                action.Deleted.end() &&
            action.Deleted.back() < captions.size() &&
            (action.Deleted.size() == captions.size()
                 ? !action.Selected
                 : action.Selected && *action.Selected < captions.size() - action.Deleted.size());
        if (!valid)
            std::abort();
    }
    return 0;
}
