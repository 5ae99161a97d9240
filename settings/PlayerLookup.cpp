#include "settings/PlayerLookup.h"

#include <algorithm>

namespace {
char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

std::string PlayerFromCommand(const std::string& command) {
    std::string upper = command;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    const std::size_t start = command.find_first_not_of(' ');
    if (start == std::string::npos)
        return {};
    const auto exe = upper.find(".EXE");
    if (exe != std::string::npos) {
        // A quoted program path loses its opening quotation mark; its closing one lies after
        // the extension and goes with the arguments.
        const std::size_t from = command[start] == '"' && start < exe ? start + 1 : 0;
        return command.substr(from, exe + 4 - from);
    }
    if (command[start] == '"') {
        const auto close = command.find('"', start + 1);
        return command.substr(start + 1,
                              close == std::string::npos ? std::string::npos : close - start - 1);
    }
    const auto end = command.find(' ', start);
    return command.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
