// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <functional>

class QWidget;

namespace tobric {

// The window's outer frame, as the platform knows it now.
QRect OuterFrame(const QWidget& window);

// Centres `window`'s outer frame in `area()` the first time it is shown, never above or to the
// left of its screen's top left; later showings keep the place it was left at. On X11 the frame is
// known only once the window manager has framed the window: the window is placed at once with
// what is known and again when framed, polling without blocking. A frame slower than half a
// second is not waited for: the window is placed without it, and again if it comes within five
// seconds. With `after`, the final placement waits (five seconds at most) until that window stands
// in the place its own first placement gave it.
void CentreOnFirstShow(QWidget& window, std::function<QRect()> area,
                       const QWidget* after = nullptr);

}  // namespace tobric
