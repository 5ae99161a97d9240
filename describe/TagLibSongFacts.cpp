#include "describe/TagLibSongFacts.h"

#include "describe/AudioScan.h"
#include "describe/BlockFile.h"
#include "describe/BlockStream.h"

#include <id3v2framefactory.h>
#include <mpegfile.h>
#include <tag.h>

Catalogue::TSongFacts TTagLibSongFacts::Read(const std::string& path) {
    Catalogue::TSongFacts facts;
    TBlockFile song(path);
    facts.Size = static_cast<std::uint64_t>(song.Size());
    facts.LengthMs = ScanAudioLengthMs(song);
    // The tags are read only once audio has been found, and without TagLib's audio properties:
    // TagLib looks for an ID3v2 tag up to the first frame it accepts, which in a file that holds
    // no audio is a search through the whole file. They are read from the blocks the length was
    // read from.
    TBlockStream stream(song, path);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (const auto* tag = file.isValid() ? file.tag() : nullptr) {
        facts.Title = tag->title().toCString(true);
        facts.Album = tag->album().toCString(true);
    }
    return facts;
}
