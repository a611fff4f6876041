// SPDX-License-Identifier: GPL-3.0-or-later
// Run, Step, Halt/Continue, Reset and the speed bar. None of them obeys an instruction except
// Step; they only set the running flag, the registers and the execution timer.

#include "machine.h"

namespace tobric {

bool Machine::RefuseWithoutProgram() {
    if (!HasNoProgram(m_store)) return false;
    m_view.ShowNotice("There is no program loaded");
    return true;
}

void Machine::Run() {
    if (RefuseWithoutProgram()) return;
    m_registers.programCounter = 0;
    m_registers.running = true;
    // Already enabled during a run: the countdown goes on and the next tick obeys mailbox 0.
    m_timer.SetEnabled(true);
}

Asked Machine::Step() {
    if (RefuseWithoutProgram()) return std::nullopt;
    // The step re-arms the timer only while the flag is set, so Step during a run ends the run.
    m_registers.running = false;
    return TimerTimer();
}

void Machine::HaltOrContinue() {
    if (RefuseWithoutProgram()) return;
    if (m_timer.Enabled()) {
        m_timer.SetEnabled(false);
        m_view.ShowNotice("Program Halted");
    } else {
        m_registers.running = true;
        m_timer.SetEnabled(true);
    }
}

void Machine::Reset() {
    if (RefuseWithoutProgram()) return;
    m_registers.programCounter = 0;
    m_registers.accumulator = 0;
    m_view.ShowRegisters(m_registers);
    m_view.ShowCalculator(0);
    // The timer is left alone: a run goes on from mailbox 0 behind the notice.
    m_view.ShowNotice("Program Reset!");
}

void Machine::ChangeSpeed(int position) { m_timer.SetInterval(position); }

}  // namespace tobric
