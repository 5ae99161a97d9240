// Feeds arbitrary bytes to the key-file reader of the desktop's player lookup, as a damaged
// desktop entry or mimeapps list would, and every value to the Exec readers.
#include "platform/posix/DesktopEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace platform::desktop;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void CheckCommand(const std::string& value) {
    const std::string unescaped = UnescapeValue(value);
    Check(unescaped.size() <= value.size());
    Check(value.find('\\') != std::string::npos || unescaped == value);

    const auto args = SplitArguments(unescaped);
    if (!args)
        return;
    std::size_t length = 0;
    for (const auto& arg : *args)
        length += arg.size();
    Check(length <= unescaped.size());

    const TStrings kept = RemoveFieldCodes(*args);
    Check(kept.size() <= args->size());

    // Quoted arguments joined by blanks read back as they were; a backslash may stand before a
    // character that the quoting reads as escaped, so only arguments without one are compared.
    std::string command;
    bool plain = true;
    for (const auto& arg : kept) {
        plain = plain && arg.find('\\') == std::string::npos;
        command += (command.empty() ? "" : " ") + QuotedArgument(arg);
    }
    if (plain)
        Check(SplitArguments(command) == kept);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const TKeyFile file = ParseKeyFile(in);
    for (const auto& [group, entries] : file) {
        Check(group.find('\n') == std::string::npos);
        for (const auto& [key, value] : entries) {
            Check(key.empty() || (!IsBlank(key.front()) && !IsBlank(key.back())));
            Check(key.find('=') == std::string::npos);
            Check(value.empty() || !IsBlank(value.front()));
            for (const auto& id : ListedIds(file, group, key))
                Check(!id.empty() && id.find(';') == std::string::npos);
            CheckCommand(value);
        }
    }
    return 0;
}
