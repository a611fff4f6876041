// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <utility>

namespace tobric_test {

// Takes the first of the queued answers off the queue; `whenEmpty` once none is left.
template <class T>
T Next(std::deque<T>& queue, T whenEmpty = T()) {
    if (queue.empty()) return whenEmpty;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

}  // namespace tobric_test
