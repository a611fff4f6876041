// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "errors.h"

namespace tobric {

// The execution timer whose ticks obey one instruction each. Implementations keep these rules:
// - enabling an enabled timer changes nothing (the countdown goes on);
// - enabling a disabled timer starts a full interval;
// - changing the interval of an enabled timer restarts its countdown; the same interval changes
//   nothing;
// - when the platform refuses a timer, SetEnabled(true) and SetInterval() throw the timer error,
//   and the timer then counts as enabled but never ticks.
class ExecutionTimer {
public:
    virtual ~ExecutionTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual int Interval() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
};

// A timer without a clock that keeps the rules above; its owner decides when it "ticks". The
// headless runner ticks it as fast as it can while it is enabled; tests also count the countdowns
// it started and make it refuse as the platform can.
class ManualTimer final : public ExecutionTimer {
public:
    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override {
        if (enabled == m_enabled) return;
        m_enabled = enabled;
        m_armed = false;
        if (enabled) StartCountdown();
    }
    int Interval() const override { return m_interval; }
    void SetInterval(int milliseconds) override {
        if (milliseconds == m_interval) return;
        m_interval = milliseconds;
        if (m_enabled) StartCountdown();
    }

    // Whether ticks come: enabled and holding a countdown the platform granted.
    bool Ticking() const { return m_enabled && m_armed; }
    // How many countdowns were started (enabling, or a new interval while enabled).
    int Countdowns() const { return m_countdowns; }
    // While set, every countdown is refused with the timer error.
    void RefuseCountdowns(bool refuse) { m_refuse = refuse; }

private:
    void StartCountdown() {
        m_armed = false;
        if (m_refuse) throw TimerError();
        m_armed = true;
        ++m_countdowns;
    }

    bool m_enabled = false;
    bool m_armed = false;
    bool m_refuse = false;
    int m_interval = 1000;
    int m_countdowns = 0;
};

}  // namespace tobric
