// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every place where Qt hands control to the program ends in Guarded(): a failure inside reaches
// the user exactly once, through ReportError, and never escapes into Qt's event loop.

#include <QObject>
#include <exception>
#include <utility>

#include "tobric/version.h"  // kApplicationTitle, the caption of the main window and the error box

namespace tobric {

// Shows the error box: the message with the period rule, the application title, the stop icon.
// Application-modal; timer ticks go on being served while it is open.
void ReportError(const std::exception_ptr& error);

// A failure before the event loop runs: one box captioned "Application Error" with the stop icon
// and no owner, naming the kind of failure and giving its message. The program then ends with 1.
void ReportStartupFailure(const std::exception_ptr& error);

template <typename Handler>
void Guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportError(std::current_exception());
    }
}

// Connects a signal to a handler of `receiver` that takes no argument, run under Guarded().
template <typename Sender, typename Signal, typename Receiver>
void ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                    void (Receiver::*handler)()) {
    QObject::connect(sender, signal, receiver,
                     [receiver, handler] { Guarded([&] { (receiver->*handler)(); }); });
}

}  // namespace tobric
