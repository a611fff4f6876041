// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text from a student's file made safe for where a report puts it: a terminal, a JSON or YAML
// string, an XML document. What a place cannot hold is shown escaped, never dropped, and every
// byte that is not part of valid UTF-8 is escaped on its own, so the result is always valid UTF-8
// whatever the file held.

#include <cstddef>
#include <string>
#include <string_view>

namespace tobric {

// For a terminal: control characters (C0, DEL, C1), the invisible and bidirectional marks and
// invalid bytes shown as \xHH, so a junk file can neither move the cursor nor change colours nor
// reorder what is shown. A backslash stays one: Windows paths are full of them. Valid UTF-8 letters
// stay readable (file names in any language). More than `limit` bytes are cut, with a marker
// saying how many were left out.
std::string Printable(std::string_view text, std::size_t limit = 300);

// A double-quoted JSON string (RFC 8259) that is also a valid YAML double-quoted scalar: control
// characters (C0, DEL, C1), U+2028, U+2029, U+FFFE and U+FFFF escaped as \uXXXX, and an invalid
// byte as \u00XX of the byte.
std::string JsonQuoted(std::string_view text);

// For an XML 1.0 document, in an attribute value in double quotes or between tags: markup
// characters as entities, and what XML cannot hold at all (control characters but tab and line
// breaks, U+FFFE, U+FFFF, invalid bytes) shown as \xHH of each byte, as tobric-run's messages show
// them. Tab and line breaks in an attribute become character references, which a parser keeps
// instead of turning them into spaces.
std::string XmlAttribute(std::string_view text);
std::string XmlContent(std::string_view text);

}  // namespace tobric
