// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/machine.h"
#include "recording_view.h"

namespace tobric_test {

// The machine as the desktop drives it: every question answered at once, here by the recording
// view, so a test reads each command as one call.
class AnsweringMachine : public tobric::Machine {
public:
    AnsweringMachine(RecordingView& view, tobric::ExecutionTimer& timer,
                     const tobric::Registers& registers = {})
        : Machine(view, timer, registers), m_answerer(view) {}

    void TimerTimer() { Answer(Machine::TimerTimer()); }
    void Step() { Answer(Machine::Step()); }
    void Load() { Answer(Machine::Load()); }
    void Save() { Answer(Machine::Save()); }
    void Answer(tobric::Asked asked) { tobric::AnswerAtOnce(std::move(asked), m_answerer); }

private:
    tobric::Answerer& m_answerer;
};

}  // namespace tobric_test
