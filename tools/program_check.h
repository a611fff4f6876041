// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Points out what will surely go wrong in a program, or read other than it looks, without running
// it: the slips students make most.

#include <string>
#include <vector>

namespace tobric {

struct Finding {
    int mailbox = -1;  // -1 for the program as a whole
    std::string message;
};

// `lines` as loaded from the file, before padding.
std::vector<Finding> CheckProgram(const std::vector<std::string>& lines);

}  // namespace tobric
