// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tobric {

// The one conversion of text to a number: operands, mailbox values and IN answers.
// Leading blanks, one sign, then decimal digits or a hexadecimal number after "$", "x", "X", "0x"
// or "0X"; nothing else, not even a trailing blank. Text after a NUL is ignored.
// Throws the conversion error, which quotes the whole text as given.
std::int32_t ParseInteger(std::string_view text);

// The same conversion, with no value instead of the error: for the step's decode cache, which
// works out every line once and must not pay for an exception on lines that hold no number.
std::optional<std::int32_t> TryParseInteger(std::string_view text);

}  // namespace tobric
