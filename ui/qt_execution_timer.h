#pragma once

#include <QTimer>

#include "machine/execution_timer.h"

namespace tobric {

// The execution timer on a precise QTimer, so that an interval of 1 ms really gives close to a
// thousand ticks a second. Ticks arrive on the user-interface thread, in nested event loops too.
class QtExecutionTimer final : public QObject, public ExecutionTimer {
    Q_OBJECT
public:
    explicit QtExecutionTimer(QObject* parent = nullptr);

    bool Enabled() const override { return m_timer.isActive() || m_refused; }
    void SetEnabled(bool enabled) override;
    int Interval() const override { return m_timer.interval(); }
    void SetInterval(int milliseconds) override;

signals:
    void tick();

private:
    void Start();

    QTimer m_timer;
    // The platform refused a timer: the timer counts as enabled but never ticks.
    bool m_refused = false;
};

}  // namespace tobric
