#include "describing/DescLayout.h"

#include "catalogue/DescLine.h"
#include "catalogue/PlayTime.h"
#include "catalogue/Utf8.h"

#include <algorithm>

namespace Catalogue {

namespace {

constexpr std::size_t DescriptionEnd = 50;
// Columns 52 to 68 as zero-based offsets: size 51 to 60, blank 61, rate 62 to 67.
constexpr std::size_t NumbersStart = 51;
constexpr std::size_t SizeWidth = 10;
constexpr std::size_t RateWidth = 6;
constexpr std::size_t NumbersEnd = NumbersStart + SizeWidth + 1 + RateWidth;

std::string RightAligned(std::int32_t value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string NumberColumns(const TSongNumbers& numbers) {
    return RightAligned(numbers.Size, SizeWidth) + ' ' + RightAligned(numbers.Rate, RateWidth);
}

// The program shows the description field of a line as written in Windows-1252: the reader
// keeps every byte of it, and it is plain ASCII or not UTF-8 (UTF-8 is shown as such).
bool ReadsAsWindows1252(std::string_view line, std::size_t nameSize) {
    const std::size_t start = nameSize + 2;
    std::string_view written = line.substr(start, DescriptionEnd - std::min(start, DescriptionEnd));
    written = written.substr(0, written.find_last_not_of(' ') + 1);
    if (ParseDescription(line).Text.size() != written.size())
        return false;
    const bool ascii = std::all_of(written.begin(), written.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii || !IsUtf8(written);
}

} // namespace

TNameFault CheckName(std::string_view name) {
    if (name.size() > MaxNameLength)
        return TNameFault::TooLong;
    if (name.empty() || name.front() == ';' || name.back() == ' ' ||
        name.find("  ") != std::string_view::npos)
        return TNameFault::Unwritable;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32)
            return TNameFault::Unwritable;
    return TNameFault::None;
}

TLaidOutLine LayOutLine(std::string_view name, std::string_view description, TCodePage page,
                        const std::optional<TSongNumbers>& numbers) {
    TLaidOutLine line;
    line.Text.reserve(NumbersEnd);
    line.Text.append(name);
    line.Text.append("  ");
    const std::size_t width = DescriptionEnd - std::min(line.Text.size(), DescriptionEnd);
    const std::size_t kept = CharacterBoundary(description, width, page);
    line.Cut = kept < description.size();
    const auto last = description.substr(0, kept).find_last_not_of(' ');
    if (last != std::string_view::npos)
        line.Text.append(description.substr(0, last + 1));
    if (numbers) {
        line.Text.resize(NumbersStart, ' ');
        line.Text += NumberColumns(*numbers);
    }
    return line;
}

TTitleLine LayOutTitle(std::string_view name, std::string_view title, TCodePage page,
                       const std::optional<TSongNumbers>& numbers) {
    auto encoded = EncodeText(title, page);
    auto line = LayOutLine(name, encoded.Bytes, encoded.Page, numbers);
    if (page == TCodePage::Auto && encoded.Page == TCodePage::Windows1252 &&
        !ReadsAsWindows1252(line.Text, name.size())) {
        encoded = EncodeText(title, TCodePage::Utf8);
        line = LayOutLine(name, encoded.Bytes, encoded.Page, numbers);
    }
    return {std::move(line.Text), line.Cut, encoded.Unrepresentable};
}

std::string WithNumbers(std::string_view line, const TSongNumbers& numbers) {
    std::string result(line.substr(0, NumbersStart));
    result.resize(NumbersStart, ' ');
    result += NumberColumns(numbers);
    if (line.size() > NumbersEnd)
        result.append(line.substr(NumbersEnd));
    return result;
}

std::optional<TSongNumbers> ChooseNumbers(std::uint64_t size, std::int64_t lengthMs) {
    if (size > static_cast<std::uint64_t>(INT32_MAX) || lengthMs < 0)
        return std::nullopt;
    const auto bits = 8 * static_cast<std::int64_t>(size);
    const std::int64_t seconds = lengthMs / 1000;
    // floor(bits / rate) == seconds exactly when bits / (seconds + 1) < rate <= bits / seconds.
    std::int64_t lowest = bits / (seconds + 1) + 1;
    std::int64_t highest = seconds == 0 ? MaxBitRate : bits / seconds;
    lowest = std::max<std::int64_t>(lowest, 1);
    highest = std::min<std::int64_t>(highest, MaxBitRate);
    if (lowest > highest)
        return std::nullopt;
    // The rate that puts the play time in the middle of its second, bits / (seconds + 0.5),
    // rounded, keeps the time right against any rounding of the length.
    const std::int64_t middle = (2 * bits + seconds + 1) / (2 * seconds + 1);
    const auto rate = static_cast<std::int32_t>(std::clamp(middle, lowest, highest));
    const TSongNumbers numbers{static_cast<std::int32_t>(size), rate};
    const auto time = PlayTimeOf(numbers.Size, numbers.Rate);
    if (!time.Known() || std::int64_t{time.Minutes} * 60 + time.Seconds != seconds)
        return std::nullopt;
    return numbers;
}

} // namespace Catalogue
