// SPDX-License-Identifier: GPL-3.0-or-later
#include "parse_integer.h"

#include "errors.h"

namespace tobric {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> TryParseInteger(std::string_view text) {
    // The text ends at its first NUL: reading NUL past the end stops every scan there, with no
    // search for the NUL beforehand.
    const auto at = [text](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    std::size_t i = 0;
    while (at(i) == ' ') ++i;

    bool negative = false;
    if (at(i) == '-' || at(i) == '+') {
        negative = at(i) == '-';
        ++i;
    }

    bool hex = false;
    if (at(i) == '$' || at(i) == 'x' || at(i) == 'X') {
        hex = true;
        i += 1;
    } else if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X')) {
        hex = true;
        i += 2;
    }
    if (at(i) == '\0') return std::nullopt;

    std::uint32_t value = 0;
    if (hex) {
        for (; at(i) != '\0'; ++i) {
            const int digit = HexDigitValue(at(i));
            if (digit < 0 || value > 0x0FFFFFFFu) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
    } else {
        for (; at(i) != '\0'; ++i) {
            const char c = at(i);
            if (c < '0' || c > '9' || value > 214748364u) return std::nullopt;
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
        }
        if (value > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    }
    // Two's complement: hexadecimal 80000000 and up read as negative; negating wraps.
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::int32_t ParseInteger(std::string_view text) {
    const std::optional<std::int32_t> value = TryParseInteger(text);
    if (!value) throw ConversionError(text);
    return *value;
}

}  // namespace tobric
