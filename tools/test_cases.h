// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test-case files for grading: one case a line, the IN answers, "->", the expected OUT numbers,
// both comma-separated ("3,4 -> 4"; "-> 1,1,2" for no input). Blank lines and lines starting with
// "#" are ignored; a "#" after a case names it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tobric {

struct TestCase {
    int lineNumber = 0;
    std::string name;  // empty when the line gives none
    std::vector<std::string> answers;
    std::vector<std::int32_t> expected;
};

class CasesFileError : public std::runtime_error {
public:
    CasesFileError(int lineNumber, const std::string& message)
        : std::runtime_error("line " + std::to_string(lineNumber) + ": " + message),
          m_lineNumber(lineNumber) {}
    int lineNumber() const { return m_lineNumber; }

private:
    int m_lineNumber;
};

// Throws CasesFileError for the first malformed line; nothing is run then.
std::vector<TestCase> ParseTestCases(std::string_view text);

// The whole file; throws the file-open error when it cannot be read.
std::vector<TestCase> ReadTestCases(const std::string& path);

}  // namespace tobric
