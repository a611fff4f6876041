// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "mnemonic.h"

namespace tobric {

// The machine registers. Arithmetic on the accumulator wraps in 32 bits; the program counter and
// every mailbox address wrap in 16 bits.
struct Registers {
    std::int32_t accumulator = 0;
    std::uint16_t programCounter = 0;    // the mailbox obeyed next
    Mnemonic mnemonic = Mnemonic::None;  // of the line last decoded
    std::int32_t operand = 0;            // of the line last decoded that had one
    std::int32_t inValue = 0;            // the last number taken in through the IN basket
    bool running = false;                // whether the step re-arms the execution timer
};

// 32-bit two's complement arithmetic, without overflow errors.
inline std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrappingSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t WrappingMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// A mailbox address taken from an operand: the operand modulo 65536 read as unsigned.
inline std::uint16_t AddressOf(std::int32_t operand) { return static_cast<std::uint16_t>(operand); }

}  // namespace tobric
