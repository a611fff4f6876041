#include "display_text.h"

namespace tobric {

std::string MailboxRowText(std::uint16_t row, std::string_view line) {
    std::string text = row < 10 ? "0" : "";
    text += std::to_string(row);
    text += ' ';
    text += line;
    return text;
}

std::string CalculatorText(std::int32_t value) { return std::to_string(value) + ' '; }

}  // namespace tobric
