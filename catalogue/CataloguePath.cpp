#include "catalogue/CataloguePath.h"

namespace Catalogue {

namespace {

// Where the first delimiter that follows another lies, or npos. Each delimiter is found with a
// search for one byte, which the library does many bytes at a time; a search for the pair
// would look at every byte on its own.
std::size_t DoubledDelimiter(std::string_view path) {
    for (auto at = path.find(PathDelimiter); at != std::string_view::npos && at + 1 < path.size();
         at = path.find(PathDelimiter, at + 1))
        if (path[at + 1] == PathDelimiter)
            return at;
    return std::string_view::npos;
}

} // namespace

void ReducePath(std::string& path) {
    // Most paths have no doubled delimiter: finding none is one quick search.
    const auto first = DoubledDelimiter(path);
    if (first == std::string::npos)
        return;
    std::size_t kept = first + 1;
    for (std::size_t i = first + 1; i < path.size(); ++i) {
        if (path[i] == PathDelimiter && kept > 0 && path[kept - 1] == PathDelimiter)
            continue;
        path[kept++] = path[i];
    }
    path.resize(kept);
}

void ComposePath(std::string& out, std::initializer_list<std::string_view> parts) {
    // The joints get one delimiter however many end the path so far or begin the next part, so
    // that only a part holding a doubled delimiter of its own leaves anything to reduce (a
    // folder given with a trailing delimiter would otherwise make every path a reduced one).
    out.clear();
    std::size_t size = parts.size();
    for (const auto part : parts)
        size += part.size();
    out.reserve(size);
    bool first = true;
    bool reduce = false;
    for (auto part : parts) {
        if (!first) {
            if (out.empty() || out.back() != PathDelimiter)
                out += PathDelimiter;
            while (!part.empty() && part.front() == PathDelimiter)
                part.remove_prefix(1);
        }
        reduce = reduce || DoubledDelimiter(part) != std::string_view::npos;
        out += part;
        first = false;
    }
    if (reduce)
        ReducePath(out);
}

std::string JoinPath(std::string_view parent, std::string_view child) {
    std::string path;
    ComposePath(path, {parent, child});
    return path;
}

std::string DescFilePath(std::string_view directory) {
    return JoinPath(directory, DescFileName);
}

std::string_view DirectoryPart(std::string_view path) {
#ifdef _WIN32
    const auto last = path.find_last_of("\\/:");
#else
    const auto last = path.rfind(PathDelimiter);
#endif
    if (last == std::string_view::npos)
        return {};
    return path.substr(0, last + 1);
}

} // namespace Catalogue
