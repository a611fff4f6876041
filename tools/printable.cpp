// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable.h"

namespace tobric {
namespace {

// The length of the valid UTF-8 sequence at the start of `text` whose character may be shown,
// or 0.
std::size_t ShowableSequence(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 0 || lead > 0xf4 || text.size() < length) return 0;
    char32_t code = lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3f);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool invalid =
        code < kShortest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff);
    // Controls, and the invisible marks that hide text or turn its direction.
    const bool control = code < 0xa0 || code == 0x061c || (code >= 0x200b && code <= 0x200f) ||
                         (code >= 0x2028 && code <= 0x202e) || (code >= 0x2060 && code <= 0x2069) ||
                         code == 0xfeff;
    return invalid || control ? 0 : length;
}

}  // namespace

std::string Printable(std::string_view text, std::size_t limit) {
    constexpr char kHex[] = "0123456789abcdef";
    const std::string_view shown = text.substr(0, limit);
    std::string out;
    out.reserve(shown.size());
    for (std::size_t i = 0; i < shown.size();) {
        const auto byte = static_cast<unsigned char>(shown[i]);
        if (byte >= 0x20 && byte < 0x7f) {
            out += shown[i++];
        } else if (const std::size_t length = ShowableSequence(shown.substr(i))) {
            out.append(shown.substr(i, length));
            i += length;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
            ++i;
        }
    }
    if (text.size() > limit)
        out += "... [" + std::to_string(text.size() - limit) + " more bytes not shown]";
    return out;
}

}  // namespace tobric
