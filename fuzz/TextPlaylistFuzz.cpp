// Feeds arbitrary bytes to the readers of other players' playlists (M3U and text PLS), as a
// damaged or foreign file would, and checks what the editor then takes from them.
#include "playback/PlaylistCharset.h"
#include "playback/PlaylistImport.h"
#include "playback/PlaylistStatus.h"
#include "playback/TextPlaylist.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace Playback;

namespace {

bool HasControl(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Every entry read is UTF-8 on one line, and writing the entries in the same form gives them back.
void CheckEntries(const std::vector<TTextEntry>& entries, TPlaylistFormat format) {
    bool plain = true;
    for (const auto& entry : entries) {
        Check(IsUtf8(entry.Location) && IsUtf8(entry.Title));
        Check(entry.Location.find_first_of("\r\n") == std::string::npos);
        Check(entry.Title.find_first_of("\r\n") == std::string::npos);
        Check(entry.Seconds >= -1);
        plain = plain && !HasControl(entry.Location) && !HasControl(entry.Title);
    }
    const std::string written =
        format == TPlaylistFormat::M3u ? WriteM3u(entries) : WritePlsText(entries);
    Check((format == TPlaylistFormat::M3u ? ReadM3u(written) : ReadPlsText(written)) == entries);
    // A written playlist of plain texts is always taken for what it is.
    if (plain)
        Check(DetectPlaylistFormat(written) == format);
}

// The editor gets single songs with a length text it can add up, and the counts add up.
void CheckImport(std::string_view bytes, TPlaylistFormat format, std::size_t read) {
    const TImportedPlaylist imported =
        ImportTextPlaylist(bytes, format, "/lists/", [](const std::string&) { return false; });
    Check(imported.Entries.size() + imported.Streams == read);
    Check(imported.Missing == imported.Entries.size());
    for (const auto& entry : imported.Entries) {
        Check(!IsAlbumHeader(entry.Caption));
        Check(entry.LengthText == "Unknown" || ParseLengthText(entry.LengthText).Known());
        Check(!entry.Path.empty());
    }
    Check(ImportReportText(imported).empty() == (read == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TPlaylistFormat format = DetectPlaylistFormat(bytes);
    Check(size > 0 || format == TPlaylistFormat::Records);

    const auto m3u = ReadM3u(bytes);
    CheckEntries(m3u, TPlaylistFormat::M3u);
    CheckImport(bytes, TPlaylistFormat::M3u, m3u.size());

    const auto pls = ReadPlsText(bytes);
    CheckEntries(pls, TPlaylistFormat::PlsText);
    CheckImport(bytes, TPlaylistFormat::PlsText, pls.size());
    return 0;
}
