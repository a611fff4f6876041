// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tobric {

// The text for an XML 1.0 document, in an attribute value in double quotes or between tags:
// markup characters as entities, and what XML cannot hold at all (control characters but tab and
// line breaks, U+FFFE, U+FFFF, bytes that are not part of valid UTF-8) shown as \xHH of each byte,
// as tobric-run's messages show them. Tab and line breaks in an attribute become character
// references, which a parser keeps instead of turning them into spaces.
std::string XmlAttribute(std::string_view text);
std::string XmlContent(std::string_view text);

}  // namespace tobric
