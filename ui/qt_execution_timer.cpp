// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_execution_timer.h"

#include "machine/errors.h"

namespace tobric {

QtExecutionTimer::QtExecutionTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &QtExecutionTimer::OnTimeout);
}

void QtExecutionTimer::OnTimeout() {
    if (!m_enabled || m_inTick) {
        // Disabled during a tick that is still busy (a prompt or an error box is open): this
        // schedule is over, and enabling again will start a full interval.
        m_timer.stop();
        return;
    }
    m_inTick = true;
    emit Tick();
    m_inTick = false;
    if (!m_enabled) m_timer.stop();
}

void QtExecutionTimer::Start() {
    m_refused = false;
    m_timer.start();
    if (!m_timer.isActive()) {
        m_refused = true;
        throw TimerError();
    }
}

void QtExecutionTimer::SetEnabled(bool enabled) {
    if (!enabled) {
        m_enabled = false;
        m_refused = false;
        // Inside our own tick the schedule is kept until the tick ends; the step may re-arm.
        if (!m_inTick) m_timer.stop();
        return;
    }
    if (Enabled()) return;
    m_enabled = true;
    if (!m_timer.isActive()) Start();
}

void QtExecutionTimer::SetInterval(int milliseconds) {
    if (milliseconds == m_timer.interval()) return;
    m_timer.setInterval(milliseconds);
    // An enabled timer starts its countdown again with the new interval.
    if (Enabled()) Start();
}

}  // namespace tobric
