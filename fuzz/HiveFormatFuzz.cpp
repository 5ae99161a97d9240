// Feeds arbitrary bytes to the REGEDIT4 hive parser, as a damaged or hand-edited hive file
// would, and builds hives from them as the registry calls could: whatever is read or built is
// written and read back the same, and written again byte for byte the same.
#include "platform/posix/HiveFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace platform;
using namespace platform::hive;

namespace {

constexpr std::string_view RootName = "HKEY_CURRENT_USER";

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Same(const TKey& a, const TKey& b) {
    if (a.Name != b.Name || a.Values.size() != b.Values.size() ||
        a.SubKeys.size() != b.SubKeys.size())
        return false;
    for (std::size_t i = 0; i < a.Values.size(); ++i)
        if (a.Values[i].Name != b.Values[i].Name || a.Values[i].Type != b.Values[i].Type ||
            a.Values[i].Data != b.Values[i].Data)
            return false;
    for (std::size_t i = 0; i < a.SubKeys.size(); ++i)
        if (!Same(a.SubKeys[i], b.SubKeys[i]))
            return false;
    return true;
}

void CheckRoundTrip(const TKey& root) {
    const std::string text = SerialiseHive(root, RootName);
    std::string error;
    const auto again = ParseHive(text, RootName, error);
    Check(again.has_value());
    Check(Same(root, *again));
    Check(SerialiseHive(*again, RootName) == text);
}

// Reads bytes from the front of the fuzzer's input.
class TBytes {
public:
    explicit TBytes(std::string_view input) : FInput(input) {}
    bool Empty() const { return FInput.empty(); }
    unsigned char Byte() {
        if (FInput.empty())
            return 0;
        const auto byte = static_cast<unsigned char>(FInput.front());
        FInput.remove_prefix(1);
        return byte;
    }
    std::string Text(std::size_t limit) {
        const std::string text(FInput.substr(0, Byte() % (limit + 1)));
        FInput.remove_prefix(text.size());
        return text;
    }

private:
    std::string_view FInput;
};

// A name as the registry calls pass it: a line of text; a key name is also non-empty and
// without the path delimiter.
std::string Name(TBytes& bytes, bool keyName) {
    std::string name;
    for (const char c : bytes.Text(12))
        if (static_cast<unsigned char>(c) >= 0x20 && !(keyName && c == '\\'))
            name += c;
    return keyName && name.empty() ? "k" : name;
}

void Build(TKey& key, TBytes& bytes, int depth) {
    while (!bytes.Empty()) {
        const unsigned char step = bytes.Byte();
        if (step % 4 == 0) {
            return;
        } else if (step % 4 == 1 && depth < 4) {
            bool created = false;
            Build(key.SubKey(Name(bytes, true), created), bytes, depth + 1);
        } else {
            TValue value{Name(bytes, false), static_cast<DWORD>(bytes.Byte() % 8), bytes.Text(40)};
            if (auto* existing = key.FindValue(value.Name))
                *existing = std::move(value);
            else
                key.Values.push_back(std::move(value));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto root = ParseHive(input, RootName, error)) {
        Check(error.empty());
        CheckRoundTrip(*root);
    } else {
        Check(error.starts_with("line "));
    }

    TKey built;
    TBytes bytes(input);
    Build(built, bytes, 0);
    CheckRoundTrip(built);
    return 0;
}
