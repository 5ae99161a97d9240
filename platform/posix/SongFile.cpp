#include "platform/SongFile.h"

#include "platform/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

TSongFile::TSongFile(const std::string& path)
    : FHandle(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {
    if (FHandle < 0)
        throw EError("cannot open the file");
    struct stat facts {};
    if (::fstat(static_cast<int>(FHandle), &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(static_cast<int>(FHandle));
        throw EError("not a regular file");
    }
    FSize = static_cast<std::uint64_t>(facts.st_size);
}

TSongFile::~TSongFile() {
    ::close(static_cast<int>(FHandle));
}

std::int64_t TSongFile::ReadAt(std::uint64_t offset, char* to, std::size_t count) {
    for (;;) {
        const ssize_t read =
            ::pread(static_cast<int>(FHandle), to, count, static_cast<off_t>(offset));
        if (read >= 0 || errno != EINTR)
            return read;
    }
}

} // namespace platform
