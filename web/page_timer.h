// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <utility>

#include "machine/execution_timer.h"

namespace tobric {

// The execution timer of the page: the page's scheduler keeps the clock, and is told when a
// countdown starts or stops. The browser never refuses a timer.
class PageTimer final : public ExecutionTimer {
public:
    explicit PageTimer(emscripten::val page) : m_page(std::move(page)) {}

private:
    void StartCountdown(int milliseconds) override {
        m_page.call<void>("startCountdown", milliseconds);
    }
    void StopCountdown() override { m_page.call<void>("stopCountdown"); }

    emscripten::val m_page;
};

}  // namespace tobric
