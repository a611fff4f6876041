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

std::int32_t ParseInteger(std::string_view text) {
    const std::string_view t = text.substr(0, text.find('\0'));
    const std::size_t n = t.size();
    std::size_t i = 0;
    while (i < n && t[i] == ' ') ++i;

    bool negative = false;
    if (i < n && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < n && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
        hex = true;
        i += 1;
    } else if (i + 1 < n && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n) throw ConversionError(text);

    std::uint32_t value = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int digit = HexDigitValue(t[i]);
            if (digit < 0 || value > 0x0FFFFFFFu) throw ConversionError(text);
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
    } else {
        for (; i < n; ++i) {
            const char c = t[i];
            if (c < '0' || c > '9' || value > 214748364u) throw ConversionError(text);
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
        }
        if (value > (negative ? 2147483648u : 2147483647u)) throw ConversionError(text);
    }
    // Two's complement: hexadecimal 80000000 and up read as negative; negating wraps.
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

}  // namespace tobric
