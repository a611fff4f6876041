// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grading.h"

namespace tobric {

// All programs, spread over the machine's cores; the results keep the programs' order.
std::vector<ProgramGrade> GradePrograms(const std::vector<std::string>& programs,
                                        const std::vector<TestCase>& cases, std::int64_t maxSteps);

}  // namespace tobric
