// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace tobric {

// The current mnemonic. The decoder only ever hands out one of the thirteen mnemonics or keeps
// what it was given, and everything starts from the empty text, so these fourteen values are all
// the texts it can hold.
enum class Mnemonic : std::uint8_t {
    None,  // the empty text the machine starts with
    Comment,
    In,
    Out,
    Lda,
    Sta,
    Add,
    Sub,
    Jmp,
    Skp,
    Skn,
    Skz,
    Hlt,
    Dat,
};

// "*", "IN", "OUT", "LDA", ... and "" for None.
inline std::string_view MnemonicText(Mnemonic m) {
    constexpr std::string_view kTexts[] = {"",    "*",   "IN",  "OUT", "LDA", "STA", "ADD",
                                           "SUB", "JMP", "SKP", "SKN", "SKZ", "HLT", "DAT"};
    return kTexts[static_cast<std::size_t>(m)];
}

// The five mnemonics whose operand is a mailbox address.
inline bool TakesAddress(Mnemonic m) {
    return m == Mnemonic::Sta || m == Mnemonic::Lda || m == Mnemonic::Jmp || m == Mnemonic::Add ||
           m == Mnemonic::Sub;
}

// Whether the decoder reads an operand for a line under this mnemonic. The empty mnemonic does.
// Inline: the step asks on every instruction.
inline bool TakesOperand(Mnemonic m) {
    return m == Mnemonic::None || m == Mnemonic::Dat || TakesAddress(m);
}

}  // namespace tobric
