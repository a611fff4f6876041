// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "errors.h"

namespace tobric {

// The execution timer whose ticks obey one instruction each. It keeps these rules for every
// platform, which only starts and stops countdowns:
// - enabling an enabled timer changes nothing (the countdown goes on);
// - enabling a disabled timer starts a full interval;
// - changing the interval of an enabled timer restarts its countdown; the same interval changes
//   nothing;
// - when the platform refuses a timer, SetEnabled(true) and SetInterval() throw the timer error,
//   and the timer then counts as enabled but never ticks.
class ExecutionTimer {
public:
    virtual ~ExecutionTimer() = default;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) {
        if (enabled == m_enabled) return;
        m_enabled = enabled;
        if (enabled)
            StartCountdown(m_interval);
        else
            StopCountdown();
    }
    int Interval() const { return m_interval; }
    void SetInterval(int milliseconds) {
        if (milliseconds == m_interval) return;
        m_interval = milliseconds;
        if (m_enabled) StartCountdown(m_interval);
    }

protected:
    // Starts a countdown of `milliseconds` in place of any running one, or throws TimerError
    // where the platform refuses it.
    virtual void StartCountdown(int milliseconds) = 0;
    virtual void StopCountdown() = 0;

private:
    bool m_enabled = false;
    int m_interval = 1000;
};

// A timer without a clock: its owner obeys steps for as long as it is enabled (the headless
// runner, as fast as it can).
class ManualTimer final : public ExecutionTimer {
private:
    void StartCountdown(int) override {}
    void StopCountdown() override {}
};

}  // namespace tobric
