// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_execution_timer.h"

#include "machine/errors.h"

namespace tobric {

QtExecutionTimer::QtExecutionTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QtExecutionTimer::OnTimeout);
}

void QtExecutionTimer::OnTimeout() {
    if (!Enabled() || m_inTick) {
        // Disabled during a tick that is still busy (a prompt or an error box is open): this
        // schedule is over, and enabling again will start a full interval.
        m_timer.stop();
        return;
    }
    m_inTick = true;
    emit Tick();
    m_inTick = false;
    if (!Enabled()) m_timer.stop();
}

void QtExecutionTimer::StartCountdown(int milliseconds) {
    // Only our own tick leaves the QTimer running while disabled: re-armed within it, the
    // schedule goes on.
    if (m_timer.isActive() && m_timer.interval() == milliseconds) return;
    m_timer.start(milliseconds);
    if (!m_timer.isActive()) throw TimerError();
}

void QtExecutionTimer::StopCountdown() {
    // Inside our own tick the schedule is kept until the tick ends; the step may re-arm.
    if (!m_inTick) m_timer.stop();
}

}  // namespace tobric
