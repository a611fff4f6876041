#include "qt_execution_timer.h"

#include "machine/errors.h"

namespace tobric {

QtExecutionTimer::QtExecutionTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &QtExecutionTimer::tick);
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
        m_refused = false;
        m_timer.stop();
    } else if (!Enabled()) {
        Start();
    }
}

void QtExecutionTimer::SetInterval(int milliseconds) {
    if (milliseconds == m_timer.interval()) return;
    m_timer.setInterval(milliseconds);
    // A running timer starts its countdown again with the new interval.
    if (Enabled()) Start();
}

}  // namespace tobric
