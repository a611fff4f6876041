// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tobric {

// Text from a student's file made safe for a terminal: control characters (C0, DEL, C1), the
// invisible and bidirectional marks and every byte that is not part of valid UTF-8 shown as \xHH,
// so a junk file can neither move the cursor nor change colours nor reorder what is shown. A
// backslash stays one: Windows paths are full of them. Valid UTF-8 letters stay readable (file
// names in any language). More than `limit` bytes are cut, with a marker saying how many were left
// out.
std::string Printable(std::string_view text, std::size_t limit = 300);

}  // namespace tobric
