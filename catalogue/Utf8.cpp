#include "catalogue/Utf8.h"

#include <string>

namespace Catalogue {

std::optional<TUtf8Character> DecodeUtf8(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return TUtf8Character{lead, 1};
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
    return TUtf8Character{code, length};
}

bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const auto character = DecodeUtf8(text);
        if (!character)
            return false;
        text.remove_prefix(character->Length);
    }
    return true;
}

std::size_t CutCharacterStart(std::string_view text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::string_view tail = text.substr(size - back);
        // The lowest and the highest continuation bytes between them complete every lead byte
        // that can begin a character with the bytes that follow it.
        for (const char filler : {'\x80', '\xBF'}) {
            std::string completed(tail);
            while (completed.size() < 4 && !DecodeUtf8(completed))
                completed += filler;
            const auto character = DecodeUtf8(completed);
            if (character && character->Length == completed.size() && completed.size() > back)
                return size - back;
        }
        return size;
    }
    return size;
}

std::string_view WithoutCutCharacter(std::string_view field) {
    const std::size_t start = CutCharacterStart(field);
    if (start == field.size() || !IsUtf8(field.substr(0, start)))
        return field;
    return field.substr(0, start);
}

} // namespace Catalogue
