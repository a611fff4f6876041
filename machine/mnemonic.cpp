// SPDX-License-Identifier: GPL-3.0-or-later
#include "mnemonic.h"

namespace tobric {

std::string_view MnemonicText(Mnemonic m) {
    // In the order of the enumeration.
    constexpr std::string_view kTexts[] = {"",    "*",   "IN",  "OUT", "LDA", "STA", "ADD",
                                           "SUB", "JMP", "SKP", "SKN", "SKZ", "HLT", "DAT"};
    return kTexts[static_cast<std::size_t>(m)];
}

}  // namespace tobric
