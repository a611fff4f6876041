// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine.h"

#include "obey_step.h"
#include "parse_integer.h"
#include "program_file.h"

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

// Run, Step, Halt/Continue, Reset and the speed bar. None of them obeys an instruction except
// Step; they only set the running flag, the registers and the execution timer.

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

void Machine::ReplaceProgram(std::vector<std::string> lines) {
    m_store.ReplaceAll(std::move(lines));
    PadToHundred(m_store);
    ShowMailboxes();
}

void Machine::ChangeStore(const std::function<void(MailboxEditor&)>& change) {
    MailboxEditor editor(m_store);
    change(editor);
    ShowMailboxes();
}

void Machine::ShowMailboxes() {
    // The display shows the lines as they stand now; its journal starts afresh.
    m_store.MarkShown();
    m_view.ShowMailboxes(m_store);
}

Asked Machine::Load() {
    return PendingCommand({Question::Kind::OpenFile, {}, {}, {}},
                          [this](std::optional<std::string> path) {
                              // Read fully before touching the store: a file that cannot be read
                              // changes nothing.
                              if (path) ReplaceProgram(ReadProgramFile(*path));
                              // Chosen or cancelled, the program starts again from mailbox 0. A run
                              // in progress goes on.
                              m_registers.programCounter = 0;
                              m_registers.accumulator = 0;
                          });
}

Asked Machine::Save() {
    return PendingCommand({Question::Kind::SaveFile, {}, {}, {}},
                          [this](std::optional<std::string> path) {
                              if (path) WriteProgramFile(*path, m_store.Lines());
                          });
}

}  // namespace tobric
