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
#include "parse_integer.h"

namespace tobric {

template <class View, class Timer>
Asked Machine::ObeyStep(View& view, Timer& timer) {
    // Disabled first, so no second step can start while IN waits for its answer or an error
    // report is open, and a failure below leaves a run stopped.
    timer.SetEnabled(false);
    switch (ObeyStepOn<false>(m_registers, view)) {
        case StepOutcome::GoesOn: timer.SetEnabled(true); break;
        case StepOutcome::AsksIn:
            return PendingCommand(kInBasketQuestion,
                                  [this, &view, &timer](std::optional<std::string> answer) {
                                      if (this->TakeInAnswer(*answer, view) == StepOutcome::GoesOn)
                                          timer.SetEnabled(true);
                                  });
        case StepOutcome::Stops:
        case StepOutcome::NeedsCall: break;
    }
    return std::nullopt;
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
                    outcome = ObeyStepOn<true>(r, view);
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
    const StepOutcome outcome = ObeyStepOn<false>(m_registers, view);
    if (outcome != StepOutcome::AsksIn) return outcome;
    // Off while IN is answered, as in the window's step; on again if the run goes on.
    timer.SetEnabled(false);
    const std::optional<std::string> answer = view.Answer(kInBasketQuestion);
    if (TakeInAnswer(answer.value_or(kInBasketQuestion.defaultText), view) != StepOutcome::GoesOn)
        return StepOutcome::Stops;
    timer.SetEnabled(true);
    return StepOutcome::GoesOn;
}

template <class View>
Machine::StepOutcome Machine::TakeInAnswer(const std::string& answer, View& view) {
    Registers& r = m_registers;
    r.inValue = ParseInteger(answer);  // the conversion error leaves the timer off
    r.accumulator = r.inValue;
    view.ShowInBasket(r.inValue);
    return EndStep(r, view);
}

template <class View>
Machine::StepOutcome Machine::EndStep(Registers& r, View& view) {
    view.ShowCalculator(r.accumulator);
    // The box shows the counter before it advances: the mailbox just obeyed, or a jump's target.
    view.ShowRegisters(r);
    if (r.mnemonic != Mnemonic::Jmp) ++r.programCounter;
    return r.mnemonic != Mnemonic::Hlt && r.running ? StepOutcome::GoesOn : StepOutcome::Stops;
}

template <bool kCallFree, class View>
Machine::StepOutcome Machine::ObeyStepOn(Registers& r, View& view) {
    // A step without calls gives up before it has changed anything but the decoded mnemonic and
    // operand, which obeying the step afresh sets the same again.
    constexpr StepOutcome kGiveUp = kCallFree ? StepOutcome::NeedsCall : StepOutcome::GoesOn;

    // The line as decoded when it last changed.
    if (!ApplyComplete(m_store.Known(r.programCounter), r.mnemonic, r.operand)) {
        if constexpr (kCallFree) return kGiveUp;
        DecodeIncomplete();
    }

    std::int32_t value = 0;  // of the mailbox an instruction reads
    switch (r.mnemonic) {
        case Mnemonic::In:
            if constexpr (kCallFree) return kGiveUp;
            return StepOutcome::AsksIn;  // the rest of the step waits for the answer
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

    return EndStep(r, view);  // whether the timer is re-armed
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
