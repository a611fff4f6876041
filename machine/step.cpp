// SPDX-License-Identifier: GPL-3.0-or-later
// The window's execution step: the step of obey_step.h through the view and timer interfaces.

#include "obey_step.h"
#include "parse_integer.h"

namespace tobric {

Machine::Machine(MachineView& view, ExecutionTimer& timer, const Registers& registers)
    : m_view(view), m_timer(timer), m_registers(registers) {}

std::int32_t Machine::MailboxValueOfText(std::uint16_t address) const {
    const DecodedLine& decoded = m_store.Decoded(address);  // throws for an index outside
    if (decoded.valueConverts) return decoded.value;
    return ParseInteger(std::string_view(m_store.Get(address)).substr(4));  // throws its error
}

void Machine::DecodeIncomplete() {
    Registers& r = m_registers;
    // A line that fails is decoded afresh, for the exact error.
    if (!ApplyDecoded(m_store.Decoded(r.programCounter), r.mnemonic, r.operand))
        DecodeLine(m_store.Get(r.programCounter), r.mnemonic, r.operand);
}

Asked Machine::TimerTimer() { return ObeyStep(m_view, m_timer); }

}  // namespace tobric
