// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Failures of the machine travel as exceptions that carry a kind and the message text the user
// will read. They are caught once, at the edge of each event (window) or of the run (tobric-run),
// and shown through ReportText().

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tobric {

enum class ErrorKind {
    Conversion,   // text that is no number
    ListIndex,    // reading a store line that does not exist
    Insert,       // a store line that cannot be placed
    FileCreate,   // Save could not create its file
    FileOpen,     // Load could not open its file
    Write,        // Save wrote fewer bytes than the whole text
    Timer,        // the platform refused a timer
    OutOfMemory,  // an allocation failed
    EmptyLine,    // a mailbox line with nothing to decode
};

class MachineError : public std::exception {
public:
    MachineError(ErrorKind kind, std::string message)
        : m_kind(kind), m_message(std::move(message)) {}
    ErrorKind kind() const { return m_kind; }
    // The whole message; it may hold a NUL taken over from the text that failed to convert.
    const std::string& message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    ErrorKind m_kind;
    std::string m_message;
};

MachineError ConversionError(std::string_view text);
MachineError ListIndexError(std::int64_t index);
MachineError InsertError();
MachineError FileCreateError(std::string_view fullPath, std::string_view reason);
MachineError FileOpenError(std::string_view fullPath, std::string_view reason);
MachineError WriteError();
MachineError TimerError();
MachineError OutOfMemoryError();
MachineError EmptyLineError();

// A message gets a closing period unless its last character is "." or anything of lower code
// ("!", ")", a quote, a blank). Empty messages stay empty.
std::string ApplyPeriodRule(std::string message);

// The message of whatever was thrown, as the error report shows it: the period rule applied,
// then cut at the first NUL character (the message box ends its text there).
std::string ReportText(const std::exception_ptr& error);
std::string ReportText(std::string message);

}  // namespace tobric
