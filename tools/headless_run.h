// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a program without a window: the machine starts as Run starts it on a fresh machine and
// obeys the window's own execution step until HLT, a failure or the step limit. IN answers come
// from a list; OUT numbers are collected and, when asked, printed as they happen.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/machine_view.h"

namespace tobric {

struct RunOptions {
    std::vector<std::string> answers;  // one per IN, in order, as the IN prompt would give them
    std::int64_t maxSteps = 1000000;
    bool trace = false;        // a "step" line after every step, "in"/"out" lines as they happen
    bool printOutputs = true;  // without trace: each OUT's number on a line of its own
};

enum class RunEnd { Halted, Failed, StepLimit, NoInputLeft };

struct RunResult {
    RunEnd end = RunEnd::Halted;
    std::string error;       // as the error report shows it, for RunEnd::Failed
    std::int64_t steps = 0;  // steps obeyed to the end
    std::vector<std::int32_t> outputs;
};

class HeadlessRun final : private MachineView, private Answerer {
public:
    // Loads the lines as Load does (padded to 100 mailboxes). `out` receives the printed lines.
    HeadlessRun(std::vector<std::string> programLines, RunOptions options, std::ostream& out);

    RunResult Run();

    // The registers line and every store row, as tobric-run --dump prints them.
    void Dump(std::ostream& out) const;

private:
    // The machine obeys its step with this view named as it is (machine/obey_step.h).
    friend class Machine;

    void ShowMailboxes(const Store&) override {}
    void ShowRegisters(const Registers& registers) override {
        // Only the trace reads the boxes; three stores a step would cost an untraced run a
        // quarter of its speed.
        if (!m_options.trace) return;
        m_pcBox = registers.programCounter;
        m_instructionBox = registers.mnemonic;
        m_mdrBox = registers.operand;
    }
    void ShowCalculator(std::int32_t) override {}
    void ShowOutput(std::int32_t n) override;
    void ShowInBasket(std::int32_t n) override;
    void ShowNotice(const std::string&) override {}
    // IN's answers, from the list; only IN asks anything here.
    std::optional<std::string> Answer(const Question&) override;

    RunOptions m_options;
    std::ostream& m_out;
    ManualTimer m_timer;
    Machine m_machine;
    std::size_t m_nextAnswer = 0;
    std::vector<std::int32_t> m_outputs;
    // What the register boxes show after the latest step.
    std::uint16_t m_pcBox = 0;
    Mnemonic m_instructionBox = Mnemonic::None;
    std::int32_t m_mdrBox = 0;
};

}  // namespace tobric
