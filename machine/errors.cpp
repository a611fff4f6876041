// SPDX-License-Identifier: GPL-3.0-or-later
#include "errors.h"

#include <new>

namespace tobric {

MachineError ConversionError(std::string_view text) {
    return {ErrorKind::Conversion, "'" + std::string(text) + "' is not a valid integer value"};
}

MachineError ListIndexError(std::int64_t index) {
    return {ErrorKind::ListIndex, "List index out of bounds (" + std::to_string(index) + ")"};
}

MachineError InsertError() { return {ErrorKind::Insert, "Unable to insert a line"}; }

namespace {

// Load and Save word a file they cannot use alike, but for the verb.
MachineError FileError(ErrorKind kind, const char* verb, std::string_view fullPath,
                       std::string_view reason) {
    return {kind, std::string("Cannot ") + verb + " file \"" + std::string(fullPath) + "\". " +
                      std::string(reason)};
}

}  // namespace

MachineError FileCreateError(std::string_view fullPath, std::string_view reason) {
    return FileError(ErrorKind::FileCreate, "create", fullPath, reason);
}

MachineError FileOpenError(std::string_view fullPath, std::string_view reason) {
    return FileError(ErrorKind::FileOpen, "open", fullPath, reason);
}

MachineError WriteError() { return {ErrorKind::Write, "Stream write error"}; }

MachineError TimerError() { return {ErrorKind::Timer, "Not enough timers available"}; }

MachineError OutOfMemoryError() { return {ErrorKind::OutOfMemory, "Out of memory"}; }

MachineError EmptyLineError() {
    return {ErrorKind::EmptyLine, "The mailbox line is empty: there is no instruction to obey"};
}

std::string ApplyPeriodRule(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
    return message;
}

std::string ReportText(std::string message) {
    message = ApplyPeriodRule(std::move(message));
    if (auto nul = message.find('\0'); nul != std::string::npos) message.resize(nul);
    return message;
}

std::string ReportText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const MachineError& e) {
        return ReportText(e.message());
    } catch (const std::bad_alloc&) {
        return ReportText(OutOfMemoryError().what());
    } catch (const std::exception& e) {
        return ReportText(std::string(e.what()));
    } catch (...) {
        return ReportText(std::string("Unknown failure"));
    }
}

}  // namespace tobric
