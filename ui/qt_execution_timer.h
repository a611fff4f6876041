// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

#include "machine/execution_timer.h"

namespace tobric {

// The execution timer on a precise repeating QTimer. Ticks arrive on the user-interface thread,
// in nested event loops too.
//
// The step disables the timer first and enables it again last. When both happen within one tick
// and nothing else ran in between, the QTimer is left running on its schedule instead of being
// restarted: restarting costs the wake-up latency of the event loop on top of every interval, and
// at an interval of 1 ms that would hold a run well below a thousand steps a second. Every other
// enabling (Run, Continue, a step after a prompt) starts a full interval.
class QtExecutionTimer final : public QObject, public ExecutionTimer {
    Q_OBJECT
public:
    explicit QtExecutionTimer(QObject* parent = nullptr);

signals:
    void Tick();

private:
    void StartCountdown(int milliseconds) override;
    void StopCountdown() override;
    void OnTimeout();

    QTimer m_timer;
    bool m_inTick = false;
};

}  // namespace tobric
