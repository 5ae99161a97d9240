#include "describe/TagLibSongFacts.h"

#include "describe/AudioScan.h"
#include "platform/Errors.h"
#include "platform/MusicFiles.h"

#include <id3v2framefactory.h>
#include <mpegfile.h>
#include <tag.h>
#include <tfilestream.h>

Catalogue::TSongFacts TTagLibSongFacts::Read(const std::string& path) {
    Catalogue::TSongFacts facts;
    const auto entry = platform::LookAt(path);
    if (entry.Kind != platform::TEntryKind::Regular)
        throw EError(entry.Kind == platform::TEntryKind::Missing ? "cannot open the file"
                                                                 : "not a regular file");
    facts.Size = entry.Size;
    facts.LengthMs = ScanAudioLengthMs(path);
    // The tags are read only once audio has been found, and without TagLib's audio properties:
    // TagLib looks for an ID3v2 tag up to the first frame it accepts, which in a file that holds
    // no audio is a search through the whole file. The file is opened for reading only: the
    // music folder may be read-only, and a file opened for writing looks changed to programs
    // that watch the folder.
    TagLib::FileStream stream(path.c_str(), true);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (const auto* tag = file.isValid() ? file.tag() : nullptr) {
        facts.Title = tag->title().toCString(true);
        facts.Album = tag->album().toCString(true);
    }
    return facts;
}
