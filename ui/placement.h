#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

namespace tobric {

// The top-left corner that centres `size` in `area`, halves rounded toward zero, and never above
// or to the left of `floor`.
inline QPoint CentredPosition(const QRect& area, const QSize& size, const QPoint& floor) {
    return {std::max(floor.x(), area.left() + (area.width() - size.width()) / 2),
            std::max(floor.y(), area.top() + (area.height() - size.height()) / 2)};
}

}  // namespace tobric
