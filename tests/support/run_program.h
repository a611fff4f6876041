// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tobric_test {

// Runs the program `words[0]` with the other words as its arguments: standard input from the
// file `inPath` (the null device when empty), standard output and standard error into the files
// `outPath` and `errPath`. Gives its exit status. Throws std::runtime_error when it cannot start,
// and when it has not ended within `seconds`, after killing it: a hang is a failure, not a wait.
int RunProgram(const std::vector<std::string>& words, const std::string& inPath,
               const std::string& outPath, const std::string& errPath, unsigned seconds = 60);

}  // namespace tobric_test
