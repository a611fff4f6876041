// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// GoogleTest support for driving the machine: a fixture wired to the recording view and the test
// timer, timer ticks as the event loop would deliver them, and the error a call throws.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "answering_machine.h"
#include "machine/errors.h"
#include "machine/machine.h"
#include "recording_view.h"
#include "store_exactly.h"
#include "test_timer.h"

namespace tobric_test {

using Lines = std::vector<std::string>;

// Delivers timer ticks as the event loop would, for as long as the timer ticks, at most `limit`.
// Returns how many were delivered; a failing step's error passes out.
inline int DeliverTicks(AnsweringMachine& machine, const TestTimer& timer, int limit = 10000) {
    int ticks = 0;
    while (ticks < limit && timer.Ticking()) {
        machine.TimerTimer();
        ++ticks;
    }
    return ticks;
}

// The machine error thrown by f; a test failure when f throws none.
template <class F>
tobric::MachineError ErrorFrom(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const tobric::MachineError& error) {
        return error;
    }
    ADD_FAILURE() << "expected a machine error, none was thrown";
    return {tobric::ErrorKind::OutOfMemory, "<no error thrown>"};
}

class MachineTest : public ::testing::Test {
protected:
    // A machine started afresh with these registers (a new machine's are all zero) and the
    // lines put in as Load puts them.
    void Start(Lines lines, const tobric::Registers& registers) {
        m_machine = std::make_unique<AnsweringMachine>(view, timer, registers);
        LoadProgram(std::move(lines));
    }
    // The lines put in and padded as Load does; the view's record starts afresh.
    void LoadProgram(Lines lines) {
        machine().ReplaceProgram(std::move(lines));
        view.calls.clear();
    }
    // Exactly these lines in the store, unpadded, as the mailbox commands can leave it; the
    // view's record starts afresh.
    void StoreExactly(Lines lines) {
        tobric_test::StoreExactly(machine(), std::move(lines));
        view.calls.clear();
    }
    AnsweringMachine& machine() { return *m_machine; }
    const tobric::Registers& regs() const { return m_machine->registers(); }
    const tobric::Store& store() const { return m_machine->store(); }

    RecordingView view;
    TestTimer timer;

private:
    std::unique_ptr<AnsweringMachine> m_machine = std::make_unique<AnsweringMachine>(view, timer);
};

}  // namespace tobric_test
