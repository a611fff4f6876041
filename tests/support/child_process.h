// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace tobric_test {

// Runs `check` in a child process: as an ordinary user when we are the superuser, so that file
// permissions bind (the continuous integration runs as root), with whatever limits `check` sets
// for itself, and killed after `seconds`. Gives "" when `check` returned true, else what went
// wrong.
std::string RunAsOrdinaryUser(const std::function<bool()>& check, unsigned seconds = 10);

}  // namespace tobric_test
