#include "playback/PlaylistFile.h"

#include "catalogue/Utf8.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cstring>

namespace Playback {

namespace {

template <std::size_t Capacity>
void Store(std::string_view text, unsigned char& length, std::array<char, Capacity>& field) {
    const std::size_t used = std::min(text.size(), Capacity);
    std::copy_n(text.data(), used, field.data());
    length = static_cast<unsigned char>(used);
}

template <std::size_t Capacity>
std::string Fetch(unsigned char length, const std::array<char, Capacity>& field) {
    return std::string(field.data(), std::min<std::size_t>(length, Capacity));
}

} // namespace

TPlaylistRecord EncodeRecord(const TPlaylistEntry& entry) {
    TPlaylistRecord record;
    Store(entry.Caption, record.NameLength, record.Name);
    if (!IsAlbumHeader(std::string_view(record.Name.data(), record.NameLength))) {
        Store(entry.LengthText, record.LengthLength, record.Length);
        Store(entry.Path, record.PathLength, record.Path);
    }
    return record;
}

TPlaylistEntry DecodeRecord(const TPlaylistRecord& record) {
    TPlaylistEntry entry;
    entry.Caption = Fetch(record.NameLength, record.Name);
    // A caption that fills its field was cut there, perhaps inside a UTF-8 character.
    if (entry.Caption.size() == TPlaylistRecord::NameCapacity)
        entry.Caption.resize(Catalogue::WithoutCutCharacter(entry.Caption).size());
    if (!IsAlbumHeader(entry.Caption)) {
        entry.LengthText = Fetch(record.LengthLength, record.Length);
        entry.Path = Fetch(record.PathLength, record.Path);
    }
    return entry;
}

std::string EncodePlaylist(const std::vector<TPlaylistEntry>& entries) {
    std::string bytes;
    bytes.reserve(entries.size() * PlaylistRecordSize);
    for (const auto& entry : entries) {
        const TPlaylistRecord record = EncodeRecord(entry);
        bytes.append(reinterpret_cast<const char*>(&record), PlaylistRecordSize);
    }
    return bytes;
}

TPlaylistContent DecodePlaylist(std::string_view bytes) {
    TPlaylistContent content;
    content.Entries.reserve(bytes.size() / PlaylistRecordSize);
    while (bytes.size() >= PlaylistRecordSize) {
        TPlaylistRecord record;
        std::memcpy(&record, bytes.data(), PlaylistRecordSize);
        content.Entries.push_back(DecodeRecord(record));
        bytes.remove_prefix(PlaylistRecordSize);
    }
    content.CutShort = !bytes.empty();
    return content;
}

void SavePlaylistFile(const std::string& path, const std::vector<TPlaylistEntry>& entries) {
    platform::ReplaceFileBytes(path, EncodePlaylist(entries));
}

namespace {

[[noreturn]] void RaiseRefused(const std::string& path, platform::TRegularRead result) {
    const std::string reason =
        result == platform::TRegularRead::TooLarge
            ? "is larger than " + std::to_string(MaxPlaylistFileSize / (1024 * 1024)) + " MiB"
            : std::string("is not a regular file");
    throw EInOutError('"' + path + "\" " + reason, 0);
}

} // namespace

std::string ReadPlaylistBytes(const std::string& path) {
    std::string bytes;
    if (const auto result = platform::ReadRegularFile(path, MaxPlaylistFileSize, bytes);
        result != platform::TRegularRead::Read)
        RaiseRefused(path, result);
    return bytes;
}

TPlaylistContent LoadPlaylistFile(const std::string& path) {
    return DecodePlaylist(ReadPlaylistBytes(path));
}

void RaiseIfNotReplaceable(const std::string& path) {
    if (platform::PathKindOf(path) == platform::TPathKind::Other)
        RaiseRefused(path, platform::TRegularRead::NotRegular);
}

void RaiseIfCutShort(const TPlaylistContent& content) {
    if (content.CutShort)
        RaiseReadBeyondEnd();
}

bool PlaylistFileExists(const std::string& path) {
    return platform::CanOpenForReading(path);
}

std::string OverwriteQuestionText(const std::string& path) {
    return path + "\ralready exist. Overwrite ?";
}

} // namespace Playback
