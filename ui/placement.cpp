// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace tobric {
namespace {

constexpr int kPollIntervalMs = 5;
// How long the window manager may take to frame a window before it is placed without its frame.
constexpr qint64 kFrameWaitMs = 500;
// The longest the placement goes on: waiting for the other window, and for the window manager to
// put the window where it was asked to (or to frame it late, which calls for a second placement).
// Only a busy machine comes near it.
constexpr qint64 kLongestWaitMs = 5000;
// Set on a window from its creation until it stands where its first placement put it.
constexpr const char* kAwaitingPlacement = "tobricAwaitingPlacement";

// The top-left corner that centres `size` in `area`, halves rounded toward zero, and never above
// or to the left of `floor`.
QPoint CentredPosition(const QRect& area, const QSize& size, const QPoint& floor) {
    return {std::max(floor.x(), area.left() + (area.width() - size.width()) / 2),
            std::max(floor.y(), area.top() + (area.height() - size.height()) / 2)};
}

QMargins Margins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

// Whether the frame is final: a frameless window has none, offscreen windows have theirs at once,
// on X11 it comes when the window manager has framed the window. While the manager is still
// building the frame the margins can be nonsense (negative) or change from one look to the next.
bool FrameFinal(const QWidget& window, const QMargins& seenBefore) {
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint)) return true;
    const QMargins margins = Margins(window);
    const bool fits =
        margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0;
    return !margins.isNull() && fits && margins == seenBefore;
}

class FirstShowCentring final : public QObject {
public:
    FirstShowCentring(QWidget& window, std::function<QRect()> area, const QWidget* after)
        : QObject(&window), m_window(window), m_area(std::move(area)), m_after(after) {
        window.setProperty(kAwaitingPlacement, true);
        window.installEventFilter(this);
        m_poll.setSingleShot(true);
        m_poll.setInterval(kPollIntervalMs);
        connect(&m_poll, &QTimer::timeout, this, &FirstShowCentring::Poll);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Show) {
            m_window.removeEventFilter(this);
            m_waiting.start();
            m_target = Place();  // with what is known already, so that it never opens far off
            Poll();
        }
        return false;
    }

private:
    void Poll() {
        const qint64 waited = m_waiting.elapsed();
        const bool framed = FrameFinal(m_window, m_marginsSeen);
        m_marginsSeen = Margins(m_window);
        const bool afterPlaced = !m_after || !m_after->property(kAwaitingPlacement).toBool();
        if (afterPlaced || waited >= kLongestWaitMs) {
            // Once with the frame; before that once without it, when it is long in coming.
            bool& placed = framed ? m_placedWithFrame : m_placedWithoutFrame;
            if (!placed && (framed || waited >= kFrameWaitMs)) {
                m_target = Place();
                placed = true;
            }
        }
        const bool standsThere = m_placedWithFrame && OuterFrame(m_window).topLeft() == m_target;
        if (!standsThere && waited < kLongestWaitMs) {
            m_poll.start();
            return;
        }
        m_window.setProperty(kAwaitingPlacement, QVariant());
        deleteLater();
    }

    QPoint Place() {
        const QScreen* screen = m_window.screen();
        const QPoint floor = screen != nullptr ? screen->geometry().topLeft() : QPoint();
        const QPoint target = CentredPosition(m_area(), OuterFrame(m_window).size(), floor);
        // Placed by its client area inside the frame just measured: move() would go by the frame
        // the widget measured last, which may be out of date.
        const QMargins margins = Margins(m_window);
        m_window.setGeometry(
            QRect(target + QPoint(margins.left(), margins.top()), m_window.size()));
        return target;
    }

    QWidget& m_window;
    std::function<QRect()> m_area;
    QPointer<const QWidget> m_after;
    QTimer m_poll;
    QElapsedTimer m_waiting;
    QPoint m_target;
    QMargins m_marginsSeen;
    bool m_placedWithFrame = false;
    bool m_placedWithoutFrame = false;
};

}  // namespace

QRect OuterFrame(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameGeometry() : window.frameGeometry();
}

void CentreOnFirstShow(QWidget& window, std::function<QRect()> area, const QWidget* after) {
    new FirstShowCentring(window, std::move(area), after);  // owned by the window
}

}  // namespace tobric
