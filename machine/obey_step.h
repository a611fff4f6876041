// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The execution step itself, for any machine view and timer. The window obeys it through the
// MachineView and ExecutionTimer interfaces, one step a tick (Machine::TimerTimer); the headless
// runner obeys the very same code with its own final view and timer named, so that nothing of a
// step is a call through an interface and a run goes near the machine's own speed. Include it
// only where a step is obeyed.
//
// The order is the one programs and the register displays rely on: decode, act, show, advance,
// re-arm.

#include <charconv>
#include <iterator>

#include "decoder.h"
#include "machine.h"

namespace tobric {

template <class View, class Timer>
void Machine::ObeyStep(View& view, Timer& timer) {
    // Disabled first, so no second step can start while the IN prompt or an error report is open,
    // and a failure below leaves a run stopped.
    timer.SetEnabled(false);

    Registers& r = m_registers;
    // The line as decoded when it last changed; a line that fails is decoded afresh, for the
    // exact error.
    if (!ApplyDecoded(m_store.Decoded(r.programCounter), r.mnemonic, r.operand))
        DecodeLine(m_store.Get(r.programCounter), r.mnemonic, r.operand);

    switch (r.mnemonic) {
        case Mnemonic::In:
            AskInBasket();
            r.accumulator = r.inValue;
            view.ShowInBasket(r.inValue);
            break;
        case Mnemonic::Lda: r.accumulator = MailboxValue(AddressOf(r.operand)); break;
        case Mnemonic::Sta: StoreNumber(view, AddressOf(r.operand), r.accumulator); break;
        case Mnemonic::Add:
            r.accumulator = WrappingAdd(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Sub:
            r.accumulator = WrappingSub(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Out: view.ShowOutput(r.accumulator); break;
        case Mnemonic::Hlt: timer.SetEnabled(false); break;
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

    view.ShowCalculator(r.accumulator);
    // The box shows the counter before it advances: the mailbox just obeyed, or a jump's target.
    view.ShowRegisters(r);
    if (r.mnemonic != Mnemonic::Jmp) ++r.programCounter;
    if (r.mnemonic != Mnemonic::Hlt && r.running) timer.SetEnabled(true);
}

template <class View>
void Machine::StoreNumber(View& view, std::uint16_t address, std::int32_t n) {
    // Formatted in place and decoded as written: STA runs on every pass of a counting loop.
    char text[4 + 11] = {'D', 'A', 'T', ' '};
    const char* end = std::to_chars(text + 4, std::end(text), n).ptr;
    const std::string_view line(text, static_cast<std::size_t>(end - text));
    m_store.Overwrite(address, line, DecodeStoredNumber(line, n));
    m_store.MarkShown();
    view.ShowMailboxes(m_store);
}

}  // namespace tobric
