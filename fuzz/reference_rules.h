// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's text rules written out a second time, as plainly as possible and without sharing
// code with machine/: number conversion, upper-casing, line decoding with carried state, and the
// splitting of program files into lines. The fuzz targets compare the real code with these.
//
// Mnemonics are handled here as their texts ("LDA", "*", "" for none); only the conversion to
// and from tobric::Mnemonic touches the machine's types.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "machine/errors.h"
#include "machine/mnemonic.h"

namespace tobric_fuzz {

// ---------------------------------------------------------------------------------------------
// Number conversion
// ---------------------------------------------------------------------------------------------

inline bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

inline int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of a text, or nothing when the text is no number. Counts significant digits after
// the leading zeros instead of accumulating with overflow tests.
inline std::optional<std::int32_t> ReferenceParse(std::string_view given) {
    std::string_view t = given;
    if (const std::size_t nul = t.find('\0'); nul != std::string_view::npos) t = t.substr(0, nul);

    std::size_t at = 0;
    while (at < t.size() && t[at] == ' ') ++at;  // blanks only; a tab is a character like any other
    bool negative = false;
    if (at < t.size() && (t[at] == '+' || t[at] == '-')) {
        negative = t[at] == '-';
        ++at;
    }
    std::string_view digits = t.substr(at);

    bool hexadecimal = false;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        hexadecimal = true;
        digits.remove_prefix(2);
    } else if (digits.starts_with("$") || digits.starts_with("x") || digits.starts_with("X")) {
        hexadecimal = true;
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    for (const char c : digits)
        if (hexadecimal ? HexValue(c) < 0 : !IsDecimalDigit(c)) return std::nullopt;

    const std::size_t firstSignificant = digits.find_first_not_of('0');
    const std::string_view significant = firstSignificant == std::string_view::npos
                                             ? std::string_view()
                                             : digits.substr(firstSignificant);

    if (hexadecimal) {
        if (significant.size() > 8) return std::nullopt;
        std::uint32_t bits = 0;
        for (const char c : significant) bits = bits * 16 + static_cast<std::uint32_t>(HexValue(c));
        // The 32 bits read as two's complement; a minus negates them, wrapping.
        if (negative) bits = ~bits + 1;
        return static_cast<std::int32_t>(bits);
    }

    if (significant.size() > 10) return std::nullopt;
    std::int64_t magnitude = 0;  // at most 9999999999: fits
    for (const char c : significant) magnitude = magnitude * 10 + (c - '0');
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    if (magnitude > limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

inline std::string ConversionMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

// ---------------------------------------------------------------------------------------------
// Mnemonics and line decoding
// ---------------------------------------------------------------------------------------------

inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

// The mnemonic an upper-cased line names by its first characters, or "" when it names none.
inline std::string NamedMnemonic(std::string_view upper) {
    const auto at = [&](std::size_t i) { return i < upper.size() ? upper[i] : '\0'; };
    switch (at(0)) {
        case '*': return "*";
        case 'I': return "IN";
        case 'O': return "OUT";
        case 'L': return "LDA";
        case 'H': return "HLT";
        case 'D': return "DAT";
        case 'J': return "JMP";
        case 'A': return "ADD";
        case 'S':
            if (at(1) == 'T') return "STA";
            if (at(1) == 'U') return "SUB";
            if (at(1) == 'K') {
                if (at(2) == 'P') return "SKP";
                if (at(2) == 'N') return "SKN";
                if (at(2) == 'Z') return "SKZ";
            }
            return "";
        default: return "";
    }
}

// Mnemonics without an operand; every other text, the empty one included, reads one.
inline bool ReferenceTakesOperand(std::string_view mnemonic) {
    return !(mnemonic == "*" || mnemonic == "IN" || mnemonic == "OUT" || mnemonic == "SKP" ||
             mnemonic == "SKN" || mnemonic == "SKZ" || mnemonic == "HLT");
}

// The mnemonics whose operand is a mailbox address.
inline bool ReferenceTakesAddress(std::string_view mnemonic) {
    return mnemonic == "STA" || mnemonic == "LDA" || mnemonic == "JMP" || mnemonic == "ADD" ||
           mnemonic == "SUB";
}

inline constexpr tobric::Mnemonic kAllMnemonics[] = {
    tobric::Mnemonic::None, tobric::Mnemonic::Comment, tobric::Mnemonic::In,  tobric::Mnemonic::Out,
    tobric::Mnemonic::Lda,  tobric::Mnemonic::Sta,     tobric::Mnemonic::Add, tobric::Mnemonic::Sub,
    tobric::Mnemonic::Jmp,  tobric::Mnemonic::Skp,     tobric::Mnemonic::Skn, tobric::Mnemonic::Skz,
    tobric::Mnemonic::Hlt,  tobric::Mnemonic::Dat,
};

inline const char* const kMnemonicTexts[] = {"",    "*",   "IN",  "OUT", "LDA", "STA", "ADD",
                                             "SUB", "JMP", "SKP", "SKN", "SKZ", "HLT", "DAT"};

// The machine's value for a mnemonic text of the table above.
inline tobric::Mnemonic MnemonicFromText(std::string_view text) {
    for (std::size_t i = 0; i < std::size(kAllMnemonics); ++i)
        if (text == kMnemonicTexts[i]) return kAllMnemonics[i];
    return tobric::Mnemonic::None;
}

inline std::string TextOf(tobric::Mnemonic m) {
    for (std::size_t i = 0; i < std::size(kAllMnemonics); ++i)
        if (m == kAllMnemonics[i]) return kMnemonicTexts[i];
    return "<unknown mnemonic " + std::to_string(static_cast<int>(m)) + ">";
}

struct DecodeOutcome {
    enum Kind { Decoded, EmptyLine, Conversion } kind = Decoded;
    std::string operandText;  // the text that failed to convert

    // The machine's error kind and message for the outcome; none for a decoded line.
    std::optional<tobric::ErrorKind> Error() const {
        if (kind == Decoded) return std::nullopt;
        return kind == EmptyLine ? tobric::ErrorKind::EmptyLine : tobric::ErrorKind::Conversion;
    }
    std::string Message() const { return kind == Conversion ? ConversionMessage(operandText) : ""; }
};

// Decodes one line into the carried mnemonic and operand, changing each only as the line allows:
// the mnemonic when the line names one, the operand when the resulting mnemonic reads one and
// positions 5 and 6 (counting from 1) of the upper-cased line convert.
inline DecodeOutcome ReferenceDecode(std::string_view line, std::string& mnemonic,
                                     std::int32_t& operand) {
    if (line.empty()) return {DecodeOutcome::EmptyLine, {}};
    const std::string upper = Upper(line);
    if (std::string named = NamedMnemonic(upper); !named.empty()) mnemonic = named;
    if (!ReferenceTakesOperand(mnemonic)) return {};
    const std::string text = upper.size() > 4 ? upper.substr(4, 2) : std::string();
    const std::optional<std::int32_t> value = ReferenceParse(text);
    if (!value) return {DecodeOutcome::Conversion, text};
    operand = *value;
    return {};
}

// ---------------------------------------------------------------------------------------------
// Program files
// ---------------------------------------------------------------------------------------------

// File data cut at its first NUL, then cut at every break ("\r\n", or a lone "\r" or "\n", the
// longest first). A break at the very end, and empty data, leave one empty piece at the end that
// is no line.
inline std::vector<std::string> ReferenceSplit(std::string_view data) {
    if (const std::size_t nul = data.find('\0'); nul != std::string_view::npos)
        data = data.substr(0, nul);
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' || data[i] == '\n') {
            if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += data[i];
        }
    }
    if (pieces.back().empty()) pieces.pop_back();
    return pieces;
}

// A 32-bit sum that wraps, written without the machine's helpers.
inline std::int32_t Wrapped(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// A mailbox address from an operand: its low 16 bits, unsigned.
inline std::uint16_t AddressFrom(std::int32_t operand) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(operand) & 0xFFFFu);
}

}  // namespace tobric_fuzz
