// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_file.h"

namespace tobric {

std::vector<std::string> SplitProgramText(std::string_view data) {
    data = data.substr(0, data.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = data.size();
        lines.emplace_back(data.substr(start, end - start));
        start = end;
        if (start < data.size() && data[start] == '\r') ++start;
        if (start < data.size() && data[start] == '\n') ++start;
    }
    return lines;
}

std::string JoinProgramText(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) (text += line) += "\r\n";
    return text;
}

std::vector<std::string> ReadProgramFile(const std::string& path) {
    return SplitProgramText(ReadFileBytes(path));
}

void WriteProgramFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileBytes(path, JoinProgramText(lines));
}

}  // namespace tobric
