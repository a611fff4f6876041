#pragma once

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

// A timer that only remembers its state; the caller decides when it "ticks". The headless runner
// ticks it as fast as it can while it is enabled.
class ManualTimer final : public ExecutionTimer {
public:
    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    int Interval() const override { return m_interval; }
    void SetInterval(int milliseconds) override { m_interval = milliseconds; }

private:
    bool m_enabled = false;
    int m_interval = 1000;
};

}  // namespace tobric
