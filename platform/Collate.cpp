#include "platform/Collate.h"

#include <algorithm>
#include <numeric>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstring>
#endif

namespace platform {

int CompareText(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return lstrcmpA(a.c_str(), b.c_str());
#else
    return std::strcoll(a.c_str(), b.c_str());
#endif
}

#ifndef _WIN32
namespace {
// A key whose plain byte order is the collation order of the text.
std::string CollationKey(const std::string& text) {
    std::string key(text.size() * 4 + 16, '\0');
    std::size_t needed = std::strxfrm(key.data(), text.c_str(), key.size());
    if (needed >= key.size()) {
        key.assign(needed + 1, '\0');
        needed = std::strxfrm(key.data(), text.c_str(), key.size());
    }
    key.resize(needed);
    return key;
}
} // namespace
#endif

std::vector<std::size_t> TextOrder(const std::vector<const std::string*>& texts) {
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
#ifdef _WIN32
    std::stable_sort(order.begin(), order.end(), [&texts](std::size_t a, std::size_t b) {
        return CompareText(*texts[a], *texts[b]) < 0;
    });
#else
    // Transforming each text once makes every comparison a plain byte compare.
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const auto* text : texts)
        keys.push_back(CollationKey(*text));
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
#endif
    return order;
}

} // namespace platform
