// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tobric {

class MachineView;

// The calculator keypad: a small adding machine whose result register is the machine's
// accumulator. "+" and "-" do not compute; they take a non-zero typed number as the new
// accumulator and remember the operator, which "=" then applies to the number typed since.
class Keypad {
public:
    enum class Operator : char { None = 0, Plus = '+', Minus = '-' };

    void PressDigit(int digit, MachineView& view);
    void PressPlus(std::int32_t& accumulator) { ChooseOperator(Operator::Plus, accumulator); }
    void PressMinus(std::int32_t& accumulator) { ChooseOperator(Operator::Minus, accumulator); }
    void PressEquals(std::int32_t& accumulator, MachineView& view);
    void PressClear(std::int32_t accumulator, MachineView& view);        // "C"
    void PressClearEntry(std::int32_t& accumulator, MachineView& view);  // "CE"

private:
    void ChooseOperator(Operator op, std::int32_t& accumulator);

    std::int32_t m_entry = 0;              // the number being typed
    Operator m_operator = Operator::None;  // never cleared once chosen, only replaced
    bool m_entryFlag = false;              // whether "+" and "-" count the typed number
};

}  // namespace tobric
