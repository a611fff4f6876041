// SPDX-License-Identifier: GPL-3.0-or-later
#include "grade_programs.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace tobric {

std::vector<ProgramGrade> GradePrograms(const std::vector<std::string>& programs,
                                        const std::vector<TestCase>& cases, std::int64_t maxSteps) {
    std::vector<ProgramGrade> grades(programs.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < programs.size(); i = next++)
            grades[i] = GradeProgram(programs[i], cases, maxSteps);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(cores, programs.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 1; i < workers; ++i) threads.emplace_back(work);
    work();
    return grades;  // the threads are joined before the results are read
}

}  // namespace tobric
