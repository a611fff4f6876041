// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The execution step itself, for any machine view and timer. The window obeys it through the
// MachineView and ExecutionTimer interfaces, one step a tick (Machine::TimerTimer); the headless
// runner obeys the very same code with its own final view and timer named, so that nothing of a
// step is a call through an interface and a run goes near the machine's own speed. Include it
// only where a step is obeyed.
//
// The order is the one programs and the register displays rely on: decode, act, show, advance,
// re-arm. The runner obeys many steps in one call (ObeySteps) with the registers in a local copy,
// handed back to the machine before anything that could look at them or change them: decoding an
// unusual line, the IN prompt, OUT, a failure and the end of the batch.

#include "decoder.h"
#include "machine.h"

namespace tobric {

template <class View, class Timer>
void Machine::ObeyStep(View& view, Timer& timer) {
    // Disabled first, so no second step can start while the IN prompt or an error report is open,
    // and a failure below leaves a run stopped.
    timer.SetEnabled(false);
    if (ObeyStepOn(m_registers, view, timer)) timer.SetEnabled(true);
}

template <class View, class Timer>
void Machine::ObeySteps(View& view, Timer& timer, std::int64_t& steps, std::int64_t limit) {
    // The registers stay in a local copy the optimiser can keep in its own registers. The timer
    // is left on between steps, and set as the last step leaves it once the batch ends.
    Registers r = m_registers;
    std::int64_t left = limit - steps;  // one number fewer for the optimiser to keep at hand
    try {
        bool goesOn = timer.Enabled();
        while (goesOn && left > 0) {
            goesOn = ObeyStepOn(r, view, timer);
            --left;
        }
        timer.SetEnabled(goesOn);
    } catch (...) {
        Publish(r);
        steps = limit - left;
        timer.SetEnabled(false);
        throw;
    }
    Publish(r);
    steps = limit - left;
}

template <class View, class Timer>
bool Machine::ObeyStepOn(Registers& r, View& view, Timer& timer) {
    // The line as decoded when it last changed.
    if (!ApplyComplete(m_store.Known(r.programCounter), r.mnemonic, r.operand))
        OnOwnRegisters(r, [this] { DecodeIncomplete(); });

    bool rearm = false;
    switch (r.mnemonic) {
        case Mnemonic::In:
            // Off while the prompt is open; a batch, which leaves it on, re-arms it below.
            rearm = timer.Enabled();
            timer.SetEnabled(false);
            OnOwnRegisters(r, [this, &view] {
                AskInBasket();
                m_registers.accumulator = m_registers.inValue;
                view.ShowInBasket(m_registers.inValue);
            });
            break;
        case Mnemonic::Lda: r.accumulator = MailboxValue(AddressOf(r.operand)); break;
        case Mnemonic::Sta: StoreNumber(view, AddressOf(r.operand), r.accumulator); break;
        case Mnemonic::Add:
            r.accumulator = WrappingAdd(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Sub:
            r.accumulator = WrappingSub(r.accumulator, MailboxValue(AddressOf(r.operand)));
            break;
        case Mnemonic::Out:
            OnOwnRegisters(r, [this, &view] { view.ShowOutput(m_registers.accumulator); });
            break;
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
        case Mnemonic::Hlt:  // the timer is left off below
        case Mnemonic::None:
        case Mnemonic::Comment:
        case Mnemonic::Dat: break;
    }

    view.ShowCalculator(r.accumulator);
    // The box shows the counter before it advances: the mailbox just obeyed, or a jump's target.
    view.ShowRegisters(r);
    if (r.mnemonic != Mnemonic::Jmp) ++r.programCounter;
    const bool goesOn = r.mnemonic != Mnemonic::Hlt && r.running;
    if (rearm && goesOn) timer.SetEnabled(true);
    return goesOn;  // whether the timer is re-armed
}

template <class View>
void Machine::StoreNumber(View& view, std::uint16_t address, std::int32_t n) {
    m_store.PutNumber(address, n);
    m_store.MarkShown();
    view.ShowMailboxes(m_store);
}

}  // namespace tobric
