#pragma once
// Program text files: one mailbox line per text line, CR LF after every line, bytes kept exactly.

#include <string>
#include <string_view>
#include <vector>

namespace tobric {

// Splits file data into lines. A NUL ends the data; CR LF, a lone CR and a lone LF each end one
// line; a break at the very end adds no empty line. Nothing is trimmed or converted.
std::vector<std::string> SplitProgramText(std::string_view data);

// Every line followed by CR LF, the last one included.
std::string JoinProgramText(const std::vector<std::string>& lines);

// Reads and splits a whole program file. Throws the file-open error with the full path and the
// system's reason when the file cannot be opened or read.
std::vector<std::string> ReadProgramFile(const std::string& path);

// The whole file as it is on disk; the same errors as ReadProgramFile.
std::string ReadFileBytes(const std::string& path);

// Writes the lines as a program file. The text goes to a new file beside the target, which takes
// the target's place only once it is complete and flushed: a failed write (a full disk) reports
// the write error and leaves the old file as it was. Symbolic links are followed to the real file,
// whose permissions are kept. Throws the file-create or write error.
void WriteProgramFile(const std::string& path, const std::vector<std::string>& lines);

// The chosen name made absolute against the current folder, as error messages show it.
std::string FullPath(const std::string& path);

// The system's text for an error number, with trailing blanks, control characters and periods
// removed, at most 255 bytes.
std::string SystemErrorText(int errorNumber);

}  // namespace tobric
