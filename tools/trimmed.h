// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tobric {

// The text without any of the `blanks` characters at either end; each caller names what counts
// as blank for the text it reads.
inline std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tobric
