#include "platform/posix/DesktopEntry.h"

#include <cstring>

namespace platform::desktop {

TStrings Split(const std::string& text, char delimiter) {
    TStrings parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(delimiter, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

TKeyFile ParseKeyFile(std::istream& in) {
    TKeyFile groups;
    std::string line;
    TGroup* group = nullptr;
    while (std::getline(in, line)) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto equals = line.find('=');
        if (line.empty() || line[0] == '#') {
            continue;
        } else if (line[0] == '[' && line.back() == ']') {
            group = &groups[line.substr(1, line.size() - 2)];
        } else if (group != nullptr && equals != std::string::npos) {
            std::string key = line.substr(0, equals);
            key.erase(key.find_last_not_of(" \t") + 1);
            const auto valueStart = line.find_first_not_of(" \t", equals + 1);
            group->emplace(key, valueStart == std::string::npos ? "" : line.substr(valueStart));
        }
    }
    return groups;
}

TStrings ListedIds(const TKeyFile& file, const std::string& group, const std::string& key) {
    TStrings ids;
    const auto found = file.find(group);
    if (found == file.end() || !found->second.contains(key))
        return ids;
    for (const auto& id : Split(found->second.at(key), ';'))
        if (!id.empty())
            ids.push_back(id);
    return ids;
}

std::string UnescapeValue(const std::string& value) {
    static const std::map<char, char> escapes = {
        {'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto escape =
            i + 1 < value.size() && value[i] == '\\' ? escapes.find(value[i + 1]) : escapes.end();
        text += escape != escapes.end() ? escape->second : value[i];
        i += escape != escapes.end() ? 1 : 0;
    }
    return text;
}

std::optional<TStrings> SplitArguments(const std::string& line) {
    TStrings args;
    std::string current;
    bool started = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '\\' && i + 1 < line.size() && std::strchr("\"`$\\", line[i + 1])) {
            current += line[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            if (started)
                args.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (started)
        args.push_back(current);
    return args;
}

TStrings RemoveFieldCodes(const TStrings& args) {
    TStrings result;
    for (const auto& arg : args) {
        std::string text;
        bool hadCode = false;
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] == '%' && i + 1 < arg.size()) {
                if (arg[++i] == '%')
                    text += '%';
                else
                    hadCode = true;
            } else {
                text += arg[i];
            }
        }
        if (!text.empty() || !hadCode)
            result.push_back(text);
    }
    return result;
}

std::string QuotedArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\"") == std::string::npos)
        return arg;
    std::string text = "\"";
    for (const char c : arg)
        text += c == '"' ? std::string("\\\"") : std::string(1, c);
    return text + "\"";
}

} // namespace platform::desktop
