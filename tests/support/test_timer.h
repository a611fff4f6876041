// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/errors.h"
#include "machine/execution_timer.h"

namespace tobric_test {

// A timer without a clock that keeps the execution timer's rules (they are the base's) and lets
// a test see them at work: whether ticks come, how many countdowns were started, and refusal as
// the platform can refuse.
class TestTimer final : public tobric::ExecutionTimer {
public:
    // Whether ticks come: enabled and holding a countdown the platform granted.
    bool Ticking() const { return Enabled() && m_armed; }
    // How many countdowns were started (enabling, or a new interval while enabled).
    int Countdowns() const { return m_countdowns; }
    // While set, every countdown is refused with the timer error.
    void RefuseCountdowns(bool refuse) { m_refuse = refuse; }

private:
    void StartCountdown(int) override {
        m_armed = false;
        if (m_refuse) throw tobric::TimerError();
        m_armed = true;
        ++m_countdowns;
    }
    void StopCountdown() override { m_armed = false; }

    bool m_armed = false;
    bool m_refuse = false;
    int m_countdowns = 0;
};

}  // namespace tobric_test
