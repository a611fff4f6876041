// SPDX-License-Identifier: GPL-3.0-or-later
#include "xml_text.h"

#include "utf8.h"

namespace tobric {
namespace {

// XML 1.0's Char production, less the C1 controls and DEL, which a terminal showing a CI log
// would obey.
bool Allowed(char32_t code) {
    return code == '\t' || code == '\n' || code == '\r' || (code >= 0x20 && code < 0x7f) ||
           (code >= 0xa0 && code <= 0xfffd && !(code >= 0xd800 && code <= 0xdfff)) ||
           code >= 0x10000;
}

void AppendBytesShown(std::string& out, std::string_view bytes) {
    constexpr char kHex[] = "0123456789abcdef";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
}

std::string Escaped(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Char c = DecodeUtf8(text);
        const std::size_t length = c.length == 0 ? 1 : c.length;
        if (c.length == 0 || !Allowed(c.code)) {
            AppendBytesShown(out, text.substr(0, length));
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

std::string XmlAttribute(std::string_view text) { return Escaped(text, true); }

std::string XmlContent(std::string_view text) { return Escaped(text, false); }

}  // namespace tobric
