// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoder.h"

#include <algorithm>
#include <optional>

#include "decoded_line.h"
#include "errors.h"
#include "parse_integer.h"

namespace tobric {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper-cased character at a 0-based position, or NUL past the end; a NUL names nothing.
char UpperAt(std::string_view line, std::size_t position) {
    return position < line.size() ? UpperAscii(line[position]) : '\0';
}

}  // namespace

bool NamedMnemonic(std::string_view line, Mnemonic& mnemonic) {
    switch (UpperAt(line, 0)) {
        case '*': mnemonic = Mnemonic::Comment; return true;
        case 'I': mnemonic = Mnemonic::In; return true;
        case 'O': mnemonic = Mnemonic::Out; return true;
        case 'L': mnemonic = Mnemonic::Lda; return true;
        case 'H': mnemonic = Mnemonic::Hlt; return true;
        case 'D': mnemonic = Mnemonic::Dat; return true;
        case 'J': mnemonic = Mnemonic::Jmp; return true;
        case 'A': mnemonic = Mnemonic::Add; return true;
        case 'S': break;
        default: return false;
    }
    switch (UpperAt(line, 1)) {
        case 'T': mnemonic = Mnemonic::Sta; return true;
        case 'U': mnemonic = Mnemonic::Sub; return true;
        case 'K': break;
        default: return false;
    }
    switch (UpperAt(line, 2)) {
        case 'P': mnemonic = Mnemonic::Skp; return true;
        case 'N': mnemonic = Mnemonic::Skn; return true;
        case 'Z': mnemonic = Mnemonic::Skz; return true;
        default: return false;
    }
}

std::string UpperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = UpperAscii(c);
    return upper;
}

void DecodeLine(std::string_view line, Mnemonic& mnemonic, std::int32_t& operand) {
    if (line.empty()) throw EmptyLineError();
    NamedMnemonic(line, mnemonic);
    if (TakesOperand(mnemonic)) operand = ParseInteger(OperandText(line));
}

std::string OperandText(std::string_view line) {
    return UpperCased(line.substr(std::min<std::size_t>(4, line.size()), 2));
}

DecodedLine DecodeOnce(std::string_view line) {
    DecodedLine decoded;
    decoded.known = true;
    decoded.empty = line.empty();
    NamedMnemonic(line, decoded.named);
    const std::optional<std::int32_t> operand = TryParseInteger(OperandText(line));
    decoded.operandConverts = operand.has_value();
    decoded.operand = operand.value_or(0);

    const std::optional<std::int32_t> value =
        line.size() <= 4 ? std::optional<std::int32_t>(0) : TryParseInteger(line.substr(4));
    decoded.valueConverts = value.has_value();
    decoded.value = value.value_or(0);
    decoded.complete = decoded.named != Mnemonic::None &&
                       (decoded.operandConverts || !TakesOperand(decoded.named));
    decoded.setsOperand = decoded.complete && TakesOperand(decoded.named);
    return decoded;
}

}  // namespace tobric
