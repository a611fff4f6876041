// SPDX-License-Identifier: GPL-3.0-or-later
#include "escaped_text.h"

namespace tobric {
namespace {

struct Utf8Char {
    std::size_t length = 0;  // 0: the bytes at the start are no valid UTF-8
    char32_t code = 0;
};

// The character at the start of `text`, when its bytes are valid UTF-8: the shortest form, no
// surrogate, nothing past U+10FFFF. Each writer decides what an invalid byte becomes.
Utf8Char DecodeUtf8(std::string_view text) {
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

// `prefix`, then `digits` lower-case hexadecimal digits of `code`: "\u001b", "\x1b".
void AppendHex(std::string& out, const char* prefix, char32_t code, int digits) {
    constexpr char kHex[] = "0123456789abcdef";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(code >> shift) & 15];
}

// The length of the valid UTF-8 sequence at the start of `text` whose character may be shown on
// a terminal, or 0.
std::size_t ShowableSequence(std::string_view text) {
    const Utf8Char c = DecodeUtf8(text);
    const char32_t code = c.code;
    // Controls, and the invisible marks that hide text or turn its direction.
    const bool control = code < 0xa0 || code == 0x061c || (code >= 0x200b && code <= 0x200f) ||
                         (code >= 0x2028 && code <= 0x202e) || (code >= 0x2060 && code <= 0x2069) ||
                         code == 0xfeff;
    return control ? 0 : c.length;
}

// Characters YAML does not let stand as they are (its printable set), and the line separators
// JavaScript once refused in a string.
bool NeedsJsonEscape(char32_t code) {
    return code < 0x20 || (code >= 0x7f && code <= 0x9f) || code == 0x2028 || code == 0x2029 ||
           code == 0xfffe || code == 0xffff;
}

// XML 1.0's Char production, less the C1 controls and DEL, which a terminal showing a CI log
// would obey.
bool AllowedInXml(char32_t code) {
    return code == '\t' || code == '\n' || code == '\r' || (code >= 0x20 && code < 0x7f) ||
           (code >= 0xa0 && code <= 0xfffd && !(code >= 0xd800 && code <= 0xdfff)) ||
           code >= 0x10000;
}

std::string XmlEscaped(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        const std::size_t length = c.length == 0 ? 1 : c.length;
        if (c.length == 0 || !AllowedInXml(c.code)) {
            for (const char byte : text.substr(0, length))
                AppendHex(out, "\\x", static_cast<unsigned char>(byte), 2);
        } else if (c.code == '&') {
            out += "&amp;";
        } else if (c.code == '<') {
            out += "&lt;";
        } else if (c.code == '>') {
            out += "&gt;";
        } else if (c.code == '"' && attribute) {
            out += "&quot;";
        } else if (c.code == '\r' || (attribute && (c.code == '\n' || c.code == '\t'))) {
            // A parser turns a raw CR into LF, and in an attribute every blank into a space.
            out += "&#" + std::to_string(static_cast<unsigned>(c.code)) + ";";
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

}  // namespace

std::string Printable(std::string_view text, std::size_t limit) {
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
            AppendHex(out, "\\x", byte, 2);
            ++i;
        }
    }
    if (text.size() > limit)
        out += "... [" + std::to_string(text.size() - limit) + " more bytes not shown]";
    return out;
}

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        if (c.length == 0) {
            AppendHex(out, "\\u", static_cast<unsigned char>(text.front()), 4);
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
                if (NeedsJsonEscape(c.code))
                    AppendHex(out, "\\u", c.code, 4);
                else
                    out.append(text.substr(0, c.length));
        }
        text.remove_prefix(c.length);
    }
    return out + '"';
}

std::string XmlAttribute(std::string_view text) { return XmlEscaped(text, true); }

std::string XmlContent(std::string_view text) { return XmlEscaped(text, false); }

}  // namespace tobric
