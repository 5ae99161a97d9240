#include "describing/DescCodePage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Catalogue {

namespace {

constexpr char Replacement = '?';

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves unused.
constexpr std::array<char32_t, 32> Windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The eight places where ISO-8859-15 differs from ISO-8859-1.
struct TLatin9Place {
    unsigned char Byte;
    char32_t Code;
};
constexpr std::array<TLatin9Place, 8> Latin9Places = {{{0xA4, 0x20AC},
                                                       {0xA6, 0x0160},
                                                       {0xA8, 0x0161},
                                                       {0xB4, 0x017D},
                                                       {0xB8, 0x017E},
                                                       {0xBC, 0x0152},
                                                       {0xBD, 0x0153},
                                                       {0xBE, 0x0178}}};

// The single byte of a character in a single-byte code page, or nothing.
std::optional<unsigned char> SingleByte(char32_t code, TCodePage page) {
    if (code < 0x80)
        return static_cast<unsigned char>(code);
    switch (page) {
    case TCodePage::Windows1252:
        if (code >= 0xA0 && code <= 0xFF)
            return static_cast<unsigned char>(code);
        for (std::size_t i = 0; i < Windows1252High.size(); ++i)
            if (Windows1252High[i] == code)
                return static_cast<unsigned char>(0x80 + i);
        return std::nullopt;
    case TCodePage::Latin1:
        if (code <= 0xFF)
            return static_cast<unsigned char>(code);
        return std::nullopt;
    case TCodePage::Latin9:
        for (const auto& place : Latin9Places) {
            if (place.Code == code)
                return place.Byte;
            if (place.Byte == code)
                return std::nullopt;
        }
        if (code <= 0xFF)
            return static_cast<unsigned char>(code);
        return std::nullopt;
    case TCodePage::Utf8:
        break;
    }
    return std::nullopt;
}

// Decodes the UTF-8 character at the start of text: its code and length, or nothing for a
// byte that does not begin a well-formed character (overlong forms and surrogates
// included).
std::optional<std::pair<char32_t, std::size_t>> DecodeCharacter(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return std::pair{char32_t{lead}, std::size_t{1}};
    std::size_t length;
    char32_t code;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return std::pair{code, length};
}

std::string Folded(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        if (c == '-' || c == '_')
            continue;
        folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

} // namespace

std::optional<TCodePage> CodePageByName(std::string_view name) {
    const std::string folded = Folded(name);
    if (folded == "windows1252" || folded == "cp1252")
        return TCodePage::Windows1252;
    if (folded == "iso88591" || folded == "latin1")
        return TCodePage::Latin1;
    if (folded == "iso885915" || folded == "latin9")
        return TCodePage::Latin9;
    if (folded == "utf8")
        return TCodePage::Utf8;
    return std::nullopt;
}

std::string_view CodePageName(TCodePage page) {
    switch (page) {
    case TCodePage::Windows1252:
        return "windows-1252";
    case TCodePage::Latin1:
        return "iso-8859-1";
    case TCodePage::Latin9:
        return "iso-8859-15";
    case TCodePage::Utf8:
        return "utf-8";
    }
    return {};
}

TEncodedText EncodeText(std::string_view utf8, TCodePage page) {
    TEncodedText result;
    result.Bytes.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto decoded = DecodeCharacter(utf8);
        if (!decoded) {
            result.Bytes += Replacement;
            ++result.Unrepresentable;
            utf8.remove_prefix(1);
            continue;
        }
        const auto [code, length] = *decoded;
        if (code < 32) {
            result.Bytes += ' ';
        } else if (page == TCodePage::Utf8) {
            result.Bytes.append(utf8.substr(0, length));
        } else if (const auto single = SingleByte(code, page)) {
            result.Bytes += static_cast<char>(*single);
        } else {
            result.Bytes += Replacement;
            ++result.Unrepresentable;
        }
        utf8.remove_prefix(length);
    }
    return result;
}

std::size_t CharacterBoundary(std::string_view encoded, std::size_t width, TCodePage page) {
    std::size_t length = std::min(encoded.size(), width);
    if (page != TCodePage::Utf8 || length == encoded.size())
        return length;
    // Back off over continuation bytes to the start of the character that does not fit.
    while (length > 0 && (static_cast<unsigned char>(encoded[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace Catalogue
