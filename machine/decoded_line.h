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

// An entry not yet worked out has every flag false, so `complete` alone says that the entry is
// known too, and the step's usual paths test one flag each. The one exception is the entry of a
// number STA stored (NumberOnly): it holds the mailbox value and nothing else until worked out.
struct DecodedLine {
    bool known = false;  // false until worked out, and again after every change of the line
    bool empty = false;
    Mnemonic named = Mnemonic::None;  // None when the line's first letters name none
    bool operandConverts = false;     // positions 5 and 6, as DecodeLine converts them
    bool valueConverts = false;       // from position 5 on, as the mailbox value
    // The line decodes alone, whatever mnemonic comes in: it names one, and where that one takes
    // an operand, the operand converts.
    bool complete = false;
    bool setsOperand = false;  // complete, and its mnemonic takes an operand
    std::int32_t operand = 0;
    std::int32_t value = 0;

    friend bool operator==(const DecodedLine&, const DecodedLine&) = default;
};

DecodedLine DecodeOnce(std::string_view line);

// The entry of the line STA writes, "DAT " and n in decimal, before it is worked out: the
// mailbox value alone. Executing the line works out the rest.
inline DecodedLine NumberOnly(std::int32_t n) {
    DecodedLine entry;
    entry.valueConverts = true;
    entry.value = n;
    return entry;
}

// ApplyDecoded of the usual line, with one test: a complete line is applied and true returned;
// any other entry, also one not yet worked out, changes nothing and gives false.
inline bool ApplyComplete(const DecodedLine& line, Mnemonic& mnemonic, std::int32_t& operand) {
    if (!line.complete) return false;
    mnemonic = line.named;
    if (line.setsOperand) operand = line.operand;
    return true;
}

// Does to the registers what DecodeLine(line, ...) does and returns true; returns false, having
// changed nothing, where DecodeLine would throw: the caller then lets DecodeLine throw the exact
// error, which is rare enough not to keep.
inline bool ApplyDecoded(const DecodedLine& line, Mnemonic& mnemonic, std::int32_t& operand) {
    if (ApplyComplete(line, mnemonic, operand)) return true;
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
