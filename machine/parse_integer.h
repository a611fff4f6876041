#pragma once

#include <cstdint>
#include <string_view>

namespace tobric {

// The one conversion of text to a number: operands, mailbox values and IN answers.
// Leading blanks, one sign, then decimal digits or a hexadecimal number after "$", "x", "X", "0x"
// or "0X"; nothing else, not even a trailing blank. Text after a NUL is ignored.
// Throws the conversion error, which quotes the whole text as given.
std::int32_t ParseInteger(std::string_view text);

}  // namespace tobric
