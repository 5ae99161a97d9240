// TagLib's view of a song through the blocks of a TBlockFile, so that the tags are read from the
// bytes already read for the length: the song is opened once and its head and tail read once.
// The stream is read-only; its writing calls change nothing.
#pragma once

#include "describe/BlockFile.h"

#include <tiostream.h>

class TBlockStream : public TagLib::IOStream {
public:
    TBlockStream(TBlockFile& file, const std::string& path);

    TagLib::FileName name() const override { return FPath.c_str(); }
    TagLib::ByteVector readBlock(unsigned long count) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position p) override;
    long tell() const override { return FPosition; }
    long length() override { return static_cast<long>(FFile.Size()); }
    void truncate(long) override {}

private:
    TBlockFile& FFile;
    std::string FPath;
    long FPosition = 0;
};
