// SPDX-License-Identifier: GPL-3.0-or-later
#include "keypad.h"

#include "machine_view.h"
#include "registers.h"

namespace tobric {

void Keypad::PressDigit(int digit, MachineView& view) {
    m_entryFlag = true;
    m_entry = WrappingAdd(WrappingMul(m_entry, 10), digit);
    view.ShowCalculator(m_entry);
}

void Keypad::ChooseOperator(Operator op, std::int32_t& accumulator) {
    if (!m_entryFlag) m_entry = 0;
    m_operator = op;
    if (m_entry != 0) {
        accumulator = m_entry;
        m_entry = 0;
    }
}

void Keypad::PressEquals(std::int32_t& accumulator, MachineView& view) {
    switch (m_operator) {
        case Operator::Plus: accumulator = WrappingAdd(accumulator, m_entry); break;
        case Operator::Minus: accumulator = WrappingSub(accumulator, m_entry); break;
        case Operator::None: accumulator = m_entry; break;
    }
    m_entryFlag = false;
    view.ShowCalculator(accumulator);
    m_entry = 0;
}

void Keypad::PressClear(std::int32_t accumulator, MachineView& view) {
    m_entry = 0;
    m_entryFlag = true;
    view.ShowCalculator(accumulator);
}

void Keypad::PressClearEntry(std::int32_t& accumulator, MachineView& view) {
    accumulator = 0;
    m_entryFlag = false;
    view.ShowCalculator(0);
}

}  // namespace tobric
