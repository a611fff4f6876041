// SPDX-License-Identifier: GPL-3.0-or-later
#include "parse_integer.h"

#include "errors.h"

namespace tobric {
namespace {

// A hexadecimal digit's value; anything else is above every base.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return 16;
}

}  // namespace

std::optional<std::int32_t> TryParseInteger(std::string_view text) {
    // The text ends at its first NUL: reading NUL past the end stops every scan there, with no
    // search for the NUL beforehand.
    const auto at = [text](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    std::size_t i = 0;
    while (at(i) == ' ') ++i;

    const bool negative = at(i) == '-';
    if (negative || at(i) == '+') ++i;

    const bool zeroX = at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X');
    const bool hex = zeroX || at(i) == '$' || at(i) == 'x' || at(i) == 'X';
    if (hex) i += zeroX ? 2 : 1;
    if (at(i) == '\0') return std::nullopt;

    // Past the largest value the digits allow before one more digit, the number cannot fit.
    const std::uint32_t base = hex ? 16 : 10;
    const std::uint32_t most = hex ? 0x0FFFFFFFu : 214748364u;
    std::uint32_t value = 0;
    for (; at(i) != '\0'; ++i) {
        const std::uint32_t digit = DigitValue(at(i));
        if (digit >= base || value > most) return std::nullopt;
        value = value * base + digit;
    }
    if (!hex && value > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    // Two's complement: hexadecimal 80000000 and up read as negative; negating wraps.
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::int32_t ParseInteger(std::string_view text) {
    const std::optional<std::int32_t> value = TryParseInteger(text);
    if (!value) throw ConversionError(text);
    return *value;
}

}  // namespace tobric
