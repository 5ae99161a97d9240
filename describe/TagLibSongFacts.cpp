#include "describe/TagLibSongFacts.h"

#include "platform/Errors.h"

#include <filesystem>
#include <mpegfile.h>
#include <tag.h>

Catalogue::TSongFacts TTagLibSongFacts::Read(const std::string& path) {
    Catalogue::TSongFacts facts;
    std::error_code error;
    facts.Size = std::filesystem::file_size(path, error);
    if (error)
        throw EError(error.message());
    // The accurate reading scans a file without a Xing or VBRI header frame by frame, so the
    // length of a VBR song is its true length.
    TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Accurate);
    if (!file.isValid())
        throw EError("not an MP3 file, or damaged");
    const auto* properties = file.audioProperties();
    if (properties == nullptr || properties->sampleRate() == 0)
        throw EError("no MPEG audio found");
    facts.LengthMs = properties->lengthInMilliseconds();
    if (const auto* tag = file.tag()) {
        facts.Title = tag->title().toCString(true);
        facts.Album = tag->album().toCString(true);
    }
    return facts;
}
