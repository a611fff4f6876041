// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the step makes of one store line, worked out once and kept by the store until the line
// changes: decoding text on every step costs several times what obeying the instruction does.
// Only facts of the line alone are kept; the mnemonic a line carries over from the line before
// is applied on each step, so one entry serves whatever mnemonic comes in.

#include <cstdint>
#include <string_view>

#include "mnemonic.h"

namespace tobric {

struct DecodedLine {
    bool known = false;  // false until worked out, and again after every change of the line
    bool empty = false;
    Mnemonic named = Mnemonic::None;  // None when the line's first letters name none
    bool operandConverts = false;     // positions 5 and 6, as DecodeLine converts them
    bool valueConverts = false;       // from position 5 on, as the mailbox value
    std::int32_t operand = 0;
    std::int32_t value = 0;

    friend bool operator==(const DecodedLine&, const DecodedLine&) = default;
};

DecodedLine DecodeOnce(std::string_view line);

// DecodeOnce of the line STA writes, "DAT " and n in decimal, without reading n back.
DecodedLine DecodeStoredNumber(std::string_view line, std::int32_t n);

// Does to the registers what DecodeLine(line, ...) does and returns true; returns false, having
// changed nothing, where DecodeLine would throw: the caller then lets DecodeLine throw the exact
// error, which is rare enough not to keep.
inline bool ApplyDecoded(const DecodedLine& line, Mnemonic& mnemonic, std::int32_t& operand) {
    if (line.named != Mnemonic::None && line.operandConverts) {  // the usual line: one test
        mnemonic = line.named;
        if (TakesOperand(line.named)) operand = line.operand;
        return true;
    }
    if (line.empty) return false;
    const Mnemonic now = line.named == Mnemonic::None ? mnemonic : line.named;
    if (TakesOperand(now)) {
        if (!line.operandConverts) return false;
        operand = line.operand;
    }
    mnemonic = now;
    return true;
}

}  // namespace tobric
