// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The execution step itself, for any machine view and timer. The window obeys it through the
// MachineView and ExecutionTimer interfaces, one step a tick (Machine::TimerTimer); the headless
// runner obeys the very same code with its own final view and timer named, so that nothing of a
// step is a call through an interface and a run goes near the machine's own speed. Include it
// only where a step is obeyed.
//
// The order is the one programs and the register displays rely on: decode, act, show, advance,
// re-arm. The runner obeys many steps in one call (ObeySteps): every step that needs no call out
// of the step (no prompt, no output, no line to decode or convert afresh, no text to write) is
// obeyed on a local copy of the registers in a loop the optimiser can keep wholly in its own
// registers; a step that needs one gives up there before it has changed anything, and is obeyed
// afresh as the window obeys it.

#include "decoder.h"
#include "machine.h"

namespace tobric {

template <class View, class Timer>
void Machine::ObeyStep(View& view, Timer& timer) {
    // Disabled first, so no second step can start while the IN prompt or an error report is open,
    // and a failure below leaves a run stopped.
    timer.SetEnabled(false);
    if (ObeyStepOn<false>(m_registers, view, timer) == StepOutcome::GoesOn) timer.SetEnabled(true);
}

template <class View, class Timer>
void Machine::ObeySteps(View& view, Timer& timer, std::int64_t& steps, std::int64_t limit) {
    // The timer is left on between steps, and set as the last step leaves it once the batch ends.
    std::int64_t left = limit - steps;  // one number fewer for the optimiser to keep at hand
    bool goesOn = timer.Enabled();
    try {
        while (goesOn && left > 0) {
            // The steps that need no call, on the copy. Only the view's displays are called
            // there, and the runner's inline and cannot fail; another view's failure hands the
            // copy over as it stands.
            Registers r = m_registers;
            StepOutcome outcome = StepOutcome::GoesOn;
            try {
                while (left > 0 && outcome == StepOutcome::GoesOn) {
                    outcome = ObeyStepOn<true>(r, view, timer);
                    if (outcome != StepOutcome::NeedsCall) --left;
                }
            } catch (...) {
                m_registers = r;
                throw;
            }
            m_registers = r;
            // A step that does, as the window obeys it; a failure there is not counted.
            if (outcome == StepOutcome::NeedsCall) {
                outcome = ObeyStepWithCalls(view, timer);
                --left;
            }
            goesOn = outcome == StepOutcome::GoesOn;
        }
        timer.SetEnabled(goesOn);
    } catch (...) {
        steps = limit - left;
        timer.SetEnabled(false);
        throw;
    }
    steps = limit - left;
}

template <class View, class Timer>
Machine::StepOutcome Machine::ObeyStepWithCalls(View& view, Timer& timer) {
    return ObeyStepOn<false>(m_registers, view, timer);
}

template <bool kCallFree, class View, class Timer>
Machine::StepOutcome Machine::ObeyStepOn(Registers& r, View& view, Timer& timer) {
    // A step without calls gives up before it has changed anything but the decoded mnemonic and
    // operand, which obeying the step afresh sets the same again.
    constexpr StepOutcome kGiveUp = kCallFree ? StepOutcome::NeedsCall : StepOutcome::GoesOn;

    // The line as decoded when it last changed.
    if (!ApplyComplete(m_store.Known(r.programCounter), r.mnemonic, r.operand)) {
        if constexpr (kCallFree) return kGiveUp;
        DecodeIncomplete();
    }

    bool rearm = false;
    std::int32_t value = 0;  // of the mailbox an instruction reads
    switch (r.mnemonic) {
        case Mnemonic::In:
            if constexpr (kCallFree) return kGiveUp;
            // Off while the prompt is open; a batch, which leaves it on, re-arms it below.
            rearm = timer.Enabled();
            timer.SetEnabled(false);
            AskInBasket();
            r.accumulator = r.inValue;
            view.ShowInBasket(r.inValue);
            break;
        case Mnemonic::Lda:
            if (!TakeValue<kCallFree>(r.operand, value)) return kGiveUp;
            r.accumulator = value;
            break;
        case Mnemonic::Sta:
            if (!StoreNumber<kCallFree>(view, AddressOf(r.operand), r.accumulator)) return kGiveUp;
            break;
        case Mnemonic::Add:
            if (!TakeValue<kCallFree>(r.operand, value)) return kGiveUp;
            r.accumulator = WrappingAdd(r.accumulator, value);
            break;
        case Mnemonic::Sub:
            if (!TakeValue<kCallFree>(r.operand, value)) return kGiveUp;
            r.accumulator = WrappingSub(r.accumulator, value);
            break;
        case Mnemonic::Out:
            if constexpr (kCallFree) return kGiveUp;
            view.ShowOutput(r.accumulator);
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
    return goesOn ? StepOutcome::GoesOn : StepOutcome::Stops;  // whether the timer is re-armed
}

template <bool kCallFree, class View>
bool Machine::StoreNumber(View& view, std::uint16_t address, std::int32_t n) {
    if constexpr (kCallFree) {
        if (!m_store.PutNumberQuietly(address, n)) return false;
    } else {
        m_store.PutNumber(address, n);
    }
    m_store.MarkShown();
    view.ShowMailboxes(m_store);
    return true;
}

}  // namespace tobric
