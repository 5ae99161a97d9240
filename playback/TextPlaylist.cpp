#include "playback/TextPlaylist.h"

#include "playback/PlaylistCharset.h"
#include "playback/PlaylistFile.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace Playback {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t";
constexpr char CtrlZ = 0x1A;

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(ByteOrderMark))
        bytes.remove_prefix(ByteOrderMark.size());
    return bytes;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool IsTextLines(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == CtrlZ && i + 1 == bytes.size())
            continue;
        return false;
    }
    return true;
}

bool IsWholeRecords(std::string_view bytes) {
    if (bytes.empty() || bytes.size() % PlaylistRecordSize != 0)
        return false;
    for (std::size_t at = 0; at < bytes.size(); at += PlaylistRecordSize) {
        const auto nameLength = static_cast<unsigned char>(bytes[at]);
        const auto lengthLength = static_cast<unsigned char>(bytes[at + 41]);
        const auto pathLength = static_cast<unsigned char>(bytes[at + 52]);
        if (nameLength > TPlaylistRecord::NameCapacity ||
            lengthLength > TPlaylistRecord::LengthCapacity ||
            pathLength > TPlaylistRecord::PathCapacity)
            return false;
    }
    return true;
}

// The lines of a text, each as UTF-8, the byte-order mark and a closing Ctrl-Z left out.
std::vector<std::string> Utf8Lines(std::string_view bytes) {
    bytes = WithoutByteOrderMark(bytes);
    if (const auto end = bytes.find(CtrlZ); end != std::string_view::npos)
        bytes = bytes.substr(0, end);
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        lines.push_back(LineToUtf8(bytes.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        const std::size_t skip = bytes.substr(end).starts_with("\r\n") ? 2 : 1;
        bytes.remove_prefix(end + skip);
    }
    return lines;
}

// A whole number of seconds such as "245", "-1" or "245.7" (cut to whole seconds); negative
// when there is none.
long long ParseSeconds(std::string_view text) {
    text = Trimmed(text);
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    long long value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return -1;
    const std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (!rest.empty() && rest[0] != '.' && rest[0] != ' ' && rest[0] != '\t')
        return -1;
    return negative ? -1 : value;
}

// "#EXTINF:245,Title": the seconds, then attributes that players add (key="value", where a
// comma may stand inside the quotes), and the title after the first comma outside quotes.
TTextEntry ParseExtInf(std::string_view info) {
    TTextEntry entry;
    bool quoted = false;
    std::size_t comma = std::string_view::npos;
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (info[i] == '"')
            quoted = !quoted;
        else if (info[i] == ',' && !quoted) {
            comma = i;
            break;
        }
    }
    const std::string_view head = info.substr(0, comma);
    entry.Seconds = ParseSeconds(head.substr(0, head.find_first_of(Blanks)));
    if (comma != std::string_view::npos)
        entry.Title = std::string(Trimmed(info.substr(comma + 1)));
    return entry;
}

// A title on one line: line breaks would start a new line of the playlist.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

TPlaylistFormat DetectPlaylistFormat(std::string_view bytes) {
    if (bytes.empty())
        return TPlaylistFormat::Records;
    const std::string_view head = WithoutByteOrderMark(bytes);
    const bool text = IsTextLines(bytes);
    const bool records = IsWholeRecords(bytes);
    const auto start = head.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos && StartsWithNoCase(head.substr(start), "[playlist]") &&
        (text || !records))
        return TPlaylistFormat::PlsText;
    if (text || (StartsWithNoCase(head, "#EXTM3U") && !records))
        return TPlaylistFormat::M3u;
    return TPlaylistFormat::Records;
}

std::vector<TTextEntry> ReadM3u(std::string_view bytes) {
    std::vector<TTextEntry> entries;
    TTextEntry pending;
    for (const auto& whole : Utf8Lines(bytes)) {
        const std::string_view line = Trimmed(whole);
        if (line.empty())
            continue;
        if (line.starts_with('#')) {
            if (StartsWithNoCase(line, "#EXTINF:"))
                pending = ParseExtInf(line.substr(8));
            continue;
        }
        pending.Location = std::string(line);
        entries.push_back(std::move(pending));
        pending = {};
    }
    return entries;
}

std::vector<TTextEntry> ReadPlsText(std::string_view bytes) {
    std::map<long long, TTextEntry> numbered;
    std::map<long long, bool> hasFile;
    bool inPlaylist = false;
    for (const auto& whole : Utf8Lines(bytes)) {
        const std::string_view line = Trimmed(whole);
        if (line.starts_with('[')) {
            inPlaylist = StartsWithNoCase(line, "[playlist]");
            continue;
        }
        const auto equals = line.find('=');
        if (!inPlaylist || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        const auto digits = key.find_first_of("0123456789");
        if (digits == std::string_view::npos)
            continue;
        long long number = 0;
        const std::string_view numberText = key.substr(digits);
        const auto [end, error] =
            std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
        if (error != std::errc() || end != numberText.data() + numberText.size())
            continue;
        const std::string_view name = key.substr(0, digits);
        if (EqualNoCase(name, "File")) {
            numbered[number].Location = std::string(value);
            hasFile[number] = true;
        } else if (EqualNoCase(name, "Title")) {
            numbered[number].Title = std::string(value);
        } else if (EqualNoCase(name, "Length")) {
            numbered[number].Seconds = ParseSeconds(value);
        }
    }
    std::vector<TTextEntry> entries;
    for (auto& [number, entry] : numbered)
        if (hasFile[number])
            entries.push_back(std::move(entry));
    return entries;
}

std::string WriteM3u(const std::vector<TTextEntry>& entries) {
    std::string text = "#EXTM3U\n";
    for (const auto& entry : entries) {
        text += "#EXTINF:" + std::to_string(entry.Seconds < 0 ? -1 : entry.Seconds) + "," +
                OneLine(entry.Title) + "\n";
        text += OneLine(entry.Location) + "\n";
    }
    return text;
}

std::string WritePlsText(const std::vector<TTextEntry>& entries) {
    std::string text = "[playlist]\n";
    std::size_t number = 0;
    for (const auto& entry : entries) {
        const std::string n = std::to_string(++number);
        text += "File" + n + "=" + OneLine(entry.Location) + "\n";
        text += "Title" + n + "=" + OneLine(entry.Title) + "\n";
        text += "Length" + n + "=" + std::to_string(entry.Seconds < 0 ? -1 : entry.Seconds) + "\n";
    }
    text += "NumberOfEntries=" + std::to_string(entries.size()) + "\n";
    text += "Version=2\n";
    return text;
}

} // namespace Playback
