// The system's text order for sorted lists: locale-aware and case-sensitive.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Negative, zero or positive as a sorts before, with or after b.
int CompareText(const std::string& a, const std::string& b);

// The positions of the texts in CompareText order; equal texts keep their order.
std::vector<std::size_t> TextOrder(const std::vector<const std::string*>& texts);

} // namespace platform
