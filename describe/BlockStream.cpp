#include "describe/BlockStream.h"

#include <algorithm>
#include <cstdio>

TBlockStream::TBlockStream(TBlockFile& file, const std::string& path) : FFile(file), FPath(path) {}

TagLib::ByteVector TBlockStream::readBlock(unsigned long count) {
    if (FPosition < 0 || FPosition >= length())
        return {};
    TagLib::ByteVector bytes(
        static_cast<unsigned int>(std::min<long>(static_cast<long>(count), length() - FPosition)));
    FFile.Seek(FPosition, SEEK_SET);
    const auto read = FFile.Read(bytes.data(), bytes.size());
    bytes.resize(read > 0 ? static_cast<unsigned int>(read) : 0);
    FPosition += static_cast<long>(bytes.size());
    return bytes;
}

void TBlockStream::seek(long offset, Position p) {
    const long base = p == Beginning ? 0 : p == Current ? FPosition : length();
    FPosition = base + offset;
}
