#include "playback/PlaylistExport.h"

#include "catalogue/CataloguePath.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "platform/SystemNames.h"
#include "playback/PlaylistCharset.h"
#include "playback/PlaylistStatus.h"

namespace Playback {

namespace {

constexpr std::string_view AlbumSongIndent = "   + ";

// A program text (a caption) in UTF-8: as it is when it is UTF-8, else in the system's code
// page, or in Windows-1252, in which older catalogues were written.
std::string TextToUtf8(std::string_view text) {
    if (IsUtf8(text))
        return std::string(text);
    if (auto converted = platform::SystemCodePageToUtf8(text))
        return *converted;
    return Windows1252ToUtf8(text);
}

std::string PathToUtf8(const std::string& path) {
    if (auto converted = platform::SystemCodePageToUtf8(path))
        return *converted;
    return path;
}

} // namespace

std::string CatalogueLinkFolder() {
    const std::string data = platform::UserDataDirectory();
    if (data.empty())
        return {};
    return data + "catalogues" + Catalogue::PathDelimiter;
}

std::vector<TTextEntry> ExportEntries(const std::vector<TPlaylistEntry>& entries,
                                      std::string_view linkFolder) {
    std::vector<TTextEntry> exported;
    for (const auto& entry : entries) {
        // A header is no song; an entry without a path (from a damaged record) plays nowhere,
        // and its empty line would give its title to the next entry.
        if (IsAlbumHeader(entry.Caption) || entry.Path.empty())
            continue;
        std::string_view title = entry.Caption;
        if (IsAlbumSong(title))
            title.remove_prefix(AlbumSongIndent.size());
        const auto time = ParseLengthText(entry.LengthText);
        std::string path = entry.Path;
        if (!linkFolder.empty() && path.starts_with(linkFolder))
            if (std::string real = platform::FinalPath(path); !real.empty())
                path = std::move(real);
        exported.push_back({PathToUtf8(path), TextToUtf8(title),
                            time.Known() ? time.Minutes * 60LL + time.Seconds : -1});
    }
    return exported;
}

TPlaylistFormat SaveFormatOf(int filterIndex, std::string_view path) {
    switch (filterIndex) {
    case 2:
        return TPlaylistFormat::M3u;
    case 3:
        return TPlaylistFormat::PlsText;
    case 4: {
        const auto dot = path.find_last_of('.');
        std::string extension(dot == std::string_view::npos ? std::string_view()
                                                            : path.substr(dot));
        for (char& c : extension)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (extension == ".m3u" || extension == ".m3u8")
            return TPlaylistFormat::M3u;
        return TPlaylistFormat::Records;
    }
    default:
        return TPlaylistFormat::Records;
    }
}

void SaveTextPlaylist(const std::string& path, TPlaylistFormat format,
                      const std::vector<TPlaylistEntry>& entries) {
    const auto exported = ExportEntries(entries, CatalogueLinkFolder());
    platform::ReplaceFileBytes(path, format == TPlaylistFormat::PlsText ? WritePlsText(exported)
                                                                        : WriteM3u(exported));
}

} // namespace Playback
