// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_text.h"

#include "utf8.h"

namespace tobric {
namespace {

void AppendEscape(std::string& out, char32_t code) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 15];
}

// Characters YAML does not let stand as they are (its printable set), and the line separators
// JavaScript once refused in a string.
bool NeedsEscape(char32_t code) {
    return code < 0x20 || (code >= 0x7f && code <= 0x9f) || code == 0x2028 || code == 0x2029 ||
           code == 0xfffe || code == 0xffff;
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        if (c.length == 0) {
            AppendEscape(out, static_cast<unsigned char>(text.front()));
            text.remove_prefix(1);
            continue;
        }
        switch (c.code) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (NeedsEscape(c.code))
                    AppendEscape(out, c.code);
                else
                    out.append(text.substr(0, c.length));
        }
        text.remove_prefix(c.length);
    }
    return out + '"';
}

}  // namespace tobric
