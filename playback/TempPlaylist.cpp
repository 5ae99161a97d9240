#include "playback/TempPlaylist.h"

#include "catalogue/CataloguePath.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"

#include <filesystem>

namespace Playback {

std::string TempPlaylistPath(std::string_view directory) {
    return Catalogue::JoinPath(directory, TempPlaylistName);
}

std::string TempPlaylistText(const std::vector<std::string>& order) {
    std::string text;
    for (const auto& path : order) {
        text += path;
        text += "\r\n";
    }
    return text;
}

std::string WriteTempPlaylist(const std::vector<std::string>& order) {
    return WriteTempPlaylist(order, platform::ProgramDirectory(), platform::UserDataDirectory());
}

std::string WriteTempPlaylist(const std::vector<std::string>& order,
                              std::string_view programDirectory,
                              std::string_view userDataDirectory) {
    const std::string text = TempPlaylistText(order);
    const std::string primary = TempPlaylistPath(programDirectory);
    try {
        platform::WriteFileBytes(primary, text);
        return primary;
    } catch (const EInOutError& primaryError) {
        // Only a folder that may not be written is mended by the other folder; a full disk or a
        // bad name is not.
        if (!platform::IsWriteDenied(primaryError.ErrorCode) || userDataDirectory.empty())
            throw;
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(userDataDirectory), ignored);
        const std::string fallback = TempPlaylistPath(userDataDirectory);
        try {
            platform::WriteFileBytes(fallback, text);
        } catch (const EInOutError&) {
            throw primaryError;
        }
        return fallback;
    }
}

} // namespace Playback
