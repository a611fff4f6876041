// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobric {

// What a file named on the command line holds, or standard input for "-": the bytes up to the
// first NUL, refused past kMaxFileBytes, and refused when not an ordinary file (ReadFileBytes).
std::string ReadNamedInput(const std::string& name);

inline constexpr const char* kStandardInputName = "-";

}  // namespace tobric
