// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole files on disk, the one place the core meets the platform: a POSIX side and a Win32 side
// (file_system_posix.cpp, file_system_win32.cpp). Names are UTF-8 on every platform; bytes are
// read and written exactly, never converted.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tobric {

// The file's bytes as they are on disk, up to its first NUL, which ends the data of every file
// read here. Throws the file-open error with the full path and the system's reason when the file
// cannot be opened or read, for anything that is not an ordinary file (a folder, a pipe, a
// device), which could never end or never hold a program, and for data past kMaxFileBytes.
std::string ReadFileBytes(const std::string& path);

// Far above any real program (a full store is a few kilobytes), far below what would exhaust
// a school computer's memory once split into lines.
inline constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;
inline constexpr const char* kTooLargeReason = "Larger than 256 MB";

// Gathers what is read of one file: ends at the first NUL and refuses more than kMaxFileBytes.
class FileData {
public:
    // `shownName` is what the error shows; `expectedSize` what the file claims to hold.
    FileData(std::string shownName, std::size_t expectedSize);
    // Takes the next bytes read; false once the data has ended (a NUL came). Throws the
    // file-open error with kTooLargeReason past the limit.
    bool Append(std::string_view bytes);
    std::string Take() { return std::move(m_data); }

private:
    std::string m_name;
    std::string m_data;
};

// Writes the text as the whole file. The text goes to a new file beside the target, which takes
// the target's place only once it is complete and flushed: a failed write (a full disk) reports
// the write error and leaves the old file as it was. Symbolic links are followed to the real file,
// whose permissions are kept. When the folder takes no new file the target is written in place,
// its space reserved first so that a full disk still leaves the old bytes. Throws the file-create
// or write error.
void WriteFileBytes(const std::string& path, std::string_view text);

// The chosen name made absolute against the current folder, as error messages show it.
std::string FullPath(const std::string& path);

// The platform's text for one of its own error codes (errno on POSIX, GetLastError on Windows),
// with trailing blanks, control characters and periods removed, at most 255 bytes.
std::string SystemErrorText(int errorCode);

// Standard input, output and error carry bytes unchanged: Windows would turn "\n" into "\r\n" and
// end its input at a Ctrl-Z, and a report must be the same bytes on every platform.
void UseBinaryStandardStreams();

// The program's arguments after its name, in UTF-8 (Windows hands main() them in the ANSI code
// page, which loses every character it cannot show).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace tobric
