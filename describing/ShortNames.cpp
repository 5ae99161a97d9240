#include "describing/ShortNames.h"

#include "describing/DescLayout.h"

#include <algorithm>
#include <array>

namespace Catalogue {

namespace {

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return folded;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The bytes of chars as a table, for a test per character without a search.
constexpr std::array<bool, 256> ByteSet(std::string_view chars) {
    std::array<bool, 256> set{};
    for (const char c : chars)
        set[static_cast<unsigned char>(c)] = true;
    return set;
}

// Characters no catalogue name keeps: control characters break a line, and these others
// cannot stand in a file name on every system.
constexpr auto Unnameable = ByteSet("<>:\"/\\|?*");
// The punctuation a name too long for its field loses first.
constexpr auto Punctuation = ByteSet("()[]{}'.,!&#+=~");

bool In(const std::array<bool, 256>& set, char c) {
    return set[static_cast<unsigned char>(c)];
}

bool Dropped(char c) {
    return static_cast<unsigned char>(c) < 32 || c == 127 || In(Unnameable, c);
}

// The text with blank runs made one blank, no blank at either end and no ";" first.
std::string Tidied(std::string_view text) {
    std::string tidy;
    tidy.reserve(text.size());
    for (const char c : text) {
        if (Dropped(c))
            continue;
        if (c == ' ' && (tidy.empty() || tidy.back() == ' '))
            continue;
        if (c == ';' && tidy.empty())
            continue;
        tidy += c;
    }
    while (!tidy.empty() && tidy.back() == ' ')
        tidy.pop_back();
    return tidy;
}

// The text without its punctuation, runs of blanks tidied again.
std::string WithoutPunctuation(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text)
        if (!In(Punctuation, c))
            kept += c;
    return Tidied(kept);
}

// The longest start of text of at most width bytes that ends on a UTF-8 character boundary
// and not in a blank.
std::string Cut(std::string text, std::size_t width) {
    if (text.size() > width) {
        std::size_t end = width;
        while (end > 0 && IsContinuation(text[end]))
            --end;
        text.resize(end);
    }
    return Tidied(text);
}

// The stem shortened to width bytes: first the separators " - " and "_" become blanks, then
// punctuation goes, then the rest is cut.
std::string Shortened(std::string_view stem, std::size_t width) {
    std::string text = Tidied(stem);
    if (text.size() <= width)
        return text;
    std::string spaced;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, " - ") == 0) {
            spaced += ' ';
            i += 2;
        } else {
            spaced += text[i] == '_' ? ' ' : text[i];
        }
    }
    text = Tidied(spaced);
    if (text.size() > width)
        text = WithoutPunctuation(text);
    return Cut(text, width);
}

} // namespace

void TShortNames::Reserve(std::string_view name) {
    FUsed.insert(Folded(name));
}

bool TShortNames::Taken(std::string_view name) const {
    return FUsed.contains(Folded(name));
}

std::string TShortNames::Make(std::string_view longName, std::string_view extension) {
    std::string_view stem = longName;
    if (!extension.empty() && stem.size() >= extension.size() &&
        Folded(stem.substr(stem.size() - extension.size())) == Folded(extension))
        stem.remove_suffix(extension.size());
    const std::size_t width = MaxNameLength - extension.size();
    std::string base = Shortened(stem, width);
    if (base.empty())
        base = extension.empty() ? "folder" : "song";
    std::string name = base;
    name.append(extension);
    for (int number = 2; Taken(name) || CheckName(name) != TNameFault::None; ++number) {
        std::string suffix = "~";
        suffix.append(std::to_string(number));
        name = Cut(base, width - suffix.size());
        name.append(suffix).append(extension);
    }
    Reserve(name);
    return name;
}

} // namespace Catalogue
