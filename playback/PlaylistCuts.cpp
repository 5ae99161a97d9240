#include "playback/PlaylistCuts.h"

#include "playback/PlaylistFile.h"

#include <utility>

namespace Playback {

std::vector<TCutEntry> CutEntries(const std::vector<TPlaylistEntry>& entries) {
    std::vector<TCutEntry> cut;
    for (const auto& entry : entries) {
        TCutEntry found{entry.Caption};
        found.Name = entry.Caption.size() > TPlaylistRecord::NameCapacity;
        if (!IsAlbumHeader(entry.Caption)) {
            found.Length = entry.LengthText.size() > TPlaylistRecord::LengthCapacity;
            found.Path = entry.Path.size() > TPlaylistRecord::PathCapacity;
        }
        if (found.Name || found.Length || found.Path)
            cut.push_back(std::move(found));
    }
    return cut;
}

std::string CutEntriesWarningText(const std::vector<TCutEntry>& cut) {
    std::string text = "These entries are too long for a playlist file and will be saved cut:\r";
    for (std::size_t i = 0; i < cut.size() && i < CutEntriesNamed; ++i) {
        std::string parts;
        for (const auto& [isCut, part] :
             {std::pair{cut[i].Name, "name"}, std::pair{cut[i].Length, "length"},
              std::pair{cut[i].Path, "path"}})
            if (isCut)
                parts += (parts.empty() ? "" : ", ") + std::string(part);
        text += cut[i].Caption + " (" + parts + ")\r";
    }
    if (cut.size() > CutEntriesNamed)
        text += "and " + std::to_string(cut.size() - CutEntriesNamed) + " more\r";
    return text + "A song whose path is cut cannot be played from the saved list. Save anyway?";
}

} // namespace Playback
