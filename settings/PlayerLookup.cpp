#include "settings/PlayerLookup.h"

#include <algorithm>
#include <vector>

namespace {
const char* const UserChoiceKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.mp3\\UserChoice";
const char* const FileTypeKey = ".mp3";
const char* const OpenCommandKey = "\\shell\\open\\command";

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void AddFileType(std::vector<std::string>& fileTypes, const std::optional<std::string>& name) {
    if (name && !name->empty() &&
        std::find(fileTypes.begin(), fileTypes.end(), *name) == fileTypes.end())
        fileTypes.push_back(*name);
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

std::string ProgramOfOpenCommand(const std::string& command) {
    const std::size_t start = command.find_first_not_of(' ');
    if (start == std::string::npos || command[start] != '"')
        return PlayerFromCommand(command);
    const auto close = command.find('"', start + 1);
    return command.substr(start + 1,
                          close == std::string::npos ? std::string::npos : close - start - 1);
}

std::string ExpandVariables(const std::string& text, const TVariableReader& variable) {
    std::string expanded;
    std::size_t from = 0;
    while (from < text.size()) {
        const auto open = text.find('%', from);
        const auto close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            expanded += text.substr(from);
            break;
        }
        expanded += text.substr(from, open - from);
        const std::string name = text.substr(open + 1, close - open - 1);
        const auto value = name.empty() ? std::nullopt : variable(name);
        expanded += value ? *value : text.substr(open, close - open + 1);
        from = close + 1;
    }
    return expanded;
}

std::string PlayerOfFileType(const TRegistryTextReader& read, const TVariableReader& variable) {
    std::vector<std::string> fileTypes;
    AddFileType(fileTypes, read(platform::HKEY_CURRENT_USER, UserChoiceKey, "ProgId"));
    AddFileType(fileTypes, read(platform::HKEY_CLASSES_ROOT, FileTypeKey, ""));
    // A chosen file type without an open command of its own (a store app's) gives way to
    // the one the extension names.
    for (const auto& fileType : fileTypes) {
        const auto command = read(platform::HKEY_CLASSES_ROOT, fileType + OpenCommandKey, "");
        if (!command)
            continue;
        auto player = ExpandVariables(ProgramOfOpenCommand(*command), variable);
        if (!player.empty())
            return player;
    }
    return {};
}
