// SPDX-License-Identifier: GPL-3.0-or-later
#include "mnemonic.h"

namespace tobric {

std::string_view MnemonicText(Mnemonic m) {
    switch (m) {
        case Mnemonic::None: return "";
        case Mnemonic::Comment: return "*";
        case Mnemonic::In: return "IN";
        case Mnemonic::Out: return "OUT";
        case Mnemonic::Lda: return "LDA";
        case Mnemonic::Sta: return "STA";
        case Mnemonic::Add: return "ADD";
        case Mnemonic::Sub: return "SUB";
        case Mnemonic::Jmp: return "JMP";
        case Mnemonic::Skp: return "SKP";
        case Mnemonic::Skn: return "SKN";
        case Mnemonic::Skz: return "SKZ";
        case Mnemonic::Hlt: return "HLT";
        case Mnemonic::Dat: return "DAT";
    }
    return "";
}

bool TakesAddress(Mnemonic m) {
    return m == Mnemonic::Sta || m == Mnemonic::Lda || m == Mnemonic::Jmp || m == Mnemonic::Add ||
           m == Mnemonic::Sub;
}

}  // namespace tobric
