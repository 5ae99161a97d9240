#include "playback/PlaylistImport.h"

#include "catalogue/PlayTimeText.h"
#include "platform/SystemNames.h"

#include <algorithm>

namespace Playback {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The scheme of a URL ("http" of "http://..."), empty when the text is no URL. A scheme has
// two letters at least, so that a drive letter is never one.
std::string_view UrlScheme(std::string_view text) {
    const auto colon = text.find("://");
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(text[0]))
        return {};
    const std::string_view scheme = text.substr(0, colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    });
    return valid ? scheme : std::string_view();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// The path of a file:// URL: file:///home/a.mp3, file://localhost/home/a.mp3,
// file:///C:/Music/a.mp3 and file://server/share/a.mp3.
std::string FileUrlPath(std::string_view rest, TPathStyle style) {
    std::string_view host;
    if (!rest.starts_with('/')) {
        const auto slash = rest.find('/');
        host = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    std::string path = PercentDecoded(rest);
    if (style == TPathStyle::psWindows && path.size() >= 3 && path[0] == '/' &&
        HasDrive(std::string_view(path).substr(1)))
        path.erase(0, 1);
    if (!host.empty() && !EqualsNoCase(host, "localhost"))
        path = "//" + std::string(host) + path;
    return path;
}

bool IsAbsolute(std::string_view path, TPathStyle style) {
    if (style == TPathStyle::psPosix)
        return path.starts_with('/');
    return path.starts_with("\\\\") || (HasDrive(path) && path.size() >= 3 && path[2] == '\\');
}

// Joins a location to the playlist's folder by the style's rules.
std::string Joined(std::string path, std::string_view folder, TPathStyle style) {
    const char delimiter = style == TPathStyle::psWindows ? '\\' : '/';
    if (style == TPathStyle::psWindows)
        std::replace(path.begin(), path.end(), '/', '\\');
    else if (path.find('/') == std::string::npos && !HasDrive(path))
        std::replace(path.begin(), path.end(), '\\', '/');
    if (IsAbsolute(path, style))
        return path;
    if (style == TPathStyle::psWindows && path.starts_with('\\'))
        return HasDrive(folder) ? std::string(folder.substr(0, 2)) + path : path;
    while (path.size() > 2 && path[0] == '.' && path[1] == delimiter)
        path.erase(0, 2);
    std::string joined(folder);
    if (style == TPathStyle::psWindows)
        std::replace(joined.begin(), joined.end(), '/', '\\');
    if (!joined.empty() && joined.back() != delimiter)
        joined += delimiter;
    return joined + path;
}

std::string FileName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Utf8ToSystem(const std::string& text) {
    return platform::Utf8ToSystemCodePage(text).value_or(text);
}

std::string LengthTextOf(long long seconds) {
    if (seconds < 0 || seconds / 60 > 999'999'999)
        return "Unknown";
    return Catalogue::LengthText({static_cast<int>(seconds / 60), static_cast<int>(seconds % 60)});
}

} // namespace

TLocation ResolveLocation(std::string_view location, std::string_view folder, TPathStyle style) {
    const std::string_view scheme = UrlScheme(location);
    if (scheme.empty())
        return {TLocation::lkFile, Joined(std::string(location), folder, style)};
    if (!EqualsNoCase(scheme, "file"))
        return {TLocation::lkStream, {}};
    return {TLocation::lkFile,
            Joined(FileUrlPath(location.substr(scheme.size() + 3), style), folder, style)};
}

TImportedPlaylist ImportTextPlaylist(std::string_view bytes, TPlaylistFormat format,
                                     std::string_view folder,
                                     const std::function<bool(const std::string&)>& exists,
                                     TPathStyle style) {
    TImportedPlaylist imported;
    const auto entries = format == TPlaylistFormat::PlsText ? ReadPlsText(bytes) : ReadM3u(bytes);
    for (const auto& entry : entries) {
        const TLocation location = ResolveLocation(entry.Location, folder, style);
        if (location.Kind == TLocation::lkStream) {
            ++imported.Streams;
            continue;
        }
        const std::string path = Utf8ToSystem(location.Path);
        if (!exists(path))
            ++imported.Missing;
        std::string caption =
            Utf8ToSystem(entry.Title.empty() ? FileName(location.Path) : entry.Title);
        // A song titled "* ..." would read as an album header and lose its path.
        while (IsAlbumHeader(caption))
            caption.erase(1, 1);
        imported.Entries.push_back({std::move(caption), LengthTextOf(entry.Seconds), path});
    }
    return imported;
}

std::string ImportReportText(const TImportedPlaylist& imported) {
    std::string text;
    if (imported.Missing > 0)
        text += std::to_string(imported.Missing) +
                " file(s) of the playlist were not found. They are kept in the list.";
    if (imported.Streams > 0) {
        if (!text.empty())
            text += '\r';
        text += std::to_string(imported.Streams) +
                " stream(s) (http:// and other addresses) were left out: the playlist holds only "
                "files.";
    }
    return text;
}

} // namespace Playback
