// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace tobric {

struct Utf8Char {
    std::size_t length = 0;  // 0: the bytes at the start are no valid UTF-8
    char32_t code = 0;
};

// The character at the start of `text`, when its bytes are valid UTF-8: the shortest form, no
// surrogate, nothing past U+10FFFF. Reports' writers decide what each invalid byte becomes.
inline Utf8Char DecodeUtf8(std::string_view text) {
    if (text.empty()) return {};
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {1, lead};
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 0 || lead > 0xf4 || text.size() < length) return {};
    char32_t code = lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return {};
        code = (code << 6) | (byte(i) & 0x3f);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return {};
    return {length, code};
}

}  // namespace tobric
