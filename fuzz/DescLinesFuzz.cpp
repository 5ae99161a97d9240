// Feeds arbitrary bytes to the description-file reader as a file's text, and every line it
// gives to the line parsers: the views stay inside the text, the lines follow the line-end
// rule, and the play time agrees with an exact computation.
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

using namespace Catalogue;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

bool IsLineEnd(char c) {
    return c == CarriageReturn || c == LineFeed;
}

// A numeric field read the plain way: blanks around, a sign, digits, in 32 bits.
std::optional<std::int32_t> NumberByHand(std::string_view field) {
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    bool negative = false;
    if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    if (field.empty())
        return std::nullopt;
    __int128 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > (__int128{1} << 40))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string_view Columns(std::string_view line, std::size_t start, std::size_t width) {
    return start >= line.size() ? std::string_view{} : line.substr(start, width);
}

// The play time of a song line as exact fractions: s = 8 * size / rate seconds, minutes the
// whole part of s / 60, seconds the whole part of what remains.
TPlayTime TimeByHand(std::string_view line) {
    if (line.size() <= 51)
        return {};
    const auto size = NumberByHand(Columns(line, 51, 10));
    const auto rate = NumberByHand(Columns(line, 62, 6));
    if (!size || !rate || *size < 0 || *rate <= 0)
        return {};
    const __int128 bits = __int128{8} * *size;
    const __int128 minutes = bits / (__int128{60} * *rate);
    const __int128 seconds = (bits - minutes * 60 * *rate) / *rate;
    return {static_cast<int>(minutes), static_cast<int>(seconds)};
}

void CheckLine(std::string_view line, std::string_view text) {
    Check(Inside(line, text));
    for (const char c : line)
        Check(!IsLineEnd(c) && c != CtrlZ);

    const std::string_view dir = ExtractDir(line);
    const auto separator = line.find("  ");
    Check(dir.data() == line.data() || dir.empty());
    Check(dir.size() == (separator == std::string_view::npos ? 0 : separator));

    const bool passes = PassesSyntaxTest(line);
    Check(passes == (separator != std::string_view::npos && separator + 2 <= 20));
    const TDescField field = ParseDescription(line);
    Check(field.SyntaxError == !passes);
    if (passes) {
        Check(Inside(field.Text, line));
        Check(field.Text.empty() || (field.Text.data() >= line.data() + separator + 2 &&
                                     field.Text.data() + field.Text.size() <= line.data() + 50));
        Check(field.Text.empty() || field.Text.back() != ' ');
    } else {
        Check(field.Text.empty());
    }

    const std::string_view cd = CdNumberField(line);
    Check(Inside(cd, line) && cd.size() <= 6);

    const TPlayTime time = ExtractTime(line);
    Check(time == TimeByHand(line));
    Check(!time.Known() || (time.Minutes >= 0 && time.Seconds >= 0 && time.Seconds < 60));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string_view read = text.substr(0, text.find(CtrlZ));

    // The raw lines cover the text up to its first Ctrl-Z, each ended by CR, LF or CR LF.
    TDescLines raw(text);
    TDescLines described(text);
    std::string_view line;
    const char* next = read.data();
    while (raw.NextRawLine(line)) {
        Check(line.data() == next);
        next = line.data() + line.size();
        if (next < read.data() + read.size()) {
            Check(IsLineEnd(*next));
            next = PastLineEnd(next, read.data() + read.size());
        }
        CheckLine(line, text);
        // The description lines are the raw lines that are neither blank nor comments.
        if (!IsBlankLine(line) && !IsCommentLine(line)) {
            std::string_view same;
            Check(described.NextLine(same));
            Check(same.data() == line.data() && same.size() == line.size());
        }
        Check(ParseNumberField(line) == NumberByHand(line));
    }
    Check(next == read.data() + read.size() || read.empty());
    Check(!described.NextLine(line));
    return 0;
}
