#include "platform/posix/HiveFormat.h"

#include <algorithm>
#include <cstdio>

namespace platform::hive {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename TItem>
TItem* FindNamed(std::vector<TItem>& items, std::string_view name) {
    for (auto& item : items)
        if (SameName(item.Name, name))
            return &item;
    return nullptr;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool OnlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads a quoted text at the start of text, in which a backslash takes the next character as it
// is; text is left after the closing quotation mark.
std::optional<std::string> ReadQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        if (text[i] == '\\') {
            if (++i == text.size())
                break;
        }
        result += text[i];
    }
    return std::nullopt;
}

// Reads "xx,xx,..." (blanks allowed around each byte; an empty list is no bytes).
std::optional<std::string> ReadHexBytes(std::string_view text) {
    std::string bytes;
    text = TrimRight(TrimLeft(text));
    if (text.empty())
        return bytes;
    while (true) {
        text = TrimLeft(text);
        if (text.size() < 2)
            return std::nullopt;
        const int high = HexDigit(text[0]);
        const int low = HexDigit(text[1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        text = TrimLeft(text.substr(2));
        if (text.empty())
            return bytes;
        if (text.front() != ',')
            return std::nullopt;
        text.remove_prefix(1);
    }
}

std::optional<DWORD> ReadHexNumber(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    DWORD value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<DWORD>(digit);
    }
    return value;
}

std::string DwordBytes(DWORD value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Reads the data after "=": a quoted text, dword:xxxxxxxx, hex:... or hex(t):...
std::optional<TValue> ReadData(std::string_view text) {
    TValue value;
    if (!text.empty() && text.front() == '"') {
        auto quoted = ReadQuoted(text);
        if (!quoted || !OnlyBlanks(text))
            return std::nullopt;
        value.Type = REG_SZ;
        value.Data = std::move(*quoted);
        return value;
    }
    if (text.substr(0, 6) == "dword:") {
        const auto number = ReadHexNumber(TrimRight(text.substr(6)));
        if (!number)
            return std::nullopt;
        value.Type = REG_DWORD;
        value.Data = DwordBytes(*number);
        return value;
    }
    if (text.substr(0, 4) == "hex:") {
        value.Type = REG_BINARY;
        text.remove_prefix(4);
    } else if (text.substr(0, 4) == "hex(") {
        const auto close = text.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto type = ReadHexNumber(text.substr(4, close - 4));
        if (!type)
            return std::nullopt;
        value.Type = *type;
        text.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ReadHexBytes(text);
    if (!bytes)
        return std::nullopt;
    value.Data = std::move(*bytes);
    return value;
}

// Reads a whole value line: @=data or "name"=data.
std::optional<TValue> ReadValueLine(std::string_view line) {
    std::string name;
    if (!line.empty() && line.front() == '@') {
        line.remove_prefix(1);
    } else {
        auto quoted = ReadQuoted(line);
        if (!quoted)
            return std::nullopt;
        name = std::move(*quoted);
    }
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    auto value = ReadData(line.substr(1));
    if (value)
        value->Name = std::move(name);
    return value;
}

bool EndsInBackslash(std::string_view text) {
    text = TrimRight(text);
    return !text.empty() && text.back() == '\\';
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

bool PlainText(std::string_view data) {
    return std::none_of(data.begin(), data.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Hex bytes as regedit writes them: lines of at most about 80 characters, each but the last
// ending in ",\" and the next one indented by two blanks.
void AppendHex(std::string& out, std::string_view data, std::size_t column) {
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out += ',';
            ++column;
            if (column > 75) {
                out += "\\\n  ";
                column = 2;
            }
        }
        const auto byte = static_cast<unsigned char>(data[i]);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
        column += 2;
    }
}

void AppendValue(std::string& out, const TValue& value) {
    const auto lineStart = out.size();
    out += value.Name.empty() ? std::string("@") : Quote(value.Name);
    out += '=';
    if (value.Type == REG_SZ && PlainText(value.Data)) {
        out += Quote(value.Data);
    } else if (value.Type == REG_DWORD && value.Data.size() == 4) {
        DWORD number = 0;
        for (int i = 3; i >= 0; --i)
            number =
                (number << 8) | static_cast<unsigned char>(value.Data[static_cast<std::size_t>(i)]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08lx", static_cast<unsigned long>(number));
        out += text;
    } else {
        if (value.Type == REG_BINARY) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%lx):", static_cast<unsigned long>(value.Type));
            out += text;
        }
        AppendHex(out, value.Data, out.size() - lineStart);
    }
    out += '\n';
}

void AppendKey(std::string& out, const TKey& key, const std::string& path, bool isRoot) {
    if (!isRoot || !key.Values.empty()) {
        out += '[' + path + "]\n";
        for (const auto& value : key.Values)
            AppendValue(out, value);
        out += '\n';
    }
    for (const auto& sub : key.SubKeys)
        AppendKey(out, sub, path + '\\' + sub.Name, false);
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

TKey* TKey::FindSubKey(std::string_view name) {
    return FindNamed(SubKeys, name);
}

const TKey* TKey::FindSubKey(std::string_view name) const {
    return const_cast<TKey*>(this)->FindSubKey(name);
}

TValue* TKey::FindValue(std::string_view name) {
    return FindNamed(Values, name);
}

const TValue* TKey::FindValue(std::string_view name) const {
    return const_cast<TKey*>(this)->FindValue(name);
}

TKey& TKey::SubKey(std::string_view name, bool& created) {
    if (auto* found = FindSubKey(name)) {
        created = false;
        return *found;
    }
    created = true;
    SubKeys.push_back(TKey{std::string(name), {}, {}});
    return SubKeys.back();
}

TKey* FindPath(TKey& root, const std::vector<std::string>& path) {
    TKey* key = &root;
    for (const auto& name : path) {
        key = key->FindSubKey(name);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

const TKey* FindPath(const TKey& root, const std::vector<std::string>& path) {
    return FindPath(const_cast<TKey&>(root), path);
}

std::optional<TKey> ParseHive(std::string_view text, std::string_view rootName,
                              std::string& error) {
    const auto lines = SplitLines(text);
    if (lines.empty() || lines[0] != "REGEDIT4") {
        error = "line 1: the file does not begin with REGEDIT4";
        return std::nullopt;
    }
    TKey root;
    TKey* current = nullptr;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fail = [&](const char* reason) {
            error = "line " + std::to_string(i + 1) + ": " + reason;
            return std::nullopt;
        };
        std::string_view line = lines[i];
        if (OnlyBlanks(line) || line.front() == ';')
            continue;
        if (line.front() == '[') {
            line = TrimRight(line);
            if (line.size() < 2 || line.back() != ']')
                return fail("a key header without its closing bracket");
            auto path = line.substr(1, line.size() - 2);
            auto end = path.find('\\');
            if (!SameName(path.substr(0, end), rootName))
                return fail("a key outside this hive");
            current = &root;
            while (end != std::string_view::npos) {
                path.remove_prefix(end + 1);
                end = path.find('\\');
                const auto name = path.substr(0, end);
                if (name.empty())
                    return fail("an empty key name");
                bool created = false;
                current = &current->SubKey(name, created);
            }
            continue;
        }
        std::string joined(line);
        // A hex list goes on on the next line when a line ends in a backslash.
        while (EndsInBackslash(joined) && i + 1 < lines.size()) {
            joined.resize(TrimRight(joined).size() - 1);
            joined += TrimLeft(lines[++i]);
        }
        if (current == nullptr)
            return fail("a value before the first key");
        auto value = ReadValueLine(joined);
        if (!value)
            return fail("a value line that cannot be read");
        if (auto* existing = current->FindValue(value->Name))
            *existing = std::move(*value);
        else
            current->Values.push_back(std::move(*value));
    }
    return root;
}

std::string SerialiseHive(const TKey& root, std::string_view rootName) {
    std::string out = "REGEDIT4\n\n";
    AppendKey(out, root, std::string(rootName), true);
    return out;
}

} // namespace platform::hive
