// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable.h"

#include "utf8.h"

namespace tobric {
namespace {

// The length of the valid UTF-8 sequence at the start of `text` whose character may be shown,
// or 0.
std::size_t ShowableSequence(std::string_view text) {
    const Utf8Char c = DecodeUtf8(text);
    const char32_t code = c.code;
    // Controls, and the invisible marks that hide text or turn its direction.
    const bool control = code < 0xa0 || code == 0x061c || (code >= 0x200b && code <= 0x200f) ||
                         (code >= 0x2028 && code <= 0x202e) || (code >= 0x2060 && code <= 0x2069) ||
                         code == 0xfeff;
    return control ? 0 : c.length;
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
