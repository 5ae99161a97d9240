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
    out.clear();
    bool first = true;
    for (const auto part : parts) {
        if (!first)
            out += PathDelimiter;
        out += part;
        first = false;
    }
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
    const auto last = path.find_last_of("\\:");
#else
    const auto last = path.rfind(PathDelimiter);
#endif
    if (last == std::string_view::npos)
        return {};
    return path.substr(0, last + 1);
}

} // namespace Catalogue
