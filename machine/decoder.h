// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mnemonic.h"

namespace tobric {

// The text with the letters a to z upper-cased; every other byte stays as it is.
std::string UpperCased(std::string_view text);

// Sets `mnemonic` to the one the line's first letters name and returns true; returns false and
// leaves it alone when they name none.
bool NamedMnemonic(std::string_view line, Mnemonic& mnemonic);

// The text the operand is read from: positions 5 and 6 of the line (counting from 1), upper-cased.
// Position 4 and anything after position 6 are never looked at.
std::string OperandText(std::string_view line);

// Interprets one mailbox line. Both outputs are in/out: the mnemonic changes only when the line's
// first letters name one, and the operand only when the (possibly carried) mnemonic takes one and
// positions 5 and 6 of the line convert. Throws the conversion error (the mnemonic is already
// updated then) or, for an empty line, the empty-line error (nothing updated).
void DecodeLine(std::string_view line, Mnemonic& mnemonic, std::int32_t& operand);

}  // namespace tobric
