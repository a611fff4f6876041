// The execution step, in the order programs and the register displays rely on: decode, act,
// show, advance, re-arm.

#include "decoder.h"
#include "machine.h"
#include "parse_integer.h"

namespace tobric {

Machine::Machine(MachineView& view, ExecutionTimer& timer, const Registers& registers)
    : m_view(view), m_timer(timer), m_registers(registers) {}

std::int32_t Machine::MailboxValue(std::uint16_t address) const {
    const std::string& line = m_store.Get(address);
    if (line.size() <= 4) return 0;
    return ParseInteger(std::string_view(line).substr(4));
}

void Machine::AskInBasket() {
    const std::string answer =
        m_view.InputPrompt("Message", "Enter a value into the in basket", "0");
    m_registers.inValue = ParseInteger(answer);
}

void Machine::TimerTimer() {
    // Disabled first, so no second step can start while the IN prompt or an error report is open,
    // and a failure below leaves a run stopped.
    m_timer.SetEnabled(false);

    Registers& r = m_registers;
    DecodeLine(m_store.Get(r.programCounter), r.mnemonic, r.operand);

    switch (r.mnemonic) {
        case Mnemonic::In:
            AskInBasket();
            r.accumulator = r.inValue;
            m_view.ShowInBasket(r.inValue);
            break;
        case Mnemonic::Lda: r.accumulator = MailboxValue(AddressOf(r.operand)); break;
        case Mnemonic::Sta:
            StoreMailbox(AddressOf(r.operand), "DAT " + std::to_string(r.accumulator));
            break;
        case Mnemonic::Add:
            r.accumulator = WrappingAdd(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Sub:
            r.accumulator = WrappingSub(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Out: m_view.ShowOutput(r.accumulator); break;
        case Mnemonic::Hlt: m_timer.SetEnabled(false); break;
        case Mnemonic::Skn:
            if (r.accumulator < 0) ++r.programCounter;
            break;
        case Mnemonic::Skp:
            if (r.accumulator >= 0) ++r.programCounter;
            break;
        case Mnemonic::Skz:
            if (r.accumulator == 0) ++r.programCounter;
            break;
        case Mnemonic::Jmp: r.programCounter = AddressOf(r.operand); break;
        case Mnemonic::None:
        case Mnemonic::Comment:
        case Mnemonic::Dat: break;
    }

    m_view.ShowCalculator(r.accumulator);
    // The box shows the counter before it advances: the mailbox just obeyed, or a jump's target.
    m_view.ShowRegisters(r);
    if (r.mnemonic != Mnemonic::Jmp) ++r.programCounter;
    if (r.mnemonic != Mnemonic::Hlt && r.running) m_timer.SetEnabled(true);
}

}  // namespace tobric
