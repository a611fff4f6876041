// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reporting for the fuzz targets: a broken property prints what was expected and what happened,
// then traps, so libFuzzer keeps the input that broke it.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "machine/errors.h"

namespace tobric_fuzz {

[[noreturn]] inline void Fail(const char* condition, const std::string& detail) {
    std::fprintf(stderr, "\n*** property violated: %s\n    %s\n", condition, detail.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

// The text in double quotes, with control characters, quotes, backslashes and bytes of 0x80 and
// above written as \xNN, so a report shows exactly which bytes were involved.
inline std::string Quoted(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

inline std::string Quoted(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) out += ", ";
        if (i == 12 && lines.size() > 16) {
            out += "... " + std::to_string(lines.size() - 12) + " more";
            break;
        }
        out += Quoted(lines[i]);
    }
    return out + "] (" + std::to_string(lines.size()) + " lines)";
}

// Bytes of the fuzz input as text, as they come.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Splits off the part of `rest` before the first NUL (all of it when there is none) and leaves
// `rest` holding what follows that NUL. Tells whether there was anything to take.
inline bool TakeSection(std::string_view& rest, std::string_view& section) {
    if (rest.data() == nullptr) return false;
    const std::size_t nul = rest.find('\0');
    section = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    return true;
}

}  // namespace tobric_fuzz

// Checks a property; on failure prints the condition and the streamed detail, then traps.
#define FUZZ_CHECK(condition, detail)                            \
    do {                                                         \
        if (!(condition)) {                                      \
            std::ostringstream fuzz_detail_;                     \
            fuzz_detail_ << detail;                              \
            ::tobric_fuzz::Fail(#condition, fuzz_detail_.str()); \
        }                                                        \
    } while (false)

namespace tobric_fuzz {

// A failure, or success, against the one worked out; the empty-line error's text is not compared.
// `context()` gives the report's opening words.
template <class Context>
void CheckFailure(const Context& context, const std::optional<tobric::ErrorKind>& failure,
                  const std::string& message, const std::optional<tobric::ErrorKind>& expected,
                  const std::string& expectedMessage) {
    FUZZ_CHECK(
        failure == expected,
        context() << (failure ? "failed with " + Quoted(message) : std::string("succeeded"))
                  << ", expected "
                  << (expected ? "failure " + Quoted(expectedMessage) : std::string("success")));
    if (failure && *failure != tobric::ErrorKind::EmptyLine)
        FUZZ_CHECK(message == expectedMessage, context()
                                                   << "failed with " << Quoted(message)
                                                   << ", expected " << Quoted(expectedMessage));
}

}  // namespace tobric_fuzz
