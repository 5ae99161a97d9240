#include "catalogue/CataloguePath.h"

namespace Catalogue {

void ReducePath(std::string& path) {
    // Most paths have no doubled delimiter: finding none is one quick search.
    constexpr char doubled[] = {PathDelimiter, PathDelimiter};
    const auto first = path.find(std::string_view(doubled, 2));
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
    constexpr char doubled[] = {PathDelimiter, PathDelimiter};
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
        reduce = reduce || part.find(std::string_view(doubled, 2)) != std::string_view::npos;
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
