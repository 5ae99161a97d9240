#include "describing/DescCodePage.h"

#include "catalogue/Utf8.h"

#include <algorithm>
#include <array>

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
    case TCodePage::Auto:
        break;
    }
    return std::nullopt;
}

// Every character of the UTF-8 text has a place in Windows-1252. Control characters become
// blanks and bytes that are not UTF-8 become "?" in any code page, so they do not count.
bool FitsWindows1252(std::string_view utf8) {
    while (!utf8.empty()) {
        const auto decoded = DecodeUtf8(utf8);
        if (!decoded) {
            utf8.remove_prefix(1);
            continue;
        }
        if (decoded->Code >= 32 && !SingleByte(decoded->Code, TCodePage::Windows1252))
            return false;
        utf8.remove_prefix(decoded->Length);
    }
    return true;
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
    if (folded == "auto")
        return TCodePage::Auto;
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
    case TCodePage::Auto:
        return "auto";
    }
    return {};
}

TEncodedText EncodeText(std::string_view utf8, TCodePage page) {
    if (page == TCodePage::Auto)
        page = FitsWindows1252(utf8) ? TCodePage::Windows1252 : TCodePage::Utf8;
    TEncodedText result;
    result.Page = page;
    result.Bytes.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto decoded = DecodeUtf8(utf8);
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
    if (length == encoded.size())
        return length;
    if (page != TCodePage::Utf8 && (page != TCodePage::Auto || !IsUtf8(encoded)))
        return length;
    // Back off over continuation bytes to the start of the character that does not fit.
    while (length > 0 && (static_cast<unsigned char>(encoded[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace Catalogue
