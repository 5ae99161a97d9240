// The facts of a real song file: its size from the file system, its length from the frames
// counted by libmpg123 and its titles through TagLib.
#pragma once

#include "describing/SongFacts.h"

class TTagLibSongFacts : public Catalogue::TSongFactsReader {
public:
    Catalogue::TSongFacts Read(const std::string& path) override;
};
