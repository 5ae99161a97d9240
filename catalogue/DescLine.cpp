#include "catalogue/DescLine.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/Utf8.h"

namespace Catalogue {

namespace {

constexpr std::string_view Separator = "  ";
// The separator must lie within the first 20 columns.
constexpr std::size_t SeparatorColumns = 20;
// The description field ends at column 50.
constexpr std::size_t DescriptionEnd = 50;
// A song line needs the size column 52 to carry a time.
constexpr std::size_t SizeStart = 51;
constexpr std::size_t SizeWidth = 10;
constexpr std::size_t RateStart = 62;
constexpr std::size_t RateWidth = 6;
constexpr std::size_t CdNumberStart = 51;
constexpr std::size_t CdNumberWidth = 6;

std::string_view Columns(std::string_view line, std::size_t start, std::size_t width) {
    if (start >= line.size())
        return {};
    return line.substr(start, width);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

} // namespace

std::string_view ExtractDir(std::string_view line) {
    const auto p = line.find(Separator);
    return p == std::string_view::npos ? std::string_view{} : line.substr(0, p);
}

bool PassesSyntaxTest(std::string_view line) {
    return line.substr(0, SeparatorColumns).find(Separator) != std::string_view::npos;
}

TDescField ParseDescription(std::string_view line) {
    const auto p = line.substr(0, SeparatorColumns).find(Separator);
    if (p == std::string_view::npos)
        return {true, {}};
    const std::size_t width = DescriptionEnd - (p + 2);
    std::string_view field = Columns(line, p + 2, width);
    // A field that reaches column 50 may have been cut there inside a UTF-8 character.
    if (field.size() == width && static_cast<unsigned char>(field.back()) >= 0x80)
        field = WithoutCutCharacter(field);
    return {false, TrimTrailingBlanks(field)};
}

std::string ExtractDesc(std::string_view line, std::string_view descPath,
                        const TSyntaxErrorHandler& onSyntaxError) {
    const auto field = ParseDescription(line);
    if (!field.SyntaxError)
        return std::string(field.Text);
    if (onSyntaxError)
        onSyntaxError(SyntaxErrorMessage(descPath));
    return SyntaxErrorText(descPath);
}

std::string_view CdNumberField(std::string_view line) {
    return Columns(line, CdNumberStart, CdNumberWidth);
}

namespace {

// ParseNumberField into value, false for no number. A song line's two numbers go through here
// in every reading, so the result comes back in registers: an optional built here and taken
// apart by the caller costs a stalled load for each.
bool ParseNumber(std::string_view field, std::int32_t& value) {
    const char* at = field.data();
    const char* end = at + field.size();
    while (end != at && end[-1] == ' ')
        --end;
    while (at != end && *at == ' ')
        ++at;
    bool negative = false;
    if (at != end && (*at == '-' || *at == '+')) {
        negative = *at == '-';
        ++at;
    }
    if (at == end)
        return false;
    constexpr std::uint64_t limit = std::uint64_t{INT32_MAX} + 1;
    std::uint64_t magnitude = 0;
    for (; at != end; ++at) {
        const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
        if (digit > 9)
            return false;
        magnitude = magnitude * 10 + digit;
        if (magnitude > limit)
            return false;
    }
    if (!negative && magnitude == limit)
        return false;
    value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                               : static_cast<std::int64_t>(magnitude));
    return true;
}

} // namespace

std::optional<std::int32_t> ParseNumberField(std::string_view field) {
    std::int32_t value = 0;
    if (!ParseNumber(field, value))
        return std::nullopt;
    return value;
}

TPlayTime ExtractTime(std::string_view line) {
    if (line.size() <= SizeStart)
        return {};
    std::int32_t size = 0;
    std::int32_t rate = 0;
    // A song has no negative size or bit rate; such a line is taken as one of unknown
    // time rather than letting a negative time reduce the sums.
    if (!ParseNumber(Columns(line, SizeStart, SizeWidth), size) ||
        !ParseNumber(Columns(line, RateStart, RateWidth), rate) || size < 0 || rate <= 0)
        return {};
    return PlayTimeOf(size, rate);
}

std::string dec2str(std::int32_t value, int width, char pad) {
    std::string digits = std::to_string(value);
    if (width > 0 && digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), pad);
    return digits;
}

} // namespace Catalogue
