// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoded_line.h"

#include <optional>

#include "decoder.h"
#include "parse_integer.h"

namespace tobric {

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
