// SPDX-License-Identifier: GPL-3.0-or-later
#include "headless_run.h"

#include <ostream>

#include "machine/display_text.h"
#include "machine/errors.h"
#include "machine/obey_step.h"

namespace tobric {
namespace {

// Thrown by the IN prompt when the answers are used up; ends the run, not a machine failure.
struct NoInputLeft {};

}  // namespace

HeadlessRun::HeadlessRun(std::vector<std::string> programLines, RunOptions options,
                         std::ostream& out)
    : m_options(std::move(options)), m_out(out), m_machine(*this, m_timer) {
    m_machine.ReplaceProgram(std::move(programLines));
}

void HeadlessRun::ShowOutput(std::int32_t n) {
    m_outputs.push_back(n);
    if (m_options.trace)
        m_out << "out " << n << '\n';
    else if (m_options.printOutputs)
        m_out << n << '\n';
}

void HeadlessRun::ShowInBasket(std::int32_t n) {
    if (m_options.trace) m_out << "in " << n << '\n';
}

std::optional<std::string> HeadlessRun::Answer(const Question&) {
    if (m_nextAnswer >= m_options.answers.size()) throw NoInputLeft{};
    return m_options.answers[m_nextAnswer++];
}

RunResult HeadlessRun::Run() {
    RunResult result;
    try {
        m_machine.Run();
        if (!m_options.trace) {
            m_machine.ObeySteps(*this, m_timer, result.steps, m_options.maxSteps);
        } else {
            for (; result.steps < m_options.maxSteps && m_timer.Enabled(); ++result.steps) {
                AnswerAtOnce(m_machine.ObeyStep(*this, m_timer), *this);
                m_out << "step pc=" << m_pcBox << " ins=" << MnemonicText(m_instructionBox)
                      << " mdr=" << m_mdrBox << " acc=" << m_machine.registers().accumulator
                      << '\n';
            }
        }
        if (m_timer.Enabled()) result.end = RunEnd::StepLimit;
    } catch (const NoInputLeft&) {
        result.end = RunEnd::NoInputLeft;
    } catch (...) {
        result.end = RunEnd::Failed;
        result.error = ReportText(std::current_exception());
    }
    result.outputs = std::move(m_outputs);
    m_outputs.clear();
    return result;
}

void HeadlessRun::Dump(std::ostream& out) const {
    const Registers& r = m_machine.registers();
    out << "pc=" << r.programCounter << " acc=" << r.accumulator
        << " ins=" << MnemonicText(r.mnemonic) << " mdr=" << r.operand << '\n';
    const std::vector<std::string>& lines = m_machine.store().Lines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << MailboxRowText(static_cast<std::uint16_t>(i), lines[i]) << '\n';
}

}  // namespace tobric
