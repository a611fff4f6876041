// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tobric {

// The text as a double-quoted JSON string (RFC 8259) that is also a valid YAML double-quoted
// scalar: control characters (C0, DEL, C1), U+2028, U+2029, U+FFFE and U+FFFF escaped as \uXXXX,
// and every byte that is not part of valid UTF-8 written as \u00XX of the byte, so the result is
// always valid UTF-8 whatever a student's file held.
std::string JsonQuoted(std::string_view text);

}  // namespace tobric
