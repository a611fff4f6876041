// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program text files: one mailbox line per text line, CR LF after every line, bytes kept exactly.

#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"

namespace tobric {

// What Windows Notepad writes at the start of a UTF-8 file. A program file keeps it, as bytes of
// mailbox 00, like any other bytes.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Splits file data into lines. A NUL ends the data; CR LF, a lone CR and a lone LF each end one
// line; a break at the very end adds no empty line. Nothing is trimmed or converted.
std::vector<std::string> SplitProgramText(std::string_view data);

// Every line followed by CR LF, the last one included.
std::string JoinProgramText(const std::vector<std::string>& lines);

// Reads and splits a whole program file; the errors of ReadFileBytes.
std::vector<std::string> ReadProgramFile(const std::string& path);

// Writes the lines as a program file; the errors and the safe replace of WriteFileBytes.
void WriteProgramFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace tobric
