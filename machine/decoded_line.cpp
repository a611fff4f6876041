// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoded_line.h"

#include <algorithm>
#include <optional>

#include "decoder.h"
#include "parse_integer.h"

namespace tobric {

DecodedLine DecodeOnce(std::string_view line) {
    DecodedLine decoded;
    decoded.known = true;
    decoded.empty = line.empty();
    NamedMnemonic(line, decoded.named);

    char text[2];  // OperandText without building a string
    const std::string_view field = line.substr(std::min<std::size_t>(4, line.size()), 2);
    for (std::size_t i = 0; i < field.size(); ++i) text[i] = UpperAscii(field[i]);
    const std::optional<std::int32_t> operand =
        TryParseInteger(std::string_view(text, field.size()));
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
